// Fuzzes the whole receive phase with whatever the device side may send.
//
// Input: a config byte (bit 0 the separator, bits 1-2 the conversion button,
// bit 3: saving a new item fails, bits 4-5: the style of the store's entry ids,
// bits 6-7: how many silent yields in a row make the host press &Break, 2 to
// 5), a line-event byte (bits 0-2 the event, bits 3-7 the pump it comes at),
// then a script of reads (fuzz_support.h). Once the script is used up the line
// brings nothing and the host presses &Break, so the phase always ends.
//
// Checked: the phase ends within a number of yields its input explains; each
// new item is filled completely (KelvoSent at the clock's time, one or more
// recipients, none blank) and saved once; what the PC writes is only Ack, Abort
// and fields ending in FieldEnd, each field after an Ack; each counted message
// had its identifier's length and its identifier sent back; nothing but one
// Ack follows an Abort; a device list is complete only after the Kelvo's
// CmdEnd, with no box but a line event's; without a break the phase ends
// either complete or with exactly one box.

#include "fuzz_support.h"
#include "link/field_forms.h"
#include "link/protocol.h"
#include "settings/memory_settings_store.h"
#include "sync/phases.h"

using namespace zandor;
using namespace Qt::StringLiterals;

static const QDateTime kNow(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC);
// The entry ids of the items saved, in order; empty for a failed save.
using Saved = std::vector<QString>;

// A new item that checks that the phase sets each property once (a recipient
// at least once), then saves.
struct CheckedItem final : NewMailItem {
  CheckedItem(Saved& saved, QString id) : saved(saved), id(std::move(id)) {}
  void SetSubject(const QString&) override { Fill(1); }
  void SetBody(const QString&) override { Fill(2); }
  // A recipient list may name several: each is a name of its own.
  void AddRecipient(const QString& recipient) override {
    ZANDOR_FUZZ_CHECK(!recipient.trimmed().isEmpty() && filled < 16);
    filled |= 4;
  }
  void SetKelvoSent(const QDateTime& value) override { Fill(8, value == kNow); }
  StoreStatus Save() override {
    Fill(16, filled == 15);
    saved.push_back(id);
    if (id.isEmpty()) return StoreFailure{FailureKind::Store, u"disk full"_s};
    return Done{};
  }
  QString EntryId() const override { return filled == 31 ? id : QString(); }
  StoreStatus Withdraw() override { return Done{}; }
  void Fill(int bit, bool ok = true) {
    ZANDOR_FUZZ_CHECK(ok && (filled & bit) == 0 && filled < 16);
    filled |= bit;
  }
  Saved& saved;
  const QString id;
  int filled = 0;
};

// A store that only makes new items; the receive phase asks nothing else.
struct CheckedStore final : MailStore {
  explicit CheckedStore(std::uint8_t config) : config(config) {}
  StoreResult<FolderRef> GetDefaultFolder(DefaultFolder) override { return No(); }
  StoreResult<std::vector<FolderRef>> Subfolders(const FolderRef&) override { return No(); }
  StoreResult<std::unique_ptr<ItemCollection>> Items(const FolderRef&) override { return No(); }
  static StoreFailure No() { return StoreFailure{FailureKind::Folder, u"not here"_s}; }
  std::unique_ptr<NewMailItem> CreateItem() override {
    const QString n = QString::number(++created);
    // Plain, counts of bytes and characters that differ, long, bare.
    const QString ids[] = {u"draft-"_s + n.rightJustified(6, u'0'),
                           u"1772390000.M%1P1.\u0445\u043E\u0441\u0442"_s.arg(n),
                           QString(300, u'x') + n, n};
    const QString id = (config & 8) != 0 ? QString() : ids[(config >> 4) & 3];
    return std::make_unique<CheckedItem>(saved, id);
  }
  const std::uint8_t config;
  Saved saved;
  int created = 0;
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input{data, size};
  const std::uint8_t config = input.Byte();
  const std::uint8_t event = input.Byte();
  fuzz::Scripted kelvo(fuzz::SplitIntoReads(input.Rest()));
  kelvo.silentLimit = 2 + ((config >> 6) & 3);
  using K = LineEvent::Kind;
  const LineEvent events[] = {{K::Error, 1234, {}}, {K::Error, 1004, {}},
                              {K::Error, 1008, {}}, {K::Error, 999, {}},
                              {K::Notice, 2, {}},   {K::DeviceLost, 0, u"No such device"_s}};
  kelvo.eventAt = (event & 7) != 0 ? 1 + (event >> 3) : 0;
  kelvo.event = events[(event & 7) % 6];
  SyncSession& session = kelvo.session;
  session.FieldSeparator = fuzz::SeparatorOf(config);
  const SyncOptions options = fuzz::OptionsOf(config);
  CheckedStore store(config);
  MemorySettingsStore settings;
  const FixedClock clock(kNow);
  SyncContext context(session, SyncEnvironment{kelvo, [&options] { return options; }, kelvo, store,
                                               settings, clock, fuzz::kTables, QLocale::c()});
  RunReceivePhase(context);

