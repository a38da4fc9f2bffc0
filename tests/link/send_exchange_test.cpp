#include <gtest/gtest.h>

#include "exchange_checks.h"
#include "link/handshake.h"
#include "link/protocol.h"
#include "support/device_bench.h"
#include "support/row_name.h"
#include "sync/phases.h"

namespace zandor {
namespace {

using namespace zandor::testing;
using sim::FaultKind;

// A bench whose Kelvo has answered the handshake (its reply 1), so that the
// replies of the first part are numbered 2 (to CmdMessage) to 7 (to the record).
struct SendBench : DeviceBench {
  SendBench() {
    host.BreakWhenSilent(20);
    EXPECT_TRUE(Handshake(link));
  }
  SendOutcome Send(int kind, const QString& entryId, const QByteArray& record,
                   const QString& suffix = {}) {
    SyncContext context = Context();
    host.Yield();  // the caller yields before each part
    return SendPart(context, kind, entryId, record, suffix);
  }
};

TEST(SendExchangeTest, ThreePartsOfASplitMessageEachRepeatTheWholeExchange) {
  SendBench bench;
  const QString id = QStringLiteral("000000001A2B3C4D5E6F");
  const QByteArray sep(1, '\xFE');
  const QByteArray parts[] = {
      "(1/3) Trip" + sep + "Ann" + sep + "Bob" + sep + "Day one" + sep + "01-Mar-2026 9:30:00" +
          sep + "Inbox" + sep + sep,
      "(2/3) Trip" + sep + "Ann" + sep + "Bob" + sep + "Day two" + sep + "01-Mar-2026 9:30:00" +
          sep + "Inbox" + sep + sep,
      "(3/3) Trip" + sep + "Ann" + sep + "Bob" + sep + "Day \"3\"" + sep + "01-Mar-2026 9:30:00" +
          sep + "Inbox" + sep + sep,
  };
  for (const QByteArray& part : parts) {
    EXPECT_EQ(bench.Send(1, id, part), SendOutcome::Done);
  }
  EXPECT_EQ(bench.Transcript(),
            Golden(QStringLiteral("link/golden/send_three_parts.txt"), bench.Transcript()));
  EXPECT_TRUE(bench.host.Boxes().isEmpty());
  EXPECT_TRUE(bench.device.Violations().isEmpty())
      << bench.device.Violations().join(u'\n').toStdString();

  // The Kelvo holds each part as a message of its own, under the same entry id.
  const std::vector<sim::HeldMessage>& held = bench.device.Held();
  ASSERT_EQ(held.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(held[static_cast<std::size_t>(i)].entryId, id.toUtf8());
    EXPECT_EQ(held[static_cast<std::size_t>(i)].kind, 1);
    EXPECT_EQ(held[static_cast<std::size_t>(i)].record, parts[i]);
    EXPECT_EQ(held[static_cast<std::size_t>(i)].deviceId, QStringLiteral("0000000%1").arg(i + 1));
  }
  EXPECT_EQ(bench.host.StatusHistory(2),
            (QStringList{QStringLiteral("Message size: %1 bytes").arg(parts[0].size() + 1),
                         QStringLiteral("Message size: %1 bytes").arg(parts[1].size() + 1),
                         QStringLiteral("Message size: %1 bytes").arg(parts[2].size() + 1)}));
}

TEST(SendExchangeTest, WritesEachFieldAfterItsAckInTwoWrites) {
  SendBench bench;
  const QString id(140, QLatin1Char('E'));
  const QByteArray record(300, 'r');
  EXPECT_EQ(bench.Send(1, id, record, QStringLiteral(" (truncated)")), SendOutcome::Done);
  const QStringList expected = {
      QStringLiteral("PC  ACK"),  // the handshake
      QStringLiteral("PC  CMD_MESSAGE"),
      QStringLiteral("PC  ACK"),
      QStringLiteral("PC  \"000001\" NUL"),
      QStringLiteral("PC  ACK"),
      QStringLiteral("PC  \"000140\" NUL"),
      QStringLiteral("PC  ACK"),
      QStringLiteral("PC  \"%1\" NUL").arg(id),
      QStringLiteral("PC  ACK"),
      QStringLiteral("PC  \"000300\" NUL"),
      QStringLiteral("PC  ACK"),
      QStringLiteral("PC  \"%1\" NUL").arg(QString::fromLatin1(record)),
  };
  EXPECT_EQ(PcWrites(bench.line.Transcript()), expected);
  EXPECT_EQ(bench.host.Status(2), QStringLiteral("Message size: 301 bytes (truncated)"));
  // The status is written before the step's yield, once per part.
  EXPECT_EQ(bench.host.StatusHistory(2).size(), 1);
}

TEST(SendExchangeTest, EntryIdTravelsAsUtf8AndItsLengthCountsBytes) {
  SendBench bench;
  const QString id = QStringLiteral("Входящие/1772.M1P2");  // 8 Cyrillic letters
  const QByteArray utf8 = id.toUtf8();
  ASSERT_EQ(utf8.size(), 26);
  EXPECT_EQ(bench.Send(2, id, "x"), SendOutcome::Done);
  const QStringList writes = PcWrites(bench.line.Transcript());
  EXPECT_EQ(writes[3], QStringLiteral("PC  \"000002\" NUL"));
  EXPECT_EQ(writes[5], QStringLiteral("PC  \"000026\" NUL"));
  ASSERT_EQ(bench.device.Held().size(), 1u);
  EXPECT_EQ(bench.device.Held()[0].entryId, utf8);
  EXPECT_EQ(bench.device.Held()[0].kind, 2);
  EXPECT_TRUE(bench.device.Violations().isEmpty());
}

TEST(SendExchangeTest, RecordBytesTravelUnchangedEvenControlBytes) {
  SendBench bench;
  const QByteArray record("a\0b\x01\x02\x0A\xFE\xFF", 8);
  EXPECT_EQ(bench.Send(1, QStringLiteral("id"), record), SendOutcome::Done);
  ASSERT_EQ(bench.device.Held().size(), 1u);
  EXPECT_EQ(bench.device.Held()[0].record, record);
  EXPECT_EQ(bench.host.Status(2), QStringLiteral("Message size: 9 bytes"));
}

struct SendFaultRow {
  std::string name;
  int reply;  // 2..7: the Kelvo's answer to step reply - 1
  FaultKind fault;
};

class SendFaultTest : public ::testing::TestWithParam<SendFaultRow> {};

TEST_P(SendFaultTest, EndsTheExchangeAtTheFailingStep) {
  const SendFaultRow& row = GetParam();
  SendBench bench;
  bench.device.AddFault({row.reply, row.fault, {}});
  const int step = row.reply - 1;

  const SendOutcome outcome = bench.Send(1, QStringLiteral("entry-1"),
                                         "subject\xFE"
                                         "body");

  const bool broken = row.fault == FaultKind::Silence || row.fault == FaultKind::HangUp;
  QStringList boxes;
  if (row.fault == FaultKind::HangUp) boxes << kLostBox;
  if (broken) {
    boxes << kUserBreakBox;
  } else {
    boxes << QStringLiteral("Comm Err %1").arg(step);
  }
  EXPECT_EQ(outcome, broken ? SendOutcome::Broken : SendOutcome::Failed);
  EXPECT_EQ(bench.host.Boxes(), boxes);
  ExpectSoundEnding(bench.line.Transcript());

  // Handshake, CmdMessage, two writes for each step before the failing one and
  // for the failing one; after a break, the abort byte.
  const int writes = 1 + 1 + 2 * (step - 1) + (broken ? 1 : 0);
  EXPECT_EQ(PcWrites(bench.line.Transcript()).size(), writes) << bench.Transcript().toStdString();
  if (step < 5) {
    EXPECT_TRUE(bench.host.StatusHistory(2).isEmpty());
  }
  if (step >= 5) {
    EXPECT_EQ(bench.host.StatusHistory(2).size(), 1);
  }
}

std::vector<SendFaultRow> SendFaultRows() {
  std::vector<SendFaultRow> rows;
  for (int reply = 2; reply <= 7; ++reply) {
    for (const FaultKind kind : kEveryFault) {
      rows.push_back({"Step" + std::to_string(reply - 1) + FaultName(kind), reply, kind});
    }
  }
  return rows;
}

INSTANTIATE_TEST_SUITE_P(EveryStep, SendFaultTest, ::testing::ValuesIn(SendFaultRows()), RowName());

// &Break pressed at every yield of the exchange, one row per yield.
class SendBreakTest : public ::testing::TestWithParam<int> {};

TEST_P(SendBreakTest, EndsBrokenWithoutAnErrorBox) {
  const int yield = GetParam();
  SendBench bench;
  const int before = bench.host.YieldCount();
  bench.host.BreakAtYield(before + yield);

  const SendOutcome outcome = bench.Send(1, QStringLiteral("entry-1"), "record");

  EXPECT_EQ(outcome, SendOutcome::Broken);
  for (const QString& box : bench.host.Boxes()) EXPECT_EQ(box, kUserBreakBox);
  EXPECT_LE(bench.host.Boxes().size(), 1);
  ExpectSoundEnding(bench.line.Transcript());
  const QStringList writes = PcWrites(bench.line.Transcript());
  if (!bench.host.Boxes().isEmpty()) {
    EXPECT_EQ(writes.last(), QStringLiteral("PC  ABORT"));
  }
  // Nothing is written after the wait that saw the break.
  const qsizetype abortAt = writes.indexOf(QStringLiteral("PC  ABORT"));
  if (abortAt >= 0) {
    EXPECT_EQ(abortAt, writes.size() - 1);
  }
}

// A clean exchange takes 1 + 6 waits of two yields and 5 yields before steps
// 2 to 6: 18 yields, the first being the caller's.
INSTANTIATE_TEST_SUITE_P(EveryYield, SendBreakTest, ::testing::Range(1, 19));

TEST(SendExchangeTest, CleanExchangeTakesEighteenYieldsAndABreakInTheLastStillBreaks) {
  {
    SendBench bench;
    const int before = bench.host.YieldCount();
    EXPECT_EQ(bench.Send(1, QStringLiteral("e"), "r"), SendOutcome::Done);
    EXPECT_EQ(bench.host.YieldCount() - before, 18);
  }
  // In the last yield the final Ack has been read: no abort byte, no box, but
  // the outcome is broken all the same.
  SendBench bench;
  bench.host.BreakAtYield(bench.host.YieldCount() + 18);
  EXPECT_EQ(bench.Send(1, QStringLiteral("e"), "r"), SendOutcome::Broken);
  EXPECT_TRUE(bench.host.Boxes().isEmpty());
  EXPECT_EQ(PcWrites(bench.line.Transcript()).count(QStringLiteral("PC  ABORT")), 0);
}

TEST(SendExchangeTest, BreakAlreadySetWritesCmdMessageThenAbort) {
  SendBench bench;
  bench.session.BreakRequested = true;
  SyncContext context = bench.Context();
  EXPECT_EQ(SendPart(context, 1, QStringLiteral("e"), "r", {}), SendOutcome::Broken);
  const QStringList writes = PcWrites(bench.line.Transcript());
  EXPECT_EQ(writes.mid(1),
            (QStringList{QStringLiteral("PC  CMD_MESSAGE"), QStringLiteral("PC  ABORT")}));
  EXPECT_EQ(bench.host.Boxes(), QStringList{kUserBreakBox});
}

TEST(SendExchangeTest, OneByteAYieldChangesNothingForSingleByteAnswers) {
  // One byte per yield changes nothing for single-byte answers.
  SendBench bench;
  bench.line.SetChunkSize(1);
  EXPECT_EQ(bench.Send(1, QStringLiteral("e"), "record"), SendOutcome::Done);
}

}  // namespace
}  // namespace zandor
