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
using sim::ReceiveItem;

const QString kNow = QStringLiteral("2026-03-01T09:30:00");

sim::WrittenMessage Written(const QByteArray& subject, const QByteArray& to,
                            const QByteArray& body) {
  sim::WrittenMessage message;
  message.fields[0] = subject;
  message.fields[2] = to;
  message.fields[3] = body;
  message.fields[4] = "01-Mar-2026 9:00:00";
  return message;
}

sim::HeldMessage Held(const char* deviceId, const QByteArray& entryId) {
  return {QString::fromLatin1(deviceId), entryId, 1,
          "old"
          "\xFE"
          "record"};
}

// A bench whose Kelvo has answered the handshake (its reply 1).
struct ReceiveBench : DeviceBench {
  ReceiveBench() { host.BreakWhenSilent(20); }
  void Run() {
    ASSERT_TRUE(Handshake(link));
    SyncContext context = Context();
    RunReceivePhase(context);
  }
};

TEST(ReceivePhaseTest, UploadsAndListingsMixed) {
  ReceiveBench bench;
  bench.device.AddWritten(Written("Lunch?", "Ann Smith", "Meet at 12:30\r\nat the usual place"));
  bench.device.AddWritten(Written("Caf\x91", "", "No recipient"));  // 145 is the Kelvo's e-acute
  bench.device.AddHeld(Held("0000000A", "1772390000.M1P1.host"));
  bench.device.AddHeld(Held("0000001B", "1772390001.M2P1.host"));
  bench.device.SetReceiveOrder({{ReceiveItem::Kind::Listing, 0},
                                {ReceiveItem::Kind::Upload, 0},
                                {ReceiveItem::Kind::Listing, 1},
                                {ReceiveItem::Kind::Upload, 1}});
  bench.Run();

  EXPECT_EQ(bench.Transcript(),
            Golden(QStringLiteral("link/golden/receive_mixed.txt"), bench.Transcript()));
  EXPECT_TRUE(bench.host.Boxes().isEmpty());
  EXPECT_TRUE(bench.device.Violations().isEmpty())
      << bench.device.Violations().join(u'\n').toStdString();

  EXPECT_EQ(bench.session.ReceivedCount, 2);
  EXPECT_TRUE(bench.session.DeviceListComplete);
  ASSERT_EQ(bench.session.DeviceList.size(), 2u);
  EXPECT_EQ(bench.session.DeviceList[0].EntryId, QStringLiteral("1772390000.M1P1.host"));
  EXPECT_EQ(bench.session.DeviceList[0].DeviceId, QStringLiteral("0000000A"));
  EXPECT_EQ(bench.session.DeviceList[1].EntryId, QStringLiteral("1772390001.M2P1.host"));
  EXPECT_EQ(bench.session.DeviceList[1].DeviceId, QStringLiteral("0000001B"));

  const std::vector<SavedItem>& saved = bench.store.SavedItems();
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[0].subject, QStringLiteral("Lunch?"));
  EXPECT_EQ(saved[0].body, QStringLiteral("Meet at 12:30\r\nat the usual place"));
  EXPECT_EQ(saved[0].recipients, QStringList{QStringLiteral("Ann Smith")});
  EXPECT_EQ(saved[0].kelvoSent, QDateTime::fromString(kNow, Qt::ISODate));
  EXPECT_EQ(saved[1].subject, QStringLiteral("Café"));
  EXPECT_EQ(saved[1].recipients, QStringList{QStringLiteral("Dummy")});

  EXPECT_EQ(bench.host.StatusHistory(1), (QStringList{QStringLiteral("Waiting for messages..."),
                                                      QStringLiteral("Receiving message ID: 1"),
                                                      QStringLiteral("Receiving message: 1"),
                                                      QStringLiteral("Receiving message ID: 2"),
                                                      QStringLiteral("Receiving message: 2")}));
  EXPECT_EQ(bench.host.StatusHistory(2),
            (QStringList{QStringLiteral("Message size: 74"), QStringLiteral("Message size: 42")}));

  // Each upload the PC acknowledged is now held under the store's entry id.
  EXPECT_TRUE(bench.device.Written().empty());
  ASSERT_EQ(bench.device.Held().size(), 4u);
  EXPECT_EQ(bench.device.Held()[2].entryId, QByteArray("draft-000001"));
  EXPECT_EQ(bench.device.Held()[2].deviceId, QStringLiteral("00000001"));
  EXPECT_EQ(bench.device.Held()[3].entryId, QByteArray("draft-000002"));
  EXPECT_EQ(bench.device.Held()[3].deviceId, QStringLiteral("00000002"));
}

