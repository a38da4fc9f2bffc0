// Fuzzes the whole receive phase with whatever the device side may send.
//
// Input: a config byte (bit 0 the separator, bits 1-2 the conversion button,
// bit 3: saving a new item fails, bits 4-5: entry ids of the store are plain
// ASCII, non-ASCII, long, or empty-looking; bits 6-7: how many silent yields
// in a row make the host press &Break, 2 to 5), a line-event byte (bits 0-2
// the event, bits 3-7 the pump it comes at), then a script of reads
// (fuzz_support.h). The line hands over one read per ReadAll; once the script
// is used up it brings nothing and the host presses &Break, so the phase
// always ends.
//
// Checked: the phase ends within a number of yields its input explains; each
// new item is filled completely (KelvoSent at the clock's time, one recipient
// that is never empty) and saved once; what the PC writes is only Ack, Abort
// and fields ending in FieldEnd, each field after an Ack; each counted message
// had its identifier's length and its identifier sent back; nothing but one
// Ack follows an Abort; a device list is complete only after the Kelvo's CmdEnd,
// with no box but a line event's; without a break the phase ends either complete or with
// exactly one box.

#include <QDateTime>
#include <QLocale>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "fuzz_support.h"
#include "link/field_forms.h"
#include "link/link.h"
#include "link/protocol.h"
#include "mail/mail_store.h"
#include "settings/memory_settings_store.h"
#include "sync/clock.h"
#include "sync/phases.h"

namespace {

using zandor::fuzz::Input;

const QDateTime& Now() {
  static const QDateTime now(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC);
  return now;
}

struct Saved {
  QString entryId;
  bool ok = false;
};

// A new item that checks how the phase fills it.
class CheckedItem final : public zandor::NewMailItem {
 public:
  CheckedItem(std::vector<Saved>& saved, bool fail, QString id)
      : saved_(saved), fail_(fail), id_(std::move(id)) {}

  void SetSubject(const QString& subject) override {
    ZANDOR_FUZZ_CHECK(!saveCalled_);
    subject_ = subject;
    ++subjectSets_;
  }
  void SetBody(const QString& body) override {
    ZANDOR_FUZZ_CHECK(!saveCalled_);
    body_ = body;
    ++bodySets_;
  }
  void AddRecipient(const QString& recipient) override {
    ZANDOR_FUZZ_CHECK(!saveCalled_);
    ZANDOR_FUZZ_CHECK(!recipient.isEmpty());
    ++recipients_;
  }
  void SetKelvoSent(const QDateTime& value) override {
    ZANDOR_FUZZ_CHECK(!saveCalled_);
    ZANDOR_FUZZ_CHECK(value == Now());
    kelvoSent_ = true;
  }
  zandor::StoreStatus Save() override {
    ZANDOR_FUZZ_CHECK(!saveCalled_);
    ZANDOR_FUZZ_CHECK(kelvoSent_ && subjectSets_ == 1 && bodySets_ == 1 && recipients_ == 1);
    saveCalled_ = true;
    saved_.push_back({fail_ ? QString() : id_, !fail_});
    if (fail_) return zandor::StoreFailure{QStringLiteral("disk full")};
    entryId_ = id_;
    return zandor::Done{};
  }
  QString EntryId() const override { return entryId_; }

 private:
  std::vector<Saved>& saved_;
  bool fail_;
  QString id_;
  QString subject_;
  QString body_;
  QString entryId_;
  int subjectSets_ = 0;
  int bodySets_ = 0;
  int recipients_ = 0;
  bool kelvoSent_ = false;
  bool saveCalled_ = false;
};

// A store that only makes new items; the receive phase asks nothing else.
class CheckedStore final : public zandor::MailStore {
 public:
  CheckedStore(bool failSaves, int idStyle) : failSaves_(failSaves), idStyle_(idStyle) {}

  zandor::StoreResult<zandor::FolderRef> GetDefaultFolder(zandor::DefaultFolder) override {
    return zandor::StoreFailure{QStringLiteral("not here")};
  }
  zandor::StoreResult<std::vector<zandor::FolderRef>> Subfolders(
      const zandor::FolderRef&) override {
    return zandor::StoreFailure{QStringLiteral("not here")};
  }
  zandor::StoreResult<std::unique_ptr<zandor::ItemCollection>> Items(
      const zandor::FolderRef&) override {
    return zandor::StoreFailure{QStringLiteral("not here")};
  }
  std::unique_ptr<zandor::NewMailItem> CreateItem() override {
    ++created_;
    return std::make_unique<CheckedItem>(saved_, failSaves_, NextId());
  }

  const std::vector<Saved>& SavedItems() const { return saved_; }
  int Created() const { return created_; }

 private:
  QString NextId() const {
    const QString number = QString::number(created_ + 1);
    switch (idStyle_) {
      case 1:  // counts of bytes and of characters differ
        return QStringLiteral("%1.M%2P1.\u0445\u043E\u0441\u0442").arg(1772390000).arg(number);
      case 2:  // longer than six digits' worth of nothing special
        return QString(300, QLatin1Char('x')) + number;
      case 3:
        return number;
      default:
        return QStringLiteral("draft-") + number.rightJustified(6, QLatin1Char('0'));
    }
  }

