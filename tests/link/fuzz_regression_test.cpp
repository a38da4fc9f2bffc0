// Cases the fuzz targets under fuzz/ met, kept as tests of the receive phase.

#include <gtest/gtest.h>

#include "link/handshake.h"
#include "link/protocol.h"
#include "support/device_bench.h"
#include "support/row_name.h"
#include "sync/phases.h"

namespace zandor {
namespace {

using namespace zandor::testing;

// A line event raised in the very pass whose read brought the Kelvo's CmdEnd:
// the Kelvo did end its list, so the list is complete; the event's own box and
// break stand, and the break keeps the later phases from acting on the list.
struct EventAfterEndRow {
  const char* name;
  LineEvent event;
  const char* box;  // nullptr: no box
  bool breaks;
};

class EventAfterEndTest : public ::testing::TestWithParam<EventAfterEndRow> {};

TEST_P(EventAfterEndTest, ListStaysCompleteAndTheEventStands) {
  const EventAfterEndRow& row = GetParam();
  DeviceBench bench;
  bench.host.BreakWhenSilent(20);
  ASSERT_TRUE(Handshake(bench.link));
  // The phase's first yield, the wait that finds nothing yet, then the pass
  // that reads CmdEnd.
  bench.line.RaiseEvent(row.event, bench.line.PumpCount() + 3);
  SyncContext context = bench.Context();
  RunReceivePhase(context);

  ASSERT_TRUE(bench.line.Transcript().Lines().contains(QStringLiteral("KV  CMD_END")));
  EXPECT_TRUE(bench.session.DeviceListComplete);
  EXPECT_TRUE(bench.session.DeviceList.empty());
  EXPECT_EQ(bench.session.BreakRequested, row.breaks);
  if (row.box == nullptr) {
    EXPECT_TRUE(bench.host.Boxes().isEmpty());
  } else {
    ASSERT_EQ(bench.host.Boxes().size(), 1);
    EXPECT_TRUE(bench.host.Boxes().front().startsWith(QString::fromUtf8(row.box)))
        << bench.host.Boxes().front().toStdString();
  }
  // Nothing was written after the poll that CmdEnd answered: no Abort, no Ack.
  EXPECT_EQ(bench.line.Transcript().BytesOnly(),
            QStringLiteral("PC  ACK\nKV  ACK\nPC  ACK\nKV  CMD_END\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Events, EventAfterEndTest,
    ::testing::Values(EventAfterEndRow{"ReceiveOverflow",
                                       {LineEvent::Kind::Error, 1008, {}},
                                       "Serial port error #1008",
                                       true},
                      EventAfterEndRow{"DeviceLost",
                                       {LineEvent::Kind::DeviceLost, 0, QStringLiteral("gone")},
                                       "The Kelvo is no longer connected",
                                       true},
                      EventAfterEndRow{"Notice", {LineEvent::Kind::Notice, 2, {}}, nullptr, false}),
    RowName());

}  // namespace
}  // namespace zandor