TEST(ReceivePhaseTest, NothingOnTheKelvoEndsAtTheFirstPoll) {
  ReceiveBench bench;
  bench.session.ReceivedCount = 9;
  bench.session.DeviceList.push_back({QStringLiteral("stale"), QStringLiteral("00000001")});
  bench.Run();
  EXPECT_EQ(bench.Transcript(), QStringLiteral("PC  ACK\nKV  ACK\nPC  ACK\nKV  CMD_END\n"));
  EXPECT_EQ(bench.session.ReceivedCount, 0);
  EXPECT_TRUE(bench.session.DeviceList.empty());
  EXPECT_TRUE(bench.session.DeviceListComplete);
  EXPECT_EQ(bench.host.StatusLines(),
            (QStringList{QStringLiteral("Waiting for messages..."), {}, {}, {}}));
}

// One upload (replies 2 to 6) then one listing (replies 7 to 10), then CmdEnd
// (reply 11). The entry id of the listing is 14 bytes long.
struct ReceiveFaultRow {
  std::string name;
  int reply;
  FaultKind fault;
  QStringList boxes;
  int received;
  int listed;
  int saved;
  bool complete;
};

class ReceiveFaultTest : public ::testing::TestWithParam<ReceiveFaultRow> {};

TEST_P(ReceiveFaultTest, ShowsTheStepsErrorAndKeepsWhatCameBefore) {
  const ReceiveFaultRow& row = GetParam();
  ReceiveBench bench;
  bench.device.AddWritten(Written("Hello", "Bob", "Hi\r\nthere"));
  bench.device.AddHeld(Held("0000002A", "cur-entry-0001"));
  bench.device.AddFault({row.reply, row.fault, {}});
  bench.Run();

  EXPECT_EQ(bench.host.Boxes(), row.boxes) << bench.Transcript().toStdString();
  EXPECT_EQ(bench.session.ReceivedCount, row.received);
  EXPECT_EQ(static_cast<int>(bench.session.DeviceList.size()), row.listed);
  EXPECT_EQ(static_cast<int>(bench.store.SavedItems().size()), row.saved);
  EXPECT_EQ(bench.session.DeviceListComplete, row.complete);
  if (row.listed == 1) {
    EXPECT_EQ(bench.session.DeviceList[0].EntryId, QStringLiteral("cur-entry-0001"));
    EXPECT_EQ(bench.session.DeviceList[0].DeviceId, QStringLiteral("0000002A"));
  }
  ExpectSoundEnding(bench.line.Transcript());
}