  bool failSaves_;
  int idStyle_;
  int created_ = 0;
  std::vector<Saved> saved_;
};

zandor::LineEvent EventOf(std::uint8_t kind) {
  using Kind = zandor::LineEvent::Kind;
  switch (kind & 7) {
    case 1:
      return {Kind::Error, 1004, {}};
    case 2:
      return {Kind::Error, 1008, {}};
    case 3:
      return {Kind::Error, 999, {}};
    case 4:
      return {Kind::Notice, 2, {}};
    case 5:
      return {Kind::DeviceLost, 0, QStringLiteral("No such device")};
    default:
      return {Kind::Error, 1234, {}};
  }
}

void CheckWrites(const std::deque<QByteArray>& writes, const std::vector<Saved>& saved,
                 int receivedCount) {
  const QByteArray ack(1, zandor::protocol::Ack);
  const QByteArray abort(1, zandor::protocol::Abort);
  std::size_t firstAbort = writes.size();
  for (std::size_t i = 0; i < writes.size(); ++i) {
    const QByteArray& write = writes[i];
    ZANDOR_FUZZ_CHECK(!write.isEmpty());
    if (write == abort) {
      if (firstAbort == writes.size()) firstAbort = i;
      continue;
    }
    if (write == ack) continue;
    // A field: it ends in FieldEnd and follows an Ack.
    ZANDOR_FUZZ_CHECK(write.endsWith('\0'));
    ZANDOR_FUZZ_CHECK(i > 0 && writes[i - 1] == ack);
  }
  // After an Abort the phase writes at most the one Ack of a poll.
  if (firstAbort < writes.size()) {
    ZANDOR_FUZZ_CHECK(writes.size() - firstAbort <= 2);
    if (writes.size() - firstAbort == 2) ZANDOR_FUZZ_CHECK(writes.back() == ack);
  }

  // The counted messages are the first saved ones; each had its identifier's
  // length and then the identifier sent back, in order.
  ZANDOR_FUZZ_CHECK(receivedCount >= 0 && static_cast<std::size_t>(receivedCount) <= saved.size());
  std::size_t at = 0;
  for (int n = 0; n < receivedCount; ++n) {
    ZANDOR_FUZZ_CHECK(saved[static_cast<std::size_t>(n)].ok);
    const QByteArray id = saved[static_cast<std::size_t>(n)].entryId.toUtf8();
    QByteArray length = zandor::SixDigitNumber(id.size());
    length.append('\0');
    while (at < writes.size() && writes[at] != length) ++at;
    ZANDOR_FUZZ_CHECK(at < writes.size());
    ++at;
    ZANDOR_FUZZ_CHECK(at + 1 < writes.size() && writes[at] == ack);
    QByteArray field = id;
    field.append('\0');
    ZANDOR_FUZZ_CHECK(writes[at + 1] == field);
    at += 2;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input(data, size);
  const std::uint8_t config = input.Byte();
  const std::uint8_t eventByte = input.Byte();
  const std::deque<QByteArray> reads = zandor::fuzz::SplitIntoReads(input.Rest());

  zandor::SyncSession session;
  session.FieldSeparator = zandor::fuzz::SeparatorOf(config);
  const zandor::OptionValues options = zandor::fuzz::OptionsOf(config);
  const int silentLimit = 2 + ((config >> 6) & 3);

  zandor::fuzz::ScriptedLine line(reads);
  if ((eventByte & 7) != 0) line.RaiseAt(1 + (eventByte >> 3), EventOf(eventByte));
  const long yieldLimit = static_cast<long>(reads.size()) * 8 + 64;
  zandor::fuzz::ScriptedHost host(line, session, silentLimit, yieldLimit);
  CheckedStore store((config & 8) != 0, (config >> 4) & 3);
  zandor::MemorySettingsStore settings;
  const zandor::FixedClock clock(Now());
  {
    zandor::Link link(session, line, host);
    zandor::SyncContext context{
        session, link, host, options, store, settings, clock, zandor::fuzz::Tables(), QLocale::c()};
    zandor::RunReceivePhase(context);
  }

  const QStringList& boxes = host.Boxes();
  ZANDOR_FUZZ_CHECK(boxes.size() <= 3);
  if (session.DeviceListComplete) {
    // Only the Kelvo's CmdEnd completes the list. A line event may still come
    // in the yield after that read: its box and break are the line's, and the
    // break keeps the later phases from using the list.
    ZANDOR_FUZZ_CHECK(line.LastRead() == QByteArray(1, zandor::protocol::CmdEnd));
    ZANDOR_FUZZ_CHECK(host.BreakPresses() == 0);
    for (const QString& box : boxes) {
      ZANDOR_FUZZ_CHECK(box.startsWith(QStringLiteral("Serial port error #")) ||
                        box.startsWith(QStringLiteral("The Kelvo is no longer connected")));
    }
  } else if (!session.BreakRequested) {
    ZANDOR_FUZZ_CHECK(boxes.size() == 1);
  }
  ZANDOR_FUZZ_CHECK(static_cast<int>(store.SavedItems().size()) == store.Created());
  for (const zandor::MessageListEntry& entry : session.DeviceList) {
    ZANDOR_FUZZ_CHECK(entry.DeviceId.size() <= 8);
  }
  CheckWrites(line.Writes(), store.SavedItems(), session.ReceivedCount);
  return 0;
}