  ZANDOR_FUZZ_CHECK(kelvo.boxes.size() <= 3);
  if (session.DeviceListComplete) {
    // Only the Kelvo's CmdEnd completes the list. A line event may still come
    // in the yield after that read: its box and break are the line's, and the
    // break keeps the later phases from using the list.
    ZANDOR_FUZZ_CHECK(kelvo.lastRead == QByteArray(1, protocol::CmdEnd) && kelvo.breaks == 0);
    for (const QString& box : kelvo.boxes) {
      ZANDOR_FUZZ_CHECK(box.startsWith(u"Serial port error #"_s) ||
                        box.startsWith(u"The Kelvo is no longer connected"_s));
    }
  } else if (!session.BreakRequested) {
    ZANDOR_FUZZ_CHECK(kelvo.boxes.size() == 1);
  }
  ZANDOR_FUZZ_CHECK(static_cast<int>(store.saved.size()) == store.created);
  for (const MessageListEntry& entry : session.DeviceList) {
    ZANDOR_FUZZ_CHECK(entry.DeviceId.size() <= 8);
  }

  const std::deque<QByteArray>& writes = kelvo.writes;
  const QByteArray ack(1, protocol::Ack), abort(1, protocol::Abort);
  for (std::size_t i = 0; i < writes.size(); ++i) {
    // An Ack, an Abort, or a field that ends in FieldEnd and follows an Ack.
    ZANDOR_FUZZ_CHECK(writes[i] == abort || writes[i] == ack ||
                      (writes[i].endsWith('\0') && i > 0 && writes[i - 1] == ack));
  }
  // After an Abort the phase writes at most the one Ack of a poll.
  const auto afterAbort = writes.end() - std::find(writes.begin(), writes.end(), abort);
  ZANDOR_FUZZ_CHECK(afterAbort <= 1 || (afterAbort == 2 && writes.back() == ack));
  // The counted messages are the first saved ones; each had its identifier's
  // length and then the identifier sent back, in order.
  const int received = session.ReceivedCount;
  ZANDOR_FUZZ_CHECK(received >= 0 && store.saved.size() >= static_cast<std::size_t>(received));
  std::size_t at = 0;
  for (std::size_t n = 0; n < static_cast<std::size_t>(received); ++n, at += 3) {
    const QByteArray id = store.saved[n].toUtf8();
    while (at < writes.size() && writes[at] != NumberField(id.size())) ++at;
    ZANDOR_FUZZ_CHECK(!id.isEmpty() && at + 2 < writes.size());
    ZANDOR_FUZZ_CHECK(writes[at + 1] == ack && writes[at + 2] == id + '\0');
  }
  return 0;
}
