// The write, the two read primitives and the line events, on a line whose
// bytes arrive at chosen yields.
#include <gtest/gtest.h>

#include <map>

#include "link/link.h"
#include "link/protocol.h"
#include "support/recording_host.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using testing::RecordingHost;
using testing::RowName;

const QString kUserBreak = QStringLiteral("      User Break      ");

// A line whose input is scripted: bytes arrive at a given yield (0: waiting
// before the first read), events are raised at a given yield.
class ScriptedLine final : public SerialLine {
 public:
  std::optional<OpenFailure> Open(const QString&, const LineSettings&) override {
    return std::nullopt;
  }
  void Close() override {}
  bool IsOpen() const override { return true; }
  void Write(const QByteArray& bytes) override { writes.push_back(bytes); }
  QByteArray ReadAll() override {
    ++reads;
    QByteArray bytes;
    bytes.swap(readable);
    return bytes;
  }
  void DiscardInput() override { readable.clear(); }
  void DiscardOutput() override {}
  void SetEventHandler(EventHandler h) override { handler = std::move(h); }

  void Arrive(int atYield, const QByteArray& bytes) {
    if (atYield == 0) {
      readable += bytes;
    } else {
      arrivals[atYield] += bytes;
    }
  }
  void Pump(int yield) {
    readable += arrivals[yield];
    const auto it = events.find(yield);
    if (it != events.end() && handler) handler(it->second);
  }

  std::map<int, QByteArray> arrivals;
  std::map<int, LineEvent> events;
  QByteArray readable;
  std::vector<QByteArray> writes;
  int reads = 0;
  EventHandler handler;
};

class LinkPrimitivesTest : public ::testing::Test {
 protected:
  LinkPrimitivesTest() {
    host.AttachSession(&session);
    host.SetYieldLimit(1000);
    host.SetYieldHook([this](RecordingHost&, int yield) { line.Pump(yield); });
  }

  ScriptedLine line;
  SyncSession session;
  RecordingHost host;
  Link link{session, line, host};
};

TEST_F(LinkPrimitivesTest, ReadReplyReturnsTheFirstReadThatBringsAnythingEvenAPart) {
  line.Arrive(2, "AB");
  line.Arrive(3, "CD");
  EXPECT_EQ(link.ReadReply(), QByteArray("AB"));
  // Nothing came at the first pass: that yield may wait; the pass that read
  // "AB" must not.
  EXPECT_EQ(host.YieldCount(), 3);
  EXPECT_EQ(host.WaitingYieldCount(), 2);
  // The rest is left for the next read.
  EXPECT_EQ(link.ReadReply(), QByteArray("CD"));
  EXPECT_EQ(host.YieldCount(), 4);
  EXPECT_TRUE(line.writes.empty());
  EXPECT_TRUE(host.Boxes().isEmpty());
}

TEST_F(LinkPrimitivesTest, ReadReplyWithAReplyWaitingReturnsAfterOneYield) {
  line.Arrive(0, QByteArray(1, protocol::Ack));
  EXPECT_EQ(link.ReadReply(), QByteArray(1, protocol::Ack));
  EXPECT_EQ(host.YieldCount(), 1);
  EXPECT_EQ(host.WaitingYieldCount(), 0);
}

TEST_F(LinkPrimitivesTest, ReadReplyAfterABreakReadsNothingAndAborts) {
  line.Arrive(0, QByteArray(1, protocol::Ack));
  session.BreakRequested = true;
  EXPECT_TRUE(link.ReadReply().isEmpty());
  EXPECT_EQ(line.reads, 0);
  EXPECT_EQ(host.YieldCount(), 0);
  ASSERT_EQ(line.writes.size(), 1u);
  EXPECT_EQ(line.writes[0], QByteArray(1, protocol::Abort));
  EXPECT_EQ(host.Boxes(), QStringList{kUserBreak});
  EXPECT_TRUE(session.BreakRequested);  // stays set
}

TEST_F(LinkPrimitivesTest, ReadReplyOnASilentLineWaitsUntilBreak) {
  host.BreakAtYield(40);
  EXPECT_TRUE(link.ReadReply().isEmpty());
  EXPECT_EQ(host.YieldCount(), 40);
  EXPECT_EQ(host.WaitingYieldCount(), 40);
  ASSERT_EQ(line.writes.size(), 1u);
  EXPECT_EQ(line.writes[0], QByteArray(1, protocol::Abort));
  EXPECT_EQ(host.Boxes(), QStringList{kUserBreak});
}

TEST_F(LinkPrimitivesTest, ReadReplyKeepsWhatArrivedInTheYieldOfTheBreak) {
  // The flag is tested before the next read: the reply of that yield stays
  // unread and the wait ends with a break.
  line.Arrive(3, QByteArray(1, protocol::Ack));
  host.BreakAtYield(3);
  EXPECT_TRUE(link.ReadReply().isEmpty());
  EXPECT_EQ(line.readable, QByteArray(1, protocol::Ack));
  EXPECT_EQ(host.Boxes(), QStringList{kUserBreak});
}

