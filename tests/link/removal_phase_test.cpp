#include <gtest/gtest.h>

#include "exchange_checks.h"
#include "link/handshake.h"
#include "support/device_bench.h"
#include "support/row_name.h"
#include "sync/phases.h"

namespace zandor {
namespace {

using namespace zandor::testing;
using sim::FaultKind;

const QString kClosing = QStringLiteral("PC  CMD_END\nPC  ACK\n");

// A bench whose Kelvo answered the handshake (reply 1) and holds three
// messages, all three listed in the device list; the selection keeps the
// first, so the other two (0000001A and 000F4240) are to be removed: replies
// 2 and 3 for the first removal, 4 and 5 for the second.
struct RemovalBench : DeviceBench {
  RemovalBench() {
    host.BreakWhenSilent(20);
    options.kelvoRemove = true;
    for (const auto& [deviceId, entryId] :
         {std::pair{"0000000A", "keep.M1"}, std::pair{"0000001A", "gone.M2"},
          std::pair{"000F4240", "gone.M3"}}) {
      device.AddHeld({QString::fromLatin1(deviceId), entryId, 1, "r"});
      session.DeviceList.push_back({QString::fromLatin1(entryId), QString::fromLatin1(deviceId)});
    }
    session.SelectionList.push_back({QStringLiteral("keep.M1"), {}});
    session.SelectionListComplete = true;
    EXPECT_TRUE(Handshake(link));
    line.Transcript().Clear();
  }
  void Run() {
    SyncContext context = Context();
    RunRemovalPhase(context);
  }
  QStringList HeldIds() const {
    QStringList ids;
    for (const sim::HeldMessage& held : device.Held()) ids << held.deviceId;
    return ids;
  }
};

TEST(RemovalPhaseTest, RemovesTwoMessagesThenCloses) {
  RemovalBench bench;
  bench.session.RemovedFromDeviceCount = 5;
  bench.host.SetStatus(2, QStringLiteral("Message size: 12 bytes"));
  bench.Run();

  EXPECT_EQ(bench.Transcript(),
            Golden(QStringLiteral("link/golden/removal_two.txt"), bench.Transcript()));
  EXPECT_TRUE(bench.host.Boxes().isEmpty());
  EXPECT_EQ(bench.session.RemovedFromDeviceCount, 2);
  EXPECT_FALSE(bench.session.DeviceRemovalSkipped);
  EXPECT_EQ(bench.HeldIds(), QStringList{QStringLiteral("0000000A")});
  EXPECT_EQ(bench.device.CurrentStage(), sim::Stage::Finished);
  EXPECT_EQ(bench.device.CompletedSynchronisations(), 1);
  EXPECT_TRUE(bench.device.Violations().isEmpty())
      << bench.device.Violations().join(u'\n').toStdString();
  EXPECT_EQ(bench.host.StatusHistory(1),
            (QStringList{QStringLiteral("Removing from Kelvo: 1"),
                         QStringLiteral("Removing from Kelvo: 2"), QString()}));
  EXPECT_EQ(bench.host.StatusHistory(2), (QStringList{QStringLiteral("Message size: 12 bytes"),
                                                      QString(), QString(), QString()}));
  EXPECT_EQ(bench.host.StatusLines(), (QStringList{{}, {}, {}, {}}));
}

struct QuietRow {
  const char* name;
  bool kelvoRemove;
  std::vector<MessageListEntry> deviceList;
  std::vector<MessageListEntry> selection;
  int countAfter;
};

class RemovalQuietTest : public ::testing::TestWithParam<QuietRow> {};

// Nothing to remove: only the closing bytes go out.
TEST_P(RemovalQuietTest, WritesOnlyTheClosingBytes) {
  const QuietRow& row = GetParam();
  RemovalBench bench;
  bench.options.kelvoRemove = row.kelvoRemove;
  bench.session.DeviceList = row.deviceList;
  bench.session.SelectionList = row.selection;
  bench.session.RemovedFromDeviceCount = 7;
  bench.Run();
  EXPECT_EQ(bench.Transcript(), kClosing);
  EXPECT_EQ(bench.session.RemovedFromDeviceCount, row.countAfter);
  EXPECT_TRUE(bench.host.Boxes().isEmpty());
  EXPECT_EQ(bench.device.Held().size(), 3u);
  EXPECT_EQ(bench.host.StatusLines(), (QStringList{{}, {}, {}, {}}));
}

MessageListEntry E(const char* entryId, const char* deviceId = "") {
  return {QString::fromUtf8(entryId), QString::fromLatin1(deviceId)};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemovalQuietTest,
    ::testing::Values(
        QuietRow{"NotAsked", false, {E("gone.M2", "0000001A")}, {}, 7},
        QuietRow{"DeviceListEmpty", true, {}, {E("keep.M1")}, 0},
        QuietRow{"EverythingSelected",
                 true,
                 {E("keep.M1", "0000000A"), E("gone.M2", "0000001A")},
                 {E("gone.M2"), E("other"), E("keep.M1")},
                 0},
        QuietRow{
            "SelectedTwice", true, {E("keep.M1", "0000000A")}, {E("keep.M1"), E("keep.M1")}, 0}),
    RowName());

TEST(RemovalPhaseTest, EntryIdsDifferingInCaseDoNotMatch) {
  RemovalBench bench;
  bench.session.DeviceList = {E("Keep.M1", "0000000A")};
  bench.Run();
  EXPECT_EQ(bench.Transcript(), QStringLiteral("PC  CMD_REMOVE\nKV  ACK\nPC  \"000010\" NUL\n"
                                               "KV  ACK\nPC  CMD_END\nPC  ACK\n"));
  EXPECT_EQ(bench.session.RemovedFromDeviceCount, 1);
}

TEST(RemovalPhaseTest, DeviceIdOfZerosGoesOutAsSixZeros) {
  RemovalBench bench;
  bench.device.AddHeld({QStringLiteral("00000000"), "zero", 1, "r"});
  bench.session.DeviceList = {E("zero", "00000000")};
  bench.Run();
  EXPECT_TRUE(bench.Transcript().contains(QLatin1String("PC  \"000000\" NUL\n")));
  EXPECT_EQ(bench.device.Held().size(), 3u);
  EXPECT_TRUE(bench.device.Violations().isEmpty());
}

TEST(RemovalPhaseTest, IncompleteSelectionRemovesNothingButStillCloses) {
  RemovalBench bench;
  bench.session.MarkSelectionIncomplete(QStringLiteral("Comm Err 3 while sending"));
  bench.session.RemovedFromDeviceCount = 4;
  bench.Run();
  EXPECT_EQ(bench.Transcript(), kClosing);
  EXPECT_TRUE(bench.session.DeviceRemovalSkipped);
  EXPECT_EQ(bench.session.RemovedFromDeviceCount, 0);
  EXPECT_EQ(bench.device.Held().size(), 3u);
  EXPECT_TRUE(bench.host.Boxes().isEmpty());
}

TEST(RemovalPhaseTest, IncompleteSelectionIsNoReasonToSkipWhenRemovalWasNotAsked) {
  RemovalBench bench;
  bench.options.kelvoRemove = false;
  bench.session.DeviceRemovalSkipped = true;  // left from an earlier run
  bench.session.SelectionListComplete = false;
  bench.Run();
  EXPECT_FALSE(bench.session.DeviceRemovalSkipped);
  EXPECT_EQ(bench.Transcript(), kClosing);
}

TEST(RemovalPhaseTest, DeviceIdThatIsNoHexNumberIsLeftOnTheKelvo) {
  RemovalBench bench;
  bench.session.DeviceList = {E("bad.M9", "0000001G"), E("gone.M2", "0000001A")};
  bench.Run();
  EXPECT_EQ(bench.host.Boxes(),
            QStringList{QStringLiteral("The Kelvo gave the message \"bad.M9\" the identifier "
                                       "\"0000001G\", which is not a hexadecimal number; it was "
                                       "not removed from the Kelvo.")});
  EXPECT_EQ(bench.session.RemovedFromDeviceCount, 1);
  EXPECT_EQ(PcWrites(bench.line.Transcript()),
            (QStringList{QStringLiteral("PC  CMD_REMOVE"), QStringLiteral("PC  \"000026\" NUL"),
                         QStringLiteral("PC  CMD_END"), QStringLiteral("PC  ACK")}));
}

TEST(RemovalPhaseTest, BreakOnEntryWithSomethingToRemoveWritesCmdRemoveThenAbort) {
  RemovalBench bench;
  bench.session.BreakRequested = true;
  bench.Run();
  EXPECT_EQ(bench.Transcript(),
            QStringLiteral("PC  CMD_REMOVE\nPC  ABORT\n--  box:       User Break      \n"));
  EXPECT_EQ(bench.session.RemovedFromDeviceCount, 0);
  EXPECT_EQ(bench.host.Status(1), QStringLiteral("Removing from Kelvo: 1"));
}

TEST(RemovalPhaseTest, BreakOnEntryWithNothingToRemoveWritesNothing) {
  for (const bool asked : {true, false}) {
    RemovalBench bench;
    bench.options.kelvoRemove = asked;
    bench.session.DeviceList.clear();
    bench.session.BreakRequested = true;
    bench.Run();
    EXPECT_EQ(bench.Transcript(), QString()) << asked;
    EXPECT_EQ(bench.host.StatusLines(), (QStringList{{}, {}, {}, {}})) << asked;
  }
}

TEST(RemovalPhaseTest, OptionIsReadWhenThePhaseStarts) {
  RemovalBench bench;
  bench.options.kelvoRemove = true;
  // Unticking the box while the phase runs changes nothing for this phase.
  bench.host.SetYieldHook([&](RecordingHost&, int) { bench.options.kelvoRemove = false; });
  bench.Run();
  EXPECT_EQ(bench.session.RemovedFromDeviceCount, 2);
}

struct RemovalFaultRow {
  std::string name;
  int reply;
  FaultKind fault;
};

class RemovalFaultTest : public ::testing::TestWithParam<RemovalFaultRow> {};

TEST_P(RemovalFaultTest, EndsThePhaseWithoutClosing) {
  const RemovalFaultRow& row = GetParam();
  RemovalBench bench;
  bench.device.AddFault({row.reply, row.fault, {}});
  bench.Run();

  const int removal = row.reply <= 3 ? 1 : 2;
  const int step = row.reply % 2 == 0 ? 1 : 2;  // 1 after CmdRemove, 2 after the identifier
  QStringList boxes;
  if (row.fault == FaultKind::HangUp) boxes << kLostBox;
  if (row.fault == FaultKind::Silence || row.fault == FaultKind::HangUp) {
    boxes << kUserBreakBox;
  } else {
    boxes << QStringLiteral("Comm Err %1").arg(step);
  }
  EXPECT_EQ(bench.host.Boxes(), boxes) << bench.Transcript().toStdString();
  // Only the removals the Kelvo acknowledged count.
  EXPECT_EQ(bench.session.RemovedFromDeviceCount, removal - 1);
  // The status lines keep the progress; no closing bytes.
  EXPECT_EQ(bench.host.Status(1), QStringLiteral("Removing from Kelvo: %1").arg(removal));
  EXPECT_FALSE(PcWrites(bench.line.Transcript()).contains(QStringLiteral("PC  CMD_END")));
  ExpectSoundEnding(bench.line.Transcript());
}

std::vector<RemovalFaultRow> RemovalFaultRows() {
  std::vector<RemovalFaultRow> rows;
  for (int reply = 2; reply <= 5; ++reply) {
    for (const FaultKind kind : kEveryFault) {
      rows.push_back({"Reply" + std::to_string(reply) + FaultName(kind), reply, kind});
    }
  }
  return rows;
}

INSTANTIATE_TEST_SUITE_P(EveryReply, RemovalFaultTest, ::testing::ValuesIn(RemovalFaultRows()),
                         RowName());

class RemovalBreakTest : public ::testing::TestWithParam<int> {};

TEST_P(RemovalBreakTest, BreakAtAnyYieldEndsWithoutClosingBytes) {
  RemovalBench bench;
  bench.host.BreakAtYield(bench.host.YieldCount() + GetParam());
  bench.Run();
  ExpectSoundEnding(bench.line.Transcript());
  const QStringList writes = PcWrites(bench.line.Transcript());
  EXPECT_FALSE(writes.contains(QStringLiteral("PC  CMD_END")));
  EXPECT_LE(bench.host.Boxes().size(), 1);
  for (const QString& box : bench.host.Boxes()) EXPECT_EQ(box, kUserBreakBox);
}

// Two removals take 2 x 6 yields, and the closing one more.
INSTANTIATE_TEST_SUITE_P(EveryYield, RemovalBreakTest, ::testing::Range(1, 14));

TEST(RemovalPhaseTest, CleanPhaseTakesThirteenYields) {
  RemovalBench bench;
  const int before = bench.host.YieldCount();
  bench.Run();
  EXPECT_EQ(bench.host.YieldCount() - before, 13);
}

}  // namespace
}  // namespace zandor
