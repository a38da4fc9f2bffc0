// The send exchange: carries one record part to the Kelvo, field by field,
// each acknowledged before the next goes out.
#include <QCoreApplication>

#include "link/field_forms.h"
#include "link/protocol.h"
#include "store/byte_names.h"
#include "sync/phases.h"
#include "sync/replies.h"

namespace zandor {

namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(SendExchange)
};

// The Kelvo's answer to a step; nullopt means: go on.
std::optional<SendOutcome> Judge(SyncContext& context, int step) {
  switch (ExpectAck(context, step)) {
    case AckOutcome::Acked:
      return std::nullopt;
    case AckOutcome::Refused:
      return SendOutcome::Failed;
    case AckOutcome::Broken:
      break;
  }
  return SendOutcome::Broken;
}

}  // namespace

void NoteUnsavedMark(SyncSession& session, const QString& reason) {
  // The Kelvo holds the part; without the mark a later synchronisation sends
  // it again. The user should know why, once: the marks after the first that
  // failed (a full disk) fail alike.
  if (session.UnsavedMarkTold) return;
  session.UnsavedMarkBox =
      Text::tr("The message \"%1\" was sent to the Kelvo, but could not be marked as sent: %2")
          .arg(session.SavingMarkOf, reason);
}

void SettleMarks(SyncContext& context) {
  if (StoreStatus settled = context.store.SettleSaves(); !settled) {
    NoteUnsavedMark(context.session, settled.reason());
  }
  context.session.SavingMarkOf.clear();
}

bool TellUnsavedMark(SyncContext& context) {
  SyncSession& session = context.session;
  if (session.UnsavedMarkBox.isEmpty()) return false;
  context.host.ShowMessage(session.UnsavedMarkBox);
  session.UnsavedMarkBox.clear();
  session.UnsavedMarkTold = true;
  return true;
}

SendOutcome SendPart(SyncContext& context, int folderKind, const QString& entryId,
                     const QByteArray& record, const QString& truncationSuffix,
                     const std::function<void()>& whileOnLine) {
  Link& link = context.link;
  // The entry id travels as the bytes of its file name (UTF-8 for most);
  // its length field counts bytes.
  const QByteArray id = BytesOfText(entryId);

  // The caller has just yielded, so the announcement goes out at once.
  link.Write(protocol::CmdMessage);
  if (auto outcome = Judge(context, 1)) return *outcome;

  const QByteArray fields[] = {SixDigitNumber(folderKind), SixDigitNumber(id.size()), id,
                               SixDigitNumber(record.size()), record};
  int step = 2;
  for (const QByteArray& field : fields) {
    if (step == 6) SettleMarks(context);
    if (step == 5) {
      // The size shown counts the record's FieldEnd.
      //: %1 is a number of bytes, %2 empty or " (truncated)"
      context.host.SetStatus(2, Text::tr("Message size: %1 bytes%2")
                                    .arg(QString::number(record.size() + 1), truncationSuffix));
    }
    context.host.Yield();
    WriteTextField(link, field);
    if (step == 6 && whileOnLine) whileOnLine();
    if (auto outcome = Judge(context, step)) return *outcome;
    ++step;
  }
  return SendOutcome::Done;
}

}  // namespace zandor
