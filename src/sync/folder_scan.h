#pragma once

#include "records/outgoing_record.h"
#include "store/mail_store.h"
#include "sync/sync_context.h"

namespace zandor {

// Folder kinds: which tree a message comes from.
inline constexpr int kInboxTree = 1;
inline constexpr int kSentItemsTree = 2;

// The most messages in range one folder may hold; more and it is skipped.
inline constexpr int kMaxMessagesPerFolder = 400;

// The send phase's work on one folder: records every message in range in the
// selection list, sends what is due part by part and marks it, and deletes
// (to Trash) what the Kelvo no longer holds when asked to.
void ScanFolder(SyncContext& context, const FolderRef& folder, int folderKind);

// The walk of one folder tree in pre-order, bold on the path to the folder
// being scanned.
void WalkFolder(SyncContext& context, const FolderRef& folder, int folderKind);

// Names each folder the store found but cannot use, once, and counts the
// selection incomplete, so that nothing is removed from the Kelvo on its
// account.
void TellFolderProblems(SyncContext& context);

// Counts the messages due in the chosen folders and the bytes their records
// put on the line, into the session's Due fields, for the progress of the
// whole run, and has the store read their texts ahead. Reads the store only;
// a folder that fails counts nothing. The collections it listed, for the scan.
FolderListings CountDueMail(const SyncEnvironment& environment, SyncSession& session);

// How long the line takes for so many bytes, in whole seconds.
int SecondsOnTheLine(qint64 bytes);

// What the record builder needs of a message; a property that cannot be read
// stays empty, and the builder then skips the message. The reason the first
// one could not be read goes to firstFailure when one is given.
OutgoingMessage ReadOutgoingMessage(const MailItem& item,
                                    std::optional<StoreFailure>* firstFailure = nullptr);

}  // namespace zandor