TEST_F(LinkPrimitivesTest, ReadReplyReturnsAReadEvenWhenBreakCameInItsYield) {
  line.Arrive(2, "X");
  host.BreakAtYield(3);  // the yield after the read that brought "X"
  EXPECT_EQ(link.ReadReply(), QByteArray("X"));
  EXPECT_TRUE(line.writes.empty());
  EXPECT_TRUE(host.Boxes().isEmpty());
}

TEST_F(LinkPrimitivesTest, ReadExactJoinsPieces) {
  line.Arrive(1, "ab");
  line.Arrive(3, "cd");
  line.Arrive(4, "e");
  EXPECT_EQ(link.ReadExact(5), QByteArray("abcde"));
  EXPECT_EQ(host.YieldCount(), 5);
  EXPECT_EQ(host.WaitingYieldCount(), 2);  // the first pass and the one after yield 2
  EXPECT_TRUE(line.writes.empty());
}

TEST_F(LinkPrimitivesTest, ReadExactWithTheWholeTextWaitingReturnsAfterOneYield) {
  line.Arrive(0, QByteArray("\0\0\0", 3));  // every byte value counts, 0x00 too
  EXPECT_EQ(link.ReadExact(3), QByteArray("\0\0\0", 3));
  EXPECT_EQ(host.YieldCount(), 1);
  EXPECT_EQ(host.WaitingYieldCount(), 0);
}

TEST_F(LinkPrimitivesTest, ReadExactWithTooManyInOneReadFailsSilentlyAtOnce) {
  line.Arrive(0, "abcdef");
  EXPECT_TRUE(link.ReadExact(5).isEmpty());
  EXPECT_EQ(host.YieldCount(), 0);
  EXPECT_TRUE(line.writes.empty());
  EXPECT_TRUE(host.Boxes().isEmpty());
  EXPECT_FALSE(session.BreakRequested);
}

TEST_F(LinkPrimitivesTest, ReadExactWithTooManyOverSeveralReadsFailsSilently) {
  line.Arrive(1, "abc");
  line.Arrive(2, "def");
  EXPECT_TRUE(link.ReadExact(5).isEmpty());
  EXPECT_EQ(host.YieldCount(), 2);
  EXPECT_TRUE(line.writes.empty());
  EXPECT_TRUE(host.Boxes().isEmpty());
  EXPECT_TRUE(line.readable.isEmpty());  // what was read is dropped
}

TEST_F(LinkPrimitivesTest, ReadExactOfNothingFailsAfterOneYieldWithoutWaiting) {
  EXPECT_TRUE(link.ReadExact(0).isEmpty());
  EXPECT_EQ(host.YieldCount(), 1);
  EXPECT_EQ(host.WaitingYieldCount(), 0);
  EXPECT_TRUE(line.writes.empty());
  EXPECT_TRUE(host.Boxes().isEmpty());
}

TEST_F(LinkPrimitivesTest, ReadExactBreakDropsThePartAndAborts) {
  line.Arrive(1, "ab");
  host.BreakAtYield(5);
  EXPECT_TRUE(link.ReadExact(5).isEmpty());
  ASSERT_EQ(line.writes.size(), 1u);
  EXPECT_EQ(line.writes[0], QByteArray(1, protocol::Abort));
  EXPECT_EQ(host.Boxes(), QStringList{kUserBreak});
}

TEST_F(LinkPrimitivesTest, WriteGoesOutInOnePiece) {
  link.Write(QByteArray("000140\0", 7));
  link.Write(protocol::Ack);
  ASSERT_EQ(line.writes.size(), 2u);
  EXPECT_EQ(line.writes[0], QByteArray("000140\0", 7));
  EXPECT_EQ(line.writes[1], QByteArray(1, protocol::Ack));
}

TEST_F(LinkPrimitivesTest, LineErrorDuringAWaitShowsTwoBoxes) {
  line.events[3] = {LineEvent::Kind::Error, 1004, {}};
  EXPECT_TRUE(link.ReadReply().isEmpty());
  EXPECT_EQ(host.Boxes(),
            (QStringList{QStringLiteral("Serial port error #1004\n\rFraming Error. The hardware "
                                        "detected a framing error"),
                         kUserBreak}));
  ASSERT_EQ(line.writes.size(), 1u);
  EXPECT_EQ(line.writes[0], QByteArray(1, protocol::Abort));
  EXPECT_EQ(host.YieldCount(), 3);
}

