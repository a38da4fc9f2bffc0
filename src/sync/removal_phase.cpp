// The removal phase: removes on the Kelvo the messages it holds that are no
// longer in the selection, then closes the dialogue.
#include <QCoreApplication>
#include <algorithm>

#include "link/field_forms.h"
#include "link/protocol.h"
#include "sync/phases.h"
#include "sync/replies.h"

namespace zandor {

namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(RemovalPhase)
};

bool IsSelected(const SyncSession& session, const QString& entryId) {
  // Exact comparison, case included: ids differing in case are other messages.
  return std::any_of(session.SelectionList.begin(), session.SelectionList.end(),
                     [&](const MessageListEntry& entry) { return entry.EntryId == entryId; });
}

// A message removed from the Kelvo, named by the subject its mark remembers
// (the message may be gone from the mail), else by its ids.
RunItem RemovalItem(SyncContext& context, const MessageListEntry& held) {
  RunItem item{RunItem::Kind::RemovedFromKelvo,
               {},
               Text::tr("%1 (number %2 on the Kelvo)").arg(held.EntryId, held.DeviceId),
               0,
               0,
               {}};
  const std::optional<RememberedMessage> known = context.store.Remembered(held.EntryId);
  if (!known || known->subject.isEmpty()) return item;
  item.subject = known->subject;
  if (known->writtenOnKelvo) {
    StoreResult<FolderRef> drafts = context.store.GetDefaultFolder(DefaultFolder::Drafts);
    item.folder = drafts ? drafts->Name : QStringLiteral("Drafts");
    item.writtenOnKelvo = known->marked;
  }
  return item;
}

// Removes one message on the Kelvo; number counts the removals started. False
// when the exchange ended early.
bool RemoveFromKelvo(SyncContext& context, const MessageListEntry& held,
                     const QByteArray& identifier, int number) {
  context.host.SetStatus(2, QString());
  context.host.SetStatus(1, Text::tr("Removing from Kelvo: %1").arg(number));
  context.host.ShowProgress({Progress::Stage::Removing, {}, number, 0});
  context.host.Yield();

  context.link.Write(protocol::CmdRemove);
  if (ExpectAck(context, 1) != AckOutcome::Acked) return false;
  context.host.Yield();
  context.link.Write(identifier);  // no Ack goes before the identifier
  if (ExpectAck(context, 2) != AckOutcome::Acked) return false;
  // Counted once the Kelvo acknowledged it: the summary must not report a
  // removal that broke off as done.
  ++context.session.RemovedFromDeviceCount;
  context.host.Report(RemovalItem(context, held));
  return true;
}

// Removes what the Kelvo holds and the selection no longer has. False when an
// exchange ended early, which skips the closing.
bool RemoveUnselected(SyncContext& context) {
  SyncSession& session = context.session;
  session.RemovedFromDeviceCount = 0;
  if (!session.SelectionListComplete) {
    // A message missing from an incomplete selection was never compared:
    // removing it could lose a message the user still wants on the Kelvo.
    session.DeviceRemovalSkipped = true;
    return true;
  }
  // Only this phase reads the list, but a copy keeps the loop safe whatever a
  // yield may do to the session.
  const std::vector<MessageListEntry> deviceList = session.DeviceList;
  int started = 0;
  for (const MessageListEntry& held : deviceList) {
    if (IsSelected(session, held.EntryId)) continue;
    const std::optional<QByteArray> identifier = RemovalIdentifier(held.DeviceId);
    if (!identifier) {
      // Read leniently, such an id would name some other message on the Kelvo.
      //: %1 is the message's name in the mail, %2 what the Kelvo calls it
      context.host.ShowMessage(
          Text::tr("The Kelvo gave the message \"%1\" the identifier \"%2\", which is not a "
                   "hexadecimal number; it was not removed from the Kelvo.")
              .arg(held.EntryId, held.DeviceId));
      continue;
    }
    if (!RemoveFromKelvo(context, held, *identifier, ++started)) return false;
  }
  return true;
}

}  // namespace

void RunRemovalPhase(SyncContext& context) {
  SyncSession& session = context.session;
  session.DeviceRemovalSkipped = false;
  context.host.ShowProgress({Progress::Stage::Removing, {}, 0, 0});
  if (context.options().removeFromKelvo && !RemoveUnselected(context)) return;

  for (int line = 1; line <= 4; ++line) context.host.SetStatus(line, QString());
  context.host.Yield();
  if (session.BreakRequested) return;
  context.link.Write(protocol::CmdEnd);
  context.link.Write(protocol::Ack);
}

}  // namespace zandor
