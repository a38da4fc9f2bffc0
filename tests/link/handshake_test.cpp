#include "link/handshake.h"

#include <gtest/gtest.h>

#include "exchange_checks.h"
#include "support/device_bench.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using namespace zandor::testing;
using sim::FaultKind;

struct HandshakeRow {
  const char* name;
  std::optional<FaultKind> fault;  // at the Kelvo's first reply
  bool opened;
  const char* transcript;
};

class HandshakeTest : public ::testing::TestWithParam<HandshakeRow> {};

TEST_P(HandshakeTest, OpensOnlyOnExactlyOneAck) {
  const HandshakeRow& row = GetParam();
  DeviceBench bench;
  bench.device.AddWritten({});  // so that a joined reply shows the next item
  if (row.fault) bench.device.AddFault({1, *row.fault, {}});
  bench.host.BreakWhenSilent(20);

  EXPECT_EQ(Handshake(bench.link), row.opened);
  EXPECT_EQ(bench.Transcript(), QString::fromUtf8(row.transcript));
  ExpectSoundEnding(bench.line.Transcript());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, HandshakeTest,
    ::testing::Values(
        HandshakeRow{"Ack", std::nullopt, true, "PC  ACK\nKV  ACK\n"},
        HandshakeRow{"WrongByte", FaultKind::WrongByte, false, "PC  ACK\nKV  \\x15\n"},
        HandshakeRow{"AckTwice", FaultKind::Twice, false, "PC  ACK\nKV  ACK ACK\n"},
        HandshakeRow{"AckJoinedWithTheFirstItem", FaultKind::Joined, false,
                     "PC  ACK\nKV  ACK CMD_MESSAGE\n"},
        HandshakeRow{"AckAndMore", FaultKind::TooMany, false, "PC  ACK\nKV  ACK \"#\"\n"},
        HandshakeRow{"SilenceThenBreak", FaultKind::Silence, false,
                     "PC  ACK\n--  &Break\nPC  ABORT\n--  box:       User Break      \n"},
        HandshakeRow{"HangUp", FaultKind::HangUp, false,
                     "PC  ACK\n--  device lost: Input/output error\n--  box: The Kelvo is no "
                     "longer connected (Input/output error). The synchronisation was stopped; "
                     "check the cable and try again.\nPC  ABORT\n--  box:       User Break      "
                     "\n"}),
    RowName());

TEST(HandshakeBreakTest, BreakAlreadySetWritesAckThenAbort) {
  DeviceBench bench;
  bench.session.BreakRequested = true;
  EXPECT_FALSE(Handshake(bench.link));
  EXPECT_EQ(bench.Transcript(),
            QStringLiteral("PC  ACK\nPC  ABORT\n--  box:       User Break      \n"));
}

}  // namespace
}  // namespace zandor
