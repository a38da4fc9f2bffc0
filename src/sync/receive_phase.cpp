// The receive phase: polls the Kelvo for the messages written on it, which
// become new mail items, and for the list of messages it still holds.
#include <QCoreApplication>
#include <algorithm>

#include "link/field_forms.h"
#include "link/protocol.h"
#include "records/codepage.h"
#include "records/incoming_record.h"
#include "store/byte_names.h"
#include "sync/phases.h"
#include "sync/replies.h"

namespace zandor {

namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(ReceivePhase)
};

QString LeadingDigits(const QByteArray& field) {
  const auto end =
      std::find_if(field.begin(), field.end(), [](char c) { return c < '0' || c > '9'; });
  return QString::fromLatin1(field.begin(), end - field.begin());
}

// Sends a text field back to the Kelvo and waits for its Ack. False ends the
// phase.
bool ReturnField(SyncContext& context, const QByteArray& text, int number) {
  WriteTextField(context.link, text);
  return ExpectAck(context, number) == AckOutcome::Acked;
}

// Saves one received record as a new mail item; the saved item, or null (the
// box said why).
std::unique_ptr<NewMailItem> SaveItem(SyncContext& context, const IncomingRecord& record) {
  const ConversionMode mode = context.options().mode;
  // A NUL inside a field would end the text in the mail; it is kept as '?',
  // as outgoing text writes it.
  const auto text = [&context, mode](QByteArray field) {
    return DecodeReceivedText(field.replace('\0', '?'), mode, context.tables);
  };
  context.claimStore();
  std::unique_ptr<NewMailItem> item = context.store.CreateItem();
  item->SetKelvoSent(context.clock.Now());
  item->SetBody(text(record.fields[3]));
  item->SetSubject(text(record.fields[0]));
  // The Kelvo's recipient field may name several, as the PC's own "a; b" does.
  const QStringList recipients = SplitRecipients(text(record.fields[2]));
  for (const QString& recipient : recipients) item->AddRecipient(recipient);
  if (recipients.isEmpty()) item->AddRecipient(QStringLiteral("Dummy"));
  // Filing on a server takes a round trip: aside from the window.
  StoreStatus saved = Done{};
  context.host.RunAside([&item, &saved] { saved = item->Save(); });
  if (!saved) {
    context.host.ShowMessage(
        Text::tr("The message received from the Kelvo could not be saved: %1").arg(saved.reason()));
    return nullptr;
  }
  return item;
}

// The Kelvo never got the item's id, so it keeps the message and offers it
// again: the draft goes, or the next run would file the note twice.
void Withdraw(SyncContext& context, NewMailItem& item) {
  const QString entryId = item.EntryId();
  StoreStatus withdrawn = Done{};
  context.host.RunAside([&item, &withdrawn] { withdrawn = item.Withdraw(); });
  if (!withdrawn) {
    context.host.ShowMessage(
        Text::tr("The draft %1 was made from a message on the Kelvo that the Kelvo will "
                 "offer again, but it could not be removed: %2. Delete it from Drafts to "
                 "keep one copy.")
            .arg(entryId, withdrawn.reason()));
  }
}

