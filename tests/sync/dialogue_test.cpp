// The dialogue byte by byte: a golden conversation, then every reply of the
// Kelvo in a synchronisation that runs every phase, spoilt in every way the
// device model knows, each run judged by one set of rules.
#include <gtest/gtest.h>

#include <QFile>
#include <map>
#include <set>

#include "support/row_name.h"
#include "support/sync_rig.h"
#include "sync/phases.h"

namespace zandor::testing {

using namespace Qt::StringLiterals;
namespace {

using sim::FaultKind;

const QString kUserBreakBox = u"--  box:       User Break      "_s;

// A golden file under tests/sync/golden; ZANDOR_UPDATE_GOLDEN rewrites it.
QString Golden(const char* name, const QString& actual) {
  QFile file(QStringLiteral(ZANDOR_SOURCE_DIR "/tests/sync/golden/") + QLatin1String(name));
  if (qEnvironmentVariableIsSet("ZANDOR_UPDATE_GOLDEN") && file.open(QIODevice::WriteOnly)) {
    file.write(actual.toUtf8());
    return actual;
  }
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A message written on the Kelvo, dated as the golden transcripts show it.
sim::WrittenMessage Upload(const char* subject, const char* to, const char* body) {
  sim::WrittenMessage message = Written(subject, to, body);
  message.fields[4] = "01-Mar-2026 9:00:00";
  return message;
}

TEST(GoldenTest, ReceivesUploadsAndListingsMixed) {
  SyncRig rig;
  rig.faults.stableDraftIds = true;
  rig.host.BreakWhenSilent(20);
  rig.device.AddWritten(Upload("Lunch?", "Ann Smith", "Meet at 12:30\r\nat the usual place"));
  rig.device.AddWritten(Upload("Caf\x91", "", "No recipient"));  // 145 is the Kelvo's e-acute
  rig.device.AddHeld({u"0000000A"_s, "1772390000.M1P1.host", 1, "old\xFErecord"});
  rig.device.AddHeld({u"0000001B"_s, "1772390001.M2P1.host", 1, "old\xFErecord"});
  using Item = sim::ReceiveItem;
  rig.device.SetReceiveOrder({{Item::Kind::Listing, 0},
                              {Item::Kind::Upload, 0},
                              {Item::Kind::Listing, 1},
                              {Item::Kind::Upload, 1}});
  SyncContext& context = rig.Context();
  RunReceivePhase(context);

  const QString transcript = rig.line.Transcript().Text();
  EXPECT_EQ(transcript, Golden("receive_mixed.txt", transcript));
  EXPECT_TRUE(rig.host.Boxes().isEmpty());
  EXPECT_TRUE(rig.device.Violations().isEmpty());
  EXPECT_EQ(rig.session.ReceivedCount, 2);
  EXPECT_TRUE(rig.session.DeviceListComplete);
  ASSERT_EQ(rig.session.DeviceList.size(), 2u);
  EXPECT_EQ(rig.session.DeviceList[1].EntryId, u"1772390001.M2P1.host"_s);
  EXPECT_EQ(rig.session.DeviceList[1].DeviceId, u"0000001B"_s);
  EXPECT_EQ(rig.FilesIn(kDrafts), 2);
  EXPECT_EQ(rig.host.StatusHistory(1),
            (QStringList{u"Waiting for messages..."_s, u"Receiving message ID: 1"_s,
                         u"Receiving message: 1"_s, u"Receiving message ID: 2"_s,
                         u"Receiving message: 2"_s}));
  EXPECT_EQ(rig.host.StatusHistory(2), (QStringList{u"Message size: 74"_s, u"Message size: 42"_s}));
}

// A synchronisation that runs every phase: two uploads and a listing come in,
// three messages go out (one of them in three parts), a stale message is
// removed from the Kelvo and a message the Kelvo dropped is removed from the
// mail.
struct Scenario {
  SyncRig rig;
  QString dropped;  // sent before, no longer on the Kelvo: goes to Trash
  QStringList due;  // the messages to send
  Scenario() {
    dropped = rig.AddMail(kInbox, u"Dropped"_s, 5);
    EXPECT_EQ(rig.Run(), SyncEnd::Completed);
    rig.KeepOnDevice({});
    rig.device.AddHeld({u"0000001A"_s, "stale", 1, "stale record"});
    rig.device.AddWritten(Upload("Lunch?", "Ann", "Meet at noon"));
    rig.device.AddWritten(Upload("Caf\x91", "", "No recipient"));
    due << rig.AddMail(kInbox, u"A"_s, 3) << rig.AddMail(kWork, u"B"_s, 2, QString(6000, u'b'))
        << rig.AddMail(kSent, u"C"_s, 1);
    rig.options.longMessages = LongMessages::Split;
    rig.options.removeFromKelvo = true;
    rig.options.removeFromMail = true;
    rig.host.BreakWhenSilent(30);
  }
};

const char* KindName(FaultKind kind) {
  static const char* const kNames[] = {"wrong-byte", "twice",    "joined", "silence",
                                       "hang-up",    "too-many", "replace"};
  return kNames[static_cast<int>(kind)];
}

// One faulted synchronisation and the clean one after it. Returns the line of
// the summary: the boxes and status lines the fault brought.
QString RunWithFault(int reply, FaultKind kind) {
  Scenario scenario;
  SyncRig& rig = scenario.rig;
  const std::multiset<QByteArray> before = MessageContents(rig.dir.path());
  rig.device.AddFault({reply, kind, {}});
  rig.line.Transcript().Clear();
  const qsizetype boxesBefore = rig.host.Boxes().size();
  rig.Run();
  const QStringList lines = rig.line.Transcript().Lines();
  const std::string trace = rig.line.Transcript().Text().toStdString();
  QStringList shown;  // each box's first line: a Comm Err's code
  for (const QString& box : rig.host.Boxes().mid(boxesBefore)) shown << box.section(u'\n', 0, 0);
  const QString summary =
      u"%1 %2: %3 | %4 | held %5"_s.arg(reply)
          .arg(QLatin1String(KindName(kind)), shown.join(u'/'), rig.host.StatusLines().join(u'/'))
          .arg(rig.device.Held().size());

  // Each Abort is followed at once by its box, but for the break of a
  // hang-up, which was told as it happened. After the first one the PC
  // writes nothing but Aborts, with two exceptions: a poll broken off still
  // acknowledges the item it waited for (with no box: the break was told),
  // and the removal phase may start one CmdRemove, whose wait then aborts at
  // once.
  const qsizetype firstAbort = lines.indexOf(u"PC  ABORT"_s);
  int removesAfterBreak = 0, acksAfterBreak = 0;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (lines[i] == u"PC  ABORT"_s && kind != FaultKind::HangUp) {
      EXPECT_EQ(lines.value(i + 1), kUserBreakBox) << trace;
    }
    if (firstAbort < 0 || i < firstAbort || !lines[i].startsWith(QLatin1String("PC"))) continue;
    const QString next = lines.value(i + 1);
    const bool pollAck = lines[i] == u"PC  ACK"_s && !next.startsWith(QLatin1String("--  box")) &&
                         ++acksAfterBreak == 1;
    const bool remove =
        lines[i] == u"PC  CMD_REMOVE"_s && next == u"PC  ABORT"_s && ++removesAfterBreak == 1;
    EXPECT_TRUE(lines[i] == u"PC  ABORT"_s || pollAck || remove) << "line " << i << " after Abort\n"
                                                                 << trace;
  }
  EXPECT_EQ(kind == FaultKind::HangUp ? 0 : lines.count(u"PC  ABORT"_s), lines.count(kUserBreakBox))
      << trace;
  // Nothing is removed on the strength of an incomplete list.
  if (!rig.session.DeviceListComplete) {
    EXPECT_EQ(rig.FilesIn(kTrash), 0);
  }
  if (!rig.session.SelectionListComplete) {
    EXPECT_TRUE(rig.HeldEntryIds().contains(u"stale"_s)) << trace;
  }
  EXPECT_FALSE(rig.line.IsOpen());
  EXPECT_TRUE(rig.host.SyncEnabled());
  EXPECT_FALSE(rig.host.BreakEnabled());

  // A clean run afterwards mends everything: every due message is on the
  // Kelvo, at most one part more than once, and no message file was
  // rewritten or lost on the way.
  rig.device.ClearFaults();
  rig.line.Transcript().Clear();
  const qsizetype boxes = rig.host.Boxes().size();
  const qsizetype violations = rig.device.Violations().size();
  EXPECT_EQ(rig.Run(), SyncEnd::Completed);
  EXPECT_EQ(rig.host.Boxes().mid(boxes), QStringList())
      << rig.line.Transcript().Text().toStdString();
  EXPECT_EQ(rig.device.Violations().mid(violations), QStringList());
  // Every part of every due message, told apart by its record; a split
  // message broken off is taken up where it ended.
  const QStringList held = rig.HeldEntryIds();
  std::map<QString, std::set<QByteArray>> parts;
  for (const sim::HeldMessage& message : rig.device.Held())
    parts[QString::fromUtf8(message.entryId)].insert(message.record);
  qsizetype repeats = 0;
  for (const QString& id : scenario.due) {
    const size_t expected = id == scenario.due[1] ? 3 : 1;
    EXPECT_EQ(parts[id].size(), expected) << id.toStdString() << ": a part never reached the Kelvo";
    repeats += held.count(id) - static_cast<qsizetype>(expected);
  }
  EXPECT_LE(repeats, 1);
  EXPECT_FALSE(held.contains(u"stale"_s));
  EXPECT_FALSE(held.contains(scenario.dropped));
  const int drafts = rig.FilesIn(kDrafts);
  EXPECT_EQ(drafts, 2);
  const std::multiset<QByteArray> after = MessageContents(rig.dir.path());
  for (const QByteArray& content : before) EXPECT_GE(after.count(content), before.count(content));
  return summary;
}

// Every reply of the scenario's synchronisation spoilt in every way, each run
// judged by the rules above; what each fault shows is kept as a data file.
TEST(FaultMatrixTest, EveryFaultEndsSoundlyAndTheNextRunMendsIt) {
  Scenario clean;
  clean.rig.Run();
  const int replies = clean.rig.device.RepliesSent();
  ASSERT_GT(replies, 40);
  QString summary;
  for (int reply = 1; reply <= replies; ++reply) {
    for (FaultKind kind : {FaultKind::WrongByte, FaultKind::Twice, FaultKind::Joined,
                           FaultKind::Silence, FaultKind::HangUp, FaultKind::TooMany}) {
      SCOPED_TRACE(std::to_string(reply) + " " + KindName(kind));
      summary += RunWithFault(reply, kind) + u'\n';
    }
  }
  EXPECT_EQ(summary, Golden("fault_matrix.txt", summary));
}

}  // namespace
}  // namespace zandor::testing