std::vector<ReceiveFaultRow> ReceiveFaultRows() {
  const QString ub = kUserBreakBox;
  const QString lost = kLostBox;
  auto err = [](int n) { return QStringLiteral("Comm Err %1").arg(n); };
  using F = FaultKind;
  struct Outcome {
    QStringList boxes;
    int received, listed, saved;
    bool complete;
  };
  const Outcome clean{{}, 1, 1, 1, true};
  auto rows = std::vector<ReceiveFaultRow>{};
  auto add = [&](int reply, F fault, const Outcome& o) {
    rows.push_back({"Reply" + std::to_string(reply) + FaultName(fault), reply, fault, o.boxes,
                    o.received, o.listed, o.saved, o.complete});
  };
  // 2: the CmdMessage that answers the first poll.
  for (const F f : {F::WrongByte, F::Twice, F::Joined, F::TooMany})
    add(2, f, {{err(12)}, 0, 0, 0, false});
  add(2, F::Silence, {{ub, err(12)}, 0, 0, 0, false});
  add(2, F::HangUp, {{lost, ub, err(12)}, 0, 0, 0, false});
  // 3: the size field. Read as the digits at its start, "NN\0NN\0" and "NN\0#"
  // still give the right size.
  add(3, F::WrongByte, {{err(13)}, 0, 0, 0, false});
  add(3, F::Twice, clean);
  add(3, F::TooMany, clean);
  add(3, F::Joined, {{ub, err(13)}, 0, 0, 0, false});  // the record came early: silence
  add(3, F::Silence, {{ub}, 0, 0, 0, false});
  add(3, F::HangUp, {{lost, ub}, 0, 0, 0, false});
  // 4: the record.
  add(4, F::WrongByte, {{ub, err(13)}, 0, 0, 0, false});  // too short: silence
  for (const F f : {F::Twice, F::Joined, F::TooMany}) add(4, f, {{err(13)}, 0, 0, 0, false});
  add(4, F::Silence, {{ub, err(13)}, 0, 0, 0, false});
  add(4, F::HangUp, {{lost, ub, err(13)}, 0, 0, 0, false});
  // 5 and 6: the Acks to the entry id's length and to the entry id. The item
  // is saved by then and stays saved, uncounted.
  for (const int reply : {5, 6}) {
    const int number = reply == 5 ? 10 : 11;
    for (const F f : {F::WrongByte, F::Twice, F::Joined, F::TooMany}) {
      add(reply, f, {{err(number)}, 0, 0, 1, false});
    }
    add(reply, F::Silence, {{ub}, 0, 0, 1, false});
    add(reply, F::HangUp, {{lost, ub}, 0, 0, 1, false});
  }
  // 7: the CmdMessageId that answers the second poll.
  for (const F f : {F::WrongByte, F::Twice, F::Joined, F::TooMany})
    add(7, f, {{err(12)}, 1, 0, 1, false});
  add(7, F::Silence, {{ub, err(12)}, 1, 0, 1, false});
  add(7, F::HangUp, {{lost, ub, err(12)}, 1, 0, 1, false});
  // 8: the entry id's length field.
  add(8, F::WrongByte, {{err(20)}, 1, 0, 1, false});  // a size of 0
  add(8, F::Twice, clean);
  add(8, F::TooMany, clean);
  add(8, F::Joined, {{ub, err(20)}, 1, 0, 1, false});  // the device id comes instead: too short
  add(8, F::Silence, {{ub}, 1, 0, 1, false});
  add(8, F::HangUp, {{lost, ub}, 1, 0, 1, false});
  // 9: the entry id.
  add(9, F::WrongByte, {{ub, err(20)}, 1, 0, 1, false});
  for (const F f : {F::Twice, F::Joined, F::TooMany}) add(9, f, {{err(20)}, 1, 0, 1, false});
  add(9, F::Silence, {{ub, err(20)}, 1, 0, 1, false});
  add(9, F::HangUp, {{lost, ub, err(20)}, 1, 0, 1, false});
  // 10: the device id.
  add(10, F::WrongByte, {{ub, err(21)}, 1, 0, 1, false});
  for (const F f : {F::Twice, F::Joined, F::TooMany}) add(10, f, {{err(21)}, 1, 0, 1, false});
  add(10, F::Silence, {{ub, err(21)}, 1, 0, 1, false});
  add(10, F::HangUp, {{lost, ub, err(21)}, 1, 0, 1, false});
  // 11: the CmdEnd that answers the last poll: without it the list is incomplete.
  for (const F f : {F::WrongByte, F::Twice, F::Joined, F::TooMany})
    add(11, f, {{err(12)}, 1, 1, 1, false});
  add(11, F::Silence, {{ub, err(12)}, 1, 1, 1, false});
  add(11, F::HangUp, {{lost, ub, err(12)}, 1, 1, 1, false});
  return rows;
}

INSTANTIATE_TEST_SUITE_P(EveryReply, ReceiveFaultTest, ::testing::ValuesIn(ReceiveFaultRows()),
                         RowName());

// &Break at every yield of the clean exchange of one upload and one listing.
class ReceiveBreakTest : public ::testing::TestWithParam<int> {};

