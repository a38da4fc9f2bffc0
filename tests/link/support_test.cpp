// The in-process stand-ins other tests rely on: the line's delivery and
// events, and the plain folder tree.
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "support/in_process_line.h"
#include "support/recording_host.h"
#include "support/tree_model.h"

namespace zandor {
namespace {

using namespace zandor::testing;
namespace p = zandor::protocol;

struct LineRig {
  LineRig() {
    EXPECT_EQ(line.Open(QStringLiteral("/dev/x"), LineSettings{}), std::nullopt);
    line.SetEventHandler([this](const LineEvent& event) { events.push_back(event); });
  }
  // The handshake reply, then the poll's answer CmdEnd: two single bytes.
  QByteArray PumpAndRead() {
    line.Pump();
    return line.ReadAll();
  }
  sim::KelvoDevice device;
  InProcessLine line{device};
  std::vector<LineEvent> events;
};

TEST(InProcessLineTest, AnswersBecomeReadableOnlyAtTheNextYield) {
  LineRig rig;
  rig.line.Write(QByteArray(1, p::Ack));
  EXPECT_TRUE(rig.line.ReadAll().isEmpty());
  EXPECT_EQ(rig.PumpAndRead(), QByteArray(1, p::Ack));
  EXPECT_EQ(rig.line.Transcript().Text(), QStringLiteral("PC  ACK\nKV  ACK\n"));
}

TEST(InProcessLineTest, ChunksDelayAndHold) {
  LineRig rig;
  rig.device.AddHeld({QStringLiteral("0000002A"), "entry", 1, "r"});
  rig.line.Write(QByteArray(1, p::Ack));
  rig.PumpAndRead();
  rig.line.Write(QByteArray(1, p::Ack));  // poll: CmdMessageId
  rig.PumpAndRead();
  rig.line.Write(QByteArray(1, p::Ack));  // length field "5\0"
  rig.PumpAndRead();
  rig.line.Write(QByteArray(1, p::Ack));  // entry id "entry"
  rig.line.SetChunkSize(2);
  EXPECT_EQ(rig.PumpAndRead(), QByteArray("en"));
  EXPECT_EQ(rig.PumpAndRead(), QByteArray("tr"));
  EXPECT_EQ(rig.PumpAndRead(), QByteArray("y"));
  rig.line.SetChunkSize(0);
  rig.line.SetDeliveryDelay(3);
  rig.line.Write(QByteArray(1, p::Ack));  // device id
  EXPECT_TRUE(rig.PumpAndRead().isEmpty());
  EXPECT_TRUE(rig.PumpAndRead().isEmpty());
  EXPECT_EQ(rig.PumpAndRead(), QByteArray("0000002A\0", 9));
  rig.line.SetDeliveryDelay(1);
  rig.line.SetHold(true);
  rig.line.Write(QByteArray(2, p::Ack));  // acknowledge and poll: CmdEnd
  EXPECT_TRUE(rig.PumpAndRead().isEmpty());
  rig.line.SetHold(false);
  EXPECT_EQ(rig.PumpAndRead(), QByteArray(1, p::CmdEnd));
}

TEST(InProcessLineTest, EventsComeInTheirYieldAndAHangUpIsReportedOnce) {
  LineRig rig;
  rig.line.RaiseEvent({LineEvent::Kind::Error, 1004, {}}, 2);
  rig.line.Pump();
  EXPECT_TRUE(rig.events.empty());
  rig.line.Pump();
  ASSERT_EQ(rig.events.size(), 1u);
  EXPECT_EQ(rig.events[0].code, 1004);

  rig.device.AddFault({1, sim::FaultKind::HangUp, {}});
  rig.line.Write(QByteArray(1, p::Ack));
  rig.line.Pump();
  rig.line.Pump();
  ASSERT_EQ(rig.events.size(), 2u);
  EXPECT_EQ(rig.events[1].kind, LineEvent::Kind::DeviceLost);
  rig.line.Write(QByteArray(1, p::Abort));
  EXPECT_EQ(rig.line.WrittenWhileClosed(), QByteArray(1, p::Abort));
  EXPECT_EQ(rig.line.Transcript().Text(),
            QStringLiteral("--  line error 1004\nPC  ACK\n--  device lost: Input/output error\n"
                           "PC  ABORT\n"));
}

TEST(InProcessLineTest, OpenCanFailAndCloseDropsWhatWaits) {
  LineRig rig;
  rig.line.Write(QByteArray(1, p::Ack));
  rig.line.Close();
  EXPECT_FALSE(rig.line.IsOpen());
  EXPECT_TRUE(rig.PumpAndRead().isEmpty());
  rig.line.FailOpen({QStringLiteral("Permission denied"), QStringLiteral("join dialout")});
  const std::optional<OpenFailure> failure = rig.line.Open(QStringLiteral("/dev/x"), {});
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->reason, QStringLiteral("Permission denied"));
  EXPECT_FALSE(rig.line.IsOpen());
  EXPECT_EQ(rig.line.OpenCount(), 1);
}

TEST(RecordingHostTest, BreakWhenSilentPressesOnceAfterThatManyEmptyPasses) {
  SyncSession session;
  RecordingHost host(nullptr, &session);
  host.BreakWhenSilent(3);
  host.Yield(Host::YieldMode::WaitForEvents);
  host.Yield(Host::YieldMode::WaitForEvents);
  host.Yield(Host::YieldMode::Poll);  // something came: the count starts again
  host.Yield(Host::YieldMode::WaitForEvents);
  host.Yield(Host::YieldMode::WaitForEvents);
  EXPECT_FALSE(session.BreakRequested);
  host.Yield(Host::YieldMode::WaitForEvents);
  EXPECT_TRUE(session.BreakRequested);
  EXPECT_EQ(host.BreakPresses(), 1);
}

TEST(TreeModelTest, KeepsTheFolderViewContract) {
  TreeModel tree;
  EXPECT_TRUE(tree.AddRoot(QStringLiteral("in"), QStringLiteral("Inbox")));
  EXPECT_TRUE(tree.AddRoot(QStringLiteral("sent"), QStringLiteral("Sent Items")));
  EXPECT_FALSE(tree.AddRoot(QStringLiteral("in"), QStringLiteral("again")));
  EXPECT_TRUE(tree.AddNode(QStringLiteral("in"), FolderView::Relation::Child, QStringLiteral("a"),
                           QStringLiteral("A")));
  EXPECT_TRUE(tree.AddNode(QStringLiteral("in"), FolderView::Relation::Child, QStringLiteral("c"),
                           QStringLiteral("C")));
  // Next puts the node right after its relative, not at the end.
  EXPECT_TRUE(tree.AddNode(QStringLiteral("a"), FolderView::Relation::Next, QStringLiteral("b"),
                           QStringLiteral("B")));
  EXPECT_TRUE(tree.AddNode(QStringLiteral("in"), FolderView::Relation::Next, QStringLiteral("mid"),
                           QStringLiteral("Between")));
  EXPECT_FALSE(tree.AddNode(QStringLiteral("nope"), FolderView::Relation::Child,
                            QStringLiteral("x"), QStringLiteral("X")));
  EXPECT_FALSE(tree.AddNode(QStringLiteral("in"), FolderView::Relation::Child, QStringLiteral("a"),
                            QStringLiteral("dup")));
  tree.Set(QStringLiteral("a"), FolderView::Flag::Checked, true);
  tree.Set(QStringLiteral("in"), FolderView::Flag::Expanded, true);
  tree.Set(QStringLiteral("b"), FolderView::Flag::Selected, true);
  tree.Set(QStringLiteral("c"), FolderView::Flag::Selected, true);  // one selection
  tree.Set(QStringLiteral("nope"), FolderView::Flag::Bold, true);
  EXPECT_FALSE(tree.Get(QStringLiteral("nope"), FolderView::Flag::Bold));
  EXPECT_EQ(tree.Dump(), QStringLiteral("[ ] Inbox <in> expanded\n"
                                        "  [x] A <a>\n"
                                        "  [ ] B <b>\n"
                                        "  [ ] C <c> selected\n"
                                        "[ ] Between <mid>\n"
                                        "[ ] Sent Items <sent>\n"));
  EXPECT_EQ(tree.Parent(QStringLiteral("b")), QStringLiteral("in"));
  EXPECT_EQ(tree.Parent(QStringLiteral("mid")), std::nullopt);
  tree.Clear();
  EXPECT_EQ(tree.NodeCount(), 0);
  EXPECT_TRUE(tree.AddRoot(QStringLiteral("in"), QStringLiteral("Inbox")));
}

}  // namespace
}  // namespace zandor