TEST_F(LinkPrimitivesTest, LineErrorBetweenWaitsShowsOneBoxThenTheNextWaitAborts) {
  line.events[1] = {LineEvent::Kind::Error, 1009, {}};
  line.Arrive(1, QByteArray(1, protocol::Ack));
  host.Yield();  // a yield of a phase, outside any wait
  EXPECT_EQ(host.Boxes(), QStringList{QStringLiteral(
                              "Serial port error #1009\n\rParity Error. The hardware detected a "
                              "parity error")});
  EXPECT_TRUE(session.BreakRequested);
  EXPECT_TRUE(line.writes.empty());

  EXPECT_TRUE(link.ReadReply().isEmpty());  // the Ack waiting is not read
  EXPECT_EQ(line.reads, 0);
  EXPECT_EQ(host.Boxes().size(), 2);
  EXPECT_EQ(host.Boxes().last(), kUserBreak);
  ASSERT_EQ(line.writes.size(), 1u);
  EXPECT_EQ(line.writes[0], QByteArray(1, protocol::Abort));
}

TEST_F(LinkPrimitivesTest, TheLinkInstallsItsHandlerAndRemovesItWhenGone) {
  EXPECT_TRUE(static_cast<bool>(line.handler));
  {
    ScriptedLine other;
    {
      Link scoped(session, other, host);
      EXPECT_TRUE(static_cast<bool>(other.handler));
    }
    EXPECT_FALSE(static_cast<bool>(other.handler));
  }
}

struct EventRow {
  const char* name;
  LineEvent event;
  const char* box;  // nullptr: no box and no break
};

class LineEventTest : public ::testing::TestWithParam<EventRow> {};

TEST_P(LineEventTest, ShowsTheErrorAndBreaks) {
  const EventRow& row = GetParam();
  ScriptedLine line;
  SyncSession session;
  RecordingHost host(nullptr, &session);
  Link link(session, line, host);
  line.handler(row.event);
  if (row.box == nullptr) {
    EXPECT_TRUE(host.Boxes().isEmpty());
    EXPECT_FALSE(session.BreakRequested);
  } else {
    EXPECT_EQ(host.Boxes(), QStringList{QString::fromUtf8(row.box)});
    EXPECT_TRUE(session.BreakRequested);
  }
  EXPECT_TRUE(line.writes.empty());  // the abort byte comes from the next wait
}

LineEvent Error(int code) {
  return {LineEvent::Kind::Error, code, {}};
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LineEventTest,
    ::testing::Values(
        EventRow{"Break1001", Error(1001),
                 "Serial port error #1001\n\rA Break signal was received"},
        EventRow{"Framing1004", Error(1004),
                 "Serial port error #1004\n\rFraming Error. The hardware detected a framing error"},
        EventRow{"Overrun1006", Error(1006),
                 "Serial port error #1006\n\rPort Overrun. A character was not read from the "
                 "hardware before the next character arrived and was lost"},
        EventRow{"Overflow1008", Error(1008),
                 "Serial port error #1008\n\rReceive Buffer Overflow. There is no room in the "
                 "receive buffer"},
        EventRow{"Parity1009", Error(1009),
                 "Serial port error #1009\n\rParity Error. The hardware detected a parity error"},
        EventRow{"TransmitFull1010", Error(1010),
                 "Serial port error #1010\n\rTransmit Buffer Full. The transmit buffer was full "
                 "while trying to queue a character"},
        EventRow{"Dcb1011", Error(1011),
                 "Serial port error #1011\n\rUnexpected error retrieving Device Control Block "
                 "(DCB) for the port"},
        EventRow{"Unknown1002", Error(1002), "Serial port error #1002\n\rUnkown error"},
        EventRow{"Unknown1003", Error(1003), "Serial port error #1003\n\rUnkown error"},
        EventRow{"Unknown1005", Error(1005), "Serial port error #1005\n\rUnkown error"},
        EventRow{"Unknown1007", Error(1007), "Serial port error #1007\n\rUnkown error"},
        EventRow{"Unknown1012", Error(1012), "Serial port error #1012\n\rUnkown error"},
        EventRow{"Unknown32767", Error(32767), "Serial port error #32767\n\rUnkown error"},
        EventRow{"NoticeCode1000", Error(1000), nullptr},
        EventRow{"NoticeCode1", Error(1), nullptr},
        EventRow{"NoticeKind", LineEvent{LineEvent::Kind::Notice, 2, {}}, nullptr},
        EventRow{"DeviceLost",
                 LineEvent{LineEvent::Kind::DeviceLost, 0, QStringLiteral("No such device")},
                 "The Kelvo is no longer connected (No such device). The synchronisation was "
                 "stopped; check the cable and try again."},
        EventRow{"DeviceLostWithoutDetail", LineEvent{LineEvent::Kind::DeviceLost, 0, {}},
                 "The Kelvo is no longer connected. The synchronisation was stopped; check the "
                 "cable and try again."}),
    RowName());

}  // namespace
}  // namespace zandor