TEST_P(ReceiveBreakTest, EndsTheStageWithOneBreakBoxAtMost) {
  ReceiveBench bench;
  bench.device.AddWritten(Written("Hello", "Bob", "Hi"));
  bench.device.AddHeld(Held("0000002A", "cur-entry-0001"));
  bench.host.BreakAtYield(2 + GetParam());  // the handshake takes two yields
  bench.Run();

  const QStringList& boxes = bench.host.Boxes();
  EXPECT_LE(boxes.count(kUserBreakBox), 1);
  ExpectSoundEnding(bench.line.Transcript());
  for (const QString& box : boxes) {
    EXPECT_TRUE(box == kUserBreakBox || box.startsWith(QLatin1String("Comm Err ")))
        << box.toStdString();
  }
  // A phase that ended on CmdEnd saw no break in any wait.
  if (bench.session.DeviceListComplete) {
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(bench.session.ReceivedCount, 1);
    EXPECT_EQ(bench.session.DeviceList.size(), 1u);
  } else {
    // Either a wait wrote Abort and said so, or a wait for the Kelvo's Ack
    // ended with the break set, which ends the stage without a word.
    EXPECT_TRUE(bench.session.BreakRequested);
  }
  // A message counts only once its whole exchange succeeded.
  EXPECT_LE(bench.session.ReceivedCount, static_cast<int>(bench.store.SavedItems().size()));
}

// The clean stage takes 23 yields after the handshake: the Kelvo's answer to a
// write the PC follows with a yield of its own is read in one pass.
INSTANTIATE_TEST_SUITE_P(EveryYield, ReceiveBreakTest, ::testing::Range(1, 24));

TEST(ReceivePhaseTest, CleanStageTakesTwentyThreeYields) {
  ReceiveBench bench;
  bench.device.AddWritten(Written("Hello", "Bob", "Hi"));
  bench.device.AddHeld(Held("0000002A", "cur-entry-0001"));
  bench.Run();
  EXPECT_TRUE(bench.session.DeviceListComplete);
  EXPECT_EQ(bench.host.YieldCount(), 2 + 23);
}

TEST(ReceivePhaseTest, BreakWhileWaitingForAnItemWritesAbortThenAck) {
  ReceiveBench bench;
  bench.device.AddFault({2, FaultKind::Silence, {}});
  bench.Run();
  EXPECT_EQ(bench.Transcript(),
            QStringLiteral("PC  ACK\nKV  ACK\nPC  ACK\n--  &Break\nPC  ABORT\n"
                           "--  box:       User Break      \nPC  ACK\n--  box: Comm Err 12\n"));
}

TEST(ReceivePhaseTest, SizeFieldOfTheTerminatorAloneIsCommErr13) {
  ReceiveBench bench;
  bench.device.AddWritten(Written("s", "t", "b"));
  bench.device.AddFault({3, FaultKind::Replace, QByteArray(1, '\0')});
  bench.Run();
  EXPECT_EQ(bench.host.Boxes(), QStringList{QStringLiteral("Comm Err 13")});
  EXPECT_EQ(bench.host.Status(2), QStringLiteral("Message size: 0"));
  EXPECT_TRUE(bench.store.SavedItems().empty());
}

TEST(ReceivePhaseTest, LargestSizeIsReceived) {
  ReceiveBench bench;
  bench.device.AddWritten(Written("s", "t", QByteArray(32767 - 7 - 1 - 1 - 19, 'b')));
  ASSERT_EQ(bench.device.UploadRecord(bench.device.Written()[0]).size(), 32767);
  bench.Run();
  EXPECT_TRUE(bench.host.Boxes().isEmpty());
  EXPECT_EQ(bench.session.ReceivedCount, 1);
  EXPECT_EQ(bench.host.StatusHistory(2), QStringList{QStringLiteral("Message size: 32767")});
}