// One CmdMessage item, after the PC acknowledged the command byte.
bool ReceiveMessage(SyncContext& context) {
  SyncSession& session = context.session;
  const ExchangeScope exchange(session);
  Link& link = context.link;
  Host& host = context.host;

  host.SetStatus(1, Text::tr("Receiving message: %1").arg(session.ReceivedCount + 1));
  host.ShowProgress({Progress::Stage::Receiving,
                     {},
                     session.ReceivedCount + static_cast<int>(session.DeviceList.size()) + 1,
                     0});
  host.Yield();
  const QByteArray sizeField = AwaitLengthField(context);
  if (sizeField.isEmpty()) return false;  // a break: the wait has said it
  const std::optional<int> size = ParseKelvoLength(sizeField);
  if (!size) {
    // A size beyond what the dialogue can carry: nothing more is read, and
    // only the user can free the messages behind it.
    host.ShowMessage(
        Text::tr("Comm Err 13\n\rMessage %1 written on the Kelvo is too long to receive "
                 "(%2 bytes; at most %3). Shorten it or delete it on the Kelvo, then "
                 "synchronise again to receive it and the messages behind it.")
            .arg(QString::number(session.ReceivedCount + 1), LeadingDigits(sizeField),
                 QString::number(kMaxKelvoLength)));
    return false;
  }
  link.Write(protocol::Ack);
  host.SetStatus(2, Text::tr("Message size: %1").arg(*size));
  host.Yield();

  QByteArray bytes = AwaitExact(context, *size);
  if (bytes.isEmpty()) {
    ShowCommError(context, 13);
    return false;
  }
  bytes.append('\0');
  IncomingRecord record;
  if (!ParseIncomingRecord(bytes, session.FieldSeparator, context.options().mode, context.tables,
                           record)) {
    ShowCommError(context, 12);
    return false;
  }

  // An item that was not saved gets no identifier: the Kelvo keeps the
  // message and offers it again next time.
  const std::unique_ptr<NewMailItem> item = SaveItem(context, record);
  if (!item) return false;
  const QByteArray id = BytesOfText(item->EntryId());  // lengths on the wire count bytes
  host.Yield();
  if (!ReturnField(context, SixDigitNumber(id.size()), 10)) {
    Withdraw(context, *item);
    return false;
  }
  host.Yield();
  // Once the id went out the Kelvo may hold it: the draft stays, as a second
  // copy is better than a note lost.
  if (!ReturnField(context, id, 11)) return false;
  ++session.ReceivedCount;
  StoreResult<FolderRef> drafts = context.store.GetDefaultFolder(DefaultFolder::Drafts);
  host.Report({RunItem::Kind::Received,
               drafts ? drafts->Name : QStringLiteral("Drafts"),
               DecodeReceivedText(record.fields[0], context.options().mode, context.tables),
               0,
               0,
               {}});
  return true;
}

// One CmdMessageId item, after the PC acknowledged the command byte.
bool ReceiveMessageId(SyncContext& context) {
  SyncSession& session = context.session;
  Link& link = context.link;
  Host& host = context.host;

  host.SetStatus(1, Text::tr("Receiving message ID: %1").arg(session.DeviceList.size() + 1));
  host.ShowProgress({Progress::Stage::Receiving,
                     {},
                     session.ReceivedCount + static_cast<int>(session.DeviceList.size()) + 1,
                     0});
  host.Yield();
  const QByteArray lengthField = AwaitLengthField(context);
  if (lengthField.isEmpty()) return false;  // a break: the wait has said it
  const std::optional<int> length = ParseKelvoLength(lengthField);
  if (!length) {
    ShowCommError(context, 20);
    return false;
  }
  link.Write(protocol::Ack);
  host.Yield();

  const QByteArray entryId = AwaitExact(context, *length);
  if (entryId.isEmpty()) {
    ShowCommError(context, 20);
    return false;
  }
  link.Write(protocol::Ack);
  host.Yield();

  const QByteArray deviceId = AwaitExact(context, kDeviceIdFieldLength);
  if (deviceId.isEmpty()) {
    ShowCommError(context, 21);
    return false;
  }
  link.Write(protocol::Ack);
  session.DeviceList.push_back({TextOfBytes(entryId), DeviceIdFromField(deviceId)});
  return true;
}

}  // namespace

void RunReceivePhase(SyncContext& context) {
  SyncSession& session = context.session;
  Link& link = context.link;
  session.ReceivedCount = 0;
  session.DeviceList.clear();
  session.DeviceListComplete = false;

  context.host.SetStatus(1, Text::tr("Waiting for messages..."));
  context.host.ShowProgress({Progress::Stage::Receiving, {}, 0, 0});
  context.host.Yield();
  for (;;) {
    link.Write(protocol::Ack);  // asks for the next item
    const QByteArray item = AwaitReply(context);
    if (item == QByteArray(1, protocol::CmdEnd)) {
      session.DeviceListComplete = true;
      return;
    }
    link.Write(protocol::Ack);
    if (item == QByteArray(1, protocol::CmdMessage)) {
      if (!ReceiveMessage(context)) return;
    } else if (item == QByteArray(1, protocol::CmdMessageId)) {
      if (!ReceiveMessageId(context)) return;
    } else {
      ShowCommError(context, 12);
      return;
    }
  }
}

}  // namespace zandor
