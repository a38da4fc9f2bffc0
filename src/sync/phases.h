#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "sync/sync_context.h"

namespace zandor {

// The phases of one synchronisation, in the order the driver runs them. Each
// reports its own errors (message boxes, status lines) and returns; none
// throws.

// Receive: polls the Kelvo, saves each message written on it as a new mail
// item and sends its entry id back, and fills DeviceList. Sets
// session.DeviceListComplete only when the Kelvo ended the stage with CmdEnd.
void RunReceivePhase(SyncContext& context);

// Send: shows the planned folders in the tree, walks them (Inbox tree, then
// Sent Items tree), scans and sends, and ends with CmdEnd.
void RunSendPhase(SyncContext& context);

// Removal: when the user asked for it, removes on the Kelvo what is no longer
// selected (nothing when the selection list is incomplete), then writes the
// closing bytes.
void RunRemovalPhase(SyncContext& context);

// The marks of acknowledged parts reach the disk in the background while the
// next part goes out. SettleMarks waits for them (before a record is written,
// so that at most one acknowledged part lacks a durable mark, and before the
// summary); a failure waits in the session for TellUnsavedMark, which shows
// it once no exchange is in flight.
void SettleMarks(SyncContext& context);
// True when it told one.
bool TellUnsavedMark(SyncContext& context);
void NoteUnsavedMark(SyncSession& session, const QString& reason);

// The send exchange of one record part. whileOnLine, when given, runs once
// the record is written, while its bytes are on the line.
enum class SendOutcome { Done, Failed, Broken };
SendOutcome SendPart(SyncContext& context, int folderKind, const QString& entryId,
                     const QByteArray& record, const QString& truncationSuffix,
                     const std::function<void()>& whileOnLine = {});

}  // namespace zandor