TEST(ReceivePhaseTest, SizeBeyondSixteenBitsEndsThePhaseWithoutReadingOn) {
  ReceiveBench bench;
  bench.device.AddWritten(Written("s", "t", QByteArray(32768 - 7 - 1 - 1 - 19, 'b')));
  bench.Run();
  EXPECT_EQ(bench.host.Boxes(), QStringList{QStringLiteral("Comm Err 13")});
  // No Ack after the size field: the Kelvo never sends the record.
  EXPECT_EQ(bench.Transcript(),
            QStringLiteral("PC  ACK\nKV  ACK\nPC  ACK\nKV  CMD_MESSAGE\nPC  ACK\n"
                           "KV  \"32768\" NUL\n--  box: Comm Err 13\n"));
  EXPECT_TRUE(bench.store.SavedItems().empty());
  EXPECT_EQ(bench.device.Written().size(), 1u);  // still on the Kelvo
}

TEST(ReceivePhaseTest, RecordOfSevenFieldsIsCommErr12AndMakesNoItem) {
  ReceiveBench bench;
  const sim::WrittenMessage message = Written("s", "t", "b");
  bench.device.AddWritten(message);
  QByteArray seven = bench.device.UploadRecord(message);
  seven[seven.lastIndexOf('\xFE')] = 'x';  // same size, one separator fewer
  bench.device.AddFault({4, FaultKind::Replace, seven});
  bench.Run();
  EXPECT_EQ(bench.host.Boxes(), QStringList{QStringLiteral("Comm Err 12")});
  EXPECT_EQ(bench.store.NewItemSaveAttempts(), 0);
}

TEST(ReceivePhaseTest, RecordWithTheOtherSeparatorIsCommErr12) {
  ReceiveBench bench;
  bench.device.SetSeparator(protocol::DravoSeparator);
  bench.session.FieldSeparator = protocol::DefaultSeparator;
  bench.device.AddWritten(Written("s", "t", "b"));
  bench.Run();
  EXPECT_EQ(bench.host.Boxes(), QStringList{QStringLiteral("Comm Err 12")});
  EXPECT_TRUE(bench.store.SavedItems().empty());
}

TEST(ReceivePhaseTest, DravoSeparatorRecordIsReceivedInRussianMode) {
  ReceiveBench bench;
  bench.options.ostrelConv = false;
  bench.options.dravoConv = true;
  bench.device.SetSeparator(protocol::DravoSeparator);
  bench.session.FieldSeparator = protocol::DravoSeparator;
  // Device codes 161.. are the Cyrillic small letters from U+0430 on.
  bench.device.AddWritten(Written("\xA1\xA2", "", "\xA3"));
  bench.Run();
  ASSERT_EQ(bench.store.SavedItems().size(), 1u);
  EXPECT_EQ(bench.store.SavedItems()[0].subject, QStringLiteral("аб"));
  EXPECT_EQ(bench.store.SavedItems()[0].body, QStringLiteral("в"));
}

TEST(ReceivePhaseTest, ItemThatCannotBeSavedEndsThePhaseWithoutAnIdentifier) {
  ReceiveBench bench;
  bench.store.FailNewItemSaves(
      QStringLiteral("cannot write /home/ann/Maildir/.Drafts/tmp: disk full"));
  bench.device.AddWritten(Written("s", "t", "b"));
  bench.device.AddHeld(Held("0000002A", "cur-entry-0001"));
  bench.Run();
  EXPECT_EQ(bench.host.Boxes(),
            QStringList{QStringLiteral("The message received from the Kelvo could not be saved: "
                                       "cannot write /home/ann/Maildir/.Drafts/tmp: disk full")});
  EXPECT_EQ(bench.store.NewItemSaveAttempts(), 1);
  EXPECT_EQ(bench.session.ReceivedCount, 0);
  EXPECT_FALSE(bench.session.DeviceListComplete);
  // The last bytes are the record; the PC wrote nothing after it.
  EXPECT_TRUE(bench.line.Transcript()
                  .Lines()
                  .at(bench.line.Transcript().Lines().size() - 2)
                  .startsWith(QLatin1String("KV  \"s\" \\xFE")));
  // The Kelvo keeps the message to offer it again.
  EXPECT_EQ(bench.device.Written().size(), 1u);
}

TEST(ReceivePhaseTest, EntryIdLengthGoesFirstAsSixDigitsCountingBytes) {
  ReceiveBench bench;
  bench.store.SetEntryIdGenerator([](int) { return QString(140, QLatin1Char('x')); });
  bench.device.AddWritten(Written("s", "t", "b"));
  bench.Run();
  EXPECT_TRUE(PcWrites(bench.line.Transcript()).contains(QStringLiteral("PC  \"000140\" NUL")));
  ASSERT_EQ(bench.device.Held().size(), 1u);
  EXPECT_EQ(bench.device.Held()[0].entryId, QByteArray(140, 'x'));

  ReceiveBench cyrillic;
  cyrillic.store.SetEntryIdGenerator([](int) { return QStringLiteral("Черновик"); });
  cyrillic.device.AddWritten(Written("s", "t", "b"));
  cyrillic.Run();
  EXPECT_TRUE(PcWrites(cyrillic.line.Transcript()).contains(QStringLiteral("PC  \"000016\" NUL")));
  ASSERT_EQ(cyrillic.device.Held().size(), 1u);
  EXPECT_EQ(cyrillic.device.Held()[0].entryId, QStringLiteral("Черновик").toUtf8());
}

TEST(ReceivePhaseTest, DeviceListGrowsBeyondFourHundred) {
  ReceiveBench bench;
  for (int i = 0; i < 450; ++i) {
    bench.device.AddHeld(
        Held(QStringLiteral("%1").arg(i, 8, 16, QLatin1Char('0')).toLatin1().constData(),
             QByteArray("entry-") + QByteArray::number(i)));
  }
  bench.Run();
  ASSERT_EQ(bench.session.DeviceList.size(), 450u);
  EXPECT_EQ(bench.session.DeviceList[449].EntryId, QStringLiteral("entry-449"));
  EXPECT_EQ(bench.host.Status(1), QStringLiteral("Receiving message ID: 450"));
  EXPECT_TRUE(bench.session.DeviceListComplete);
}

TEST(ReceivePhaseTest, BytesArrivingOneByOneGiveTheSameResult) {
  // A port may hand a length field over in pieces ("1", "2", "\0"): it is read
  // to its terminator.
  for (const int chunk : {1, 2, 3}) {
    ReceiveBench bench;
    bench.line.SetChunkSize(chunk);
    bench.device.AddWritten(Written("Hello", "Bob", "Hi\r\nthere"));
    bench.device.AddHeld(Held("0000002A", "cur-entry-0001"));
    bench.Run();
    EXPECT_TRUE(bench.host.Boxes().isEmpty()) << chunk;
    EXPECT_EQ(bench.session.ReceivedCount, 1) << chunk;
    EXPECT_EQ(bench.session.DeviceList.size(), 1u) << chunk;
    EXPECT_TRUE(bench.session.DeviceListComplete) << chunk;
    EXPECT_TRUE(bench.device.Violations().isEmpty()) << chunk;
  }
}

TEST(ReceivePhaseTest, ListingOfAnEmptyEntryIdIsCommErr20) {
  ReceiveBench bench;
  bench.device.AddHeld(Held("0000002A", ""));
  bench.Run();
  EXPECT_EQ(bench.host.Boxes(), QStringList{QStringLiteral("Comm Err 20")});
  EXPECT_TRUE(bench.session.DeviceList.empty());
}

TEST(ReceivePhaseTest, EntryIdLengthBeyondSixteenBitsIsCommErr20) {
  ReceiveBench bench;
  bench.device.AddHeld(Held("0000002A", "e"));
  bench.device.AddFault({3, FaultKind::Replace, QByteArray("70000\0", 6)});
  bench.Run();
  EXPECT_EQ(bench.host.Boxes(), QStringList{QStringLiteral("Comm Err 20")});
  EXPECT_TRUE(bench.line.Transcript().Lines().last() == BoxNote(QStringLiteral("Comm Err 20")));
  EXPECT_EQ(PcWrites(bench.line.Transcript()).size(), 3);  // handshake, poll, Ack to the item
}

}  // namespace
}  // namespace zandor
