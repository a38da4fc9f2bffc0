// The Kelvo device model on its own: its data file, its answers to bytes that
// break the dialogue, and a whole synchronisation against the phases.
#include "model/kelvo_device.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

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
using sim::HeldMessage;
using sim::KelvoDevice;
using sim::Stage;
using sim::WrittenMessage;

namespace p = zandor::protocol;

QByteArray B(char byte) {
  return QByteArray(1, byte);
}

bool SameHeld(const std::vector<HeldMessage>& a, const std::vector<HeldMessage>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].deviceId != b[i].deviceId || a[i].entryId != b[i].entryId || a[i].kind != b[i].kind ||
        a[i].record != b[i].record) {
      return false;
    }
  }
  return true;
}

bool SameWritten(const std::vector<WrittenMessage>& a, const std::vector<WrittenMessage>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].fields != b[i].fields) return false;
  }
  return true;
}

QJsonObject Parse(const char* json) {
  return QJsonDocument::fromJson(QByteArray(json)).object();
}

TEST(KelvoDataTest, EveryByteSurvivesTheDataFile) {
  KelvoDevice device;
  device.SetSeparator(p::DravoSeparator);
  device.SetNextDeviceId(0x7FFF);
  WrittenMessage written;
  for (std::size_t i = 0; i < 8; ++i) written.fields[i] = QByteArray(1, static_cast<char>(i * 37));
  written.fields[3] = QByteArray("\0\x01\xFE\xFF body \x1F", 10);  // even the separator
  device.AddWritten(written);
  device.AddWritten({});
  device.AddHeld({QStringLiteral("0000FFFF"), "\xFF\xFE not UTF-8", 1,
                  "a\x1F\x1F"
                  "b\x1F"});
  device.AddHeld({QStringLiteral("00000001"), "Входящие/1", 2, ""});

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kelvo.json"));
  ASSERT_EQ(device.SaveFile(path), std::nullopt);
  KelvoDevice loaded;
  ASSERT_EQ(loaded.LoadFile(path), std::nullopt);

  EXPECT_EQ(loaded.Separator(), p::DravoSeparator);
  EXPECT_EQ(loaded.NextDeviceId(), 0x7FFFu);
  EXPECT_TRUE(SameWritten(loaded.Written(), device.Written()));
  EXPECT_TRUE(SameHeld(loaded.Held(), device.Held()));
  EXPECT_EQ(loaded.ToJson(), device.ToJson());
}

TEST(KelvoDataTest, WesternTextIsReadableAndConvertedToTheKelvosCodes) {
  KelvoDevice device;
  ASSERT_EQ(device.LoadJson(Parse(R"({
      "format": "kelvo-data", "version": 1, "separator": 254, "text": "western",
      "written": [ { "subject": "Café", "to": "Zoë", "body": "a\tb" } ],
      "held": [ { "deviceId": "0000000a", "entryId": "1.M1", "kind": 1,
                  "record": ["Café", "", { "bytes": "\t" }] } ] })")),
            std::nullopt);
  ASSERT_EQ(device.Written().size(), 1u);
  EXPECT_EQ(device.Written()[0].fields[0], QByteArray("Caf\x91"));  // e-acute is 145
  EXPECT_EQ(device.Written()[0].fields[3], QByteArray("a b"));      // a tab becomes a space
  ASSERT_EQ(device.Held().size(), 1u);
  EXPECT_EQ(device.Held()[0].deviceId, QStringLiteral("0000000A"));
  EXPECT_EQ(device.Held()[0].record, QByteArray("Caf\x91\xFE\xFE\t"));

  // Saved back in the same form; the tab, which that form cannot carry, as bytes.
  const QJsonObject saved = device.ToJson();
  EXPECT_EQ(saved.value(QStringLiteral("text")).toString(), QStringLiteral("western"));
  const QJsonArray record = saved.value(QStringLiteral("held"))
                                .toArray()[0]
                                .toObject()
                                .value(QStringLiteral("record"))
                                .toArray();
  EXPECT_EQ(record[0].toString(), QStringLiteral("Café"));
  EXPECT_EQ(record[2].toObject().value(QStringLiteral("bytes")).toString(), QStringLiteral("\t"));
  KelvoDevice again;
  ASSERT_EQ(again.LoadJson(saved), std::nullopt);
  EXPECT_TRUE(SameHeld(again.Held(), device.Held()));
  EXPECT_TRUE(SameWritten(again.Written(), device.Written()));
}

TEST(KelvoDataTest, RussianTextIsConverted) {
  KelvoDevice device;
  ASSERT_EQ(device.LoadJson(Parse(R"({"format": "kelvo-data", "version": 1, "text": "russian",
                                      "written": [ { "subject": "аб" } ] })")),
            std::nullopt);
  EXPECT_EQ(device.Written()[0].fields[0], QByteArray("\xA1\xA2"));
}

struct BadDataRow {
  const char* name;
  const char* json;
  const char* error;  // the start of the reason
};

class KelvoBadDataTest : public ::testing::TestWithParam<BadDataRow> {};

TEST_P(KelvoBadDataTest, IsRefusedAndChangesNothing) {
  const BadDataRow& row = GetParam();
  KelvoDevice device;
  device.AddHeld({QStringLiteral("00000001"), "kept", 1, "r"});
  const std::optional<QString> error = device.LoadJson(Parse(row.json));
  ASSERT_TRUE(error.has_value());
  EXPECT_TRUE(error->startsWith(QString::fromUtf8(row.error))) << error->toStdString();
  ASSERT_EQ(device.Held().size(), 1u);
  EXPECT_EQ(device.Held()[0].entryId, QByteArray("kept"));
}

INSTANTIATE_TEST_SUITE_P(
    Documents, KelvoBadDataTest,
    ::testing::Values(
        BadDataRow{"NoFormat", R"({"version": 1})", "not a Kelvo data file"},
        BadDataRow{"Version", R"({"format": "kelvo-data", "version": 2})", "unknown version"},
        BadDataRow{"Separator", R"({"format": "kelvo-data", "version": 1, "separator": 30})",
                   "\"separator\""},
        BadDataRow{"TextForm", R"({"format": "kelvo-data", "version": 1, "text": "klingon"})",
                   "\"text\""},
        BadDataRow{"NextId", R"({"format": "kelvo-data", "version": 1, "nextDeviceId": "xyz"})",
                   "\"nextDeviceId\""},
        BadDataRow{"DeviceId",
                   R"({"format": "kelvo-data", "version": 1, "held": [{"deviceId": "12"}]})",
                   "held message 1"},
        BadDataRow{"NotAByte",
                   R"({"format": "kelvo-data", "version": 1, "written": [{"body": "Ā"}]})",
                   "written message 1"},
        BadDataRow{"NotText", R"({"format": "kelvo-data", "version": 1, "written": [{"body": 5}]})",
                   "written message 1"}),
    RowName());

TEST(KelvoDataTest, FilesThatCannotBeReadAreReported) {
  QTemporaryDir dir;
  KelvoDevice device;
  EXPECT_TRUE(device.LoadFile(dir.filePath(QStringLiteral("missing.json"))).has_value());
  QFile broken(dir.filePath(QStringLiteral("broken.json")));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("{ not json");
  broken.close();
  EXPECT_TRUE(device.LoadFile(broken.fileName()).has_value());
  EXPECT_TRUE(device.SaveFile(dir.filePath(QStringLiteral("no/such/dir/k.json"))).has_value());
}

TEST(KelvoDeviceTest, AbortDropsTheExchangeAndTheKelvoWaitsForTheLineToReopen) {
  KelvoDevice device;
  device.LineOpened();
  device.Receive(B(p::Ack));
  EXPECT_EQ(device.TakeOutput(), B(p::Ack));
  device.Receive(B(p::CmdMessage));
  EXPECT_EQ(device.TakeOutput(), B(p::Ack));
  device.Receive(B(p::Abort));
  EXPECT_EQ(device.CurrentStage(), Stage::Aborted);
  device.Receive(B(p::Ack) + B(p::CmdRemove));  // what a broken-off PC may still write
  EXPECT_TRUE(device.TakeOutput().isEmpty());
  EXPECT_TRUE(device.Held().empty());
  EXPECT_TRUE(device.Violations().isEmpty());
  device.LineClosed();
  device.LineOpened();
  device.Receive(B(p::Ack));
  EXPECT_EQ(device.TakeOutput(), B(p::Ack));
  EXPECT_EQ(device.CurrentStage(), Stage::Receive);
}

TEST(KelvoDeviceTest, PiecesOfAnySizeMakeTheSameDialogue) {
  const QByteArray pc = B(p::Ack) + B(p::Ack) + B(p::CmdMessage) + B(p::Ack) +
                        QByteArray("000002\0", 7) + B(p::Ack) + QByteArray("000002\0", 7) +
                        B(p::Ack) + QByteArray("id\0", 3) + B(p::Ack) + QByteArray("000001\0", 7) +
                        B(p::Ack) + QByteArray("\0\0", 2) + B(p::CmdEnd) + B(p::CmdEnd) + B(p::Ack);
  QByteArray whole;
  {
    KelvoDevice device;
    device.LineOpened();
    device.Receive(pc);
    whole = device.TakeOutput();
    EXPECT_EQ(device.CurrentStage(), Stage::Finished);
    ASSERT_EQ(device.Held().size(), 1u);
    EXPECT_EQ(device.Held()[0].record, QByteArray(1, '\0'));  // a 0x00 inside a record is data
    EXPECT_EQ(device.Held()[0].kind, 2);
    EXPECT_TRUE(device.Violations().isEmpty()) << device.Violations().join(u'\n').toStdString();
  }
  // Handshake, CmdEnd to the poll, then an Ack for CmdMessage, five fields and
  // the CmdEnd of the send stage; none for the closing.
  EXPECT_EQ(whole, B(p::Ack) + B(p::CmdEnd) + QByteArray(7, p::Ack));
  KelvoDevice bytewise;
  bytewise.LineOpened();
  QByteArray output;
  for (const char byte : pc) {
    bytewise.Receive(B(byte));
    output += bytewise.TakeOutput();
  }
  EXPECT_EQ(output, whole);
}

struct ViolationRow {
  const char* name;
  QByteArray pc;      // after the handshake
  QByteArray answer;  // what the Kelvo says to it
  const char* violation;
};

class KelvoViolationTest : public ::testing::TestWithParam<ViolationRow> {};

TEST_P(KelvoViolationTest, IsRecorded) {
  const ViolationRow& row = GetParam();
  KelvoDevice device;
  device.AddHeld({QStringLiteral("0000001A"), "e", 1, "r"});
  device.LineOpened();
  device.Receive(B(p::Ack));
  device.TakeOutput();
  device.Receive(row.pc);
  EXPECT_EQ(device.TakeOutput(), row.answer);
  ASSERT_EQ(device.Violations().size(), 1) << device.Violations().join(u'\n').toStdString();
  EXPECT_TRUE(device.Violations()[0].startsWith(QString::fromUtf8(row.violation)))
      << device.Violations()[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Dialogue, KelvoViolationTest,
    ::testing::Values(
        ViolationRow{"FiveDigitNumber", B(p::CmdMessage) + B(p::Ack) + QByteArray("00001\0", 6),
                     B(p::Ack), "a number field with fewer than six digits"},
        ViolationRow{"FieldWithoutAck", B(p::CmdMessage) + QByteArray("000001\0", 7), B(p::Ack),
                     "a text field that does not start with Ack"},
        ViolationRow{"EntryIdLongerThanAnnounced",
                     B(p::CmdMessage) + B(p::Ack) + QByteArray("000001\0", 7) + B(p::Ack) +
                         QByteArray("000002\0", 7) + B(p::Ack) + QByteArray("abc\0", 4),
                     QByteArray(3, p::Ack), "no FieldEnd after the 2 bytes announced"},
        ViolationRow{"RemovalOfAnUnknownId", B(p::CmdRemove) + QByteArray("000027\0", 7),
                     QByteArray(2, p::Ack), "CmdRemove of 000027"},
        ViolationRow{"NoCommand", QByteArray("\x07"), QByteArray(), "a byte that is no command"},
        ViolationRow{"ClosingAckTooEarly", B(p::CmdEnd) + B(p::Ack) + B(p::Ack), B(p::Ack),
                     "an Ack outside any exchange"}),
    RowName());

TEST(KelvoDeviceTest, RemovalNamesTheMessageByItsNumberInDecimal) {
  KelvoDevice device;
  device.AddHeld({QStringLiteral("FFFFFFFF"), "top", 1, "r"});
  device.AddHeld({QStringLiteral("0000001A"), "low", 1, "r"});
  device.LineOpened();
  device.Receive(B(p::Ack) + B(p::CmdRemove) + QByteArray("4294967295\0", 11));
  EXPECT_EQ(device.TakeOutput(), QByteArray(3, p::Ack));
  ASSERT_EQ(device.Held().size(), 1u);
  EXPECT_EQ(device.Held()[0].entryId, QByteArray("low"));
  EXPECT_TRUE(device.Violations().isEmpty());
}

TEST(KelvoDeviceTest, FaultsFireOnceAtTheirReply) {
  KelvoDevice device;
  device.AddFault({1, FaultKind::Twice, {}});
  device.AddFault({2, FaultKind::Replace, QByteArray("??")});
  device.LineOpened();
  device.Receive(B(p::Ack));
  EXPECT_EQ(device.TakeOutput(), QByteArray(2, p::Ack));
  device.Receive(B(p::Ack));  // the poll: reply 2
  EXPECT_EQ(device.TakeOutput(), QByteArray("??"));
  EXPECT_EQ(device.RepliesSent(), 2);
  // The next synchronisation numbers its replies from 1 again, without faults.
  device.LineClosed();
  device.LineOpened();
  device.Receive(B(p::Ack) + B(p::Ack));
  EXPECT_EQ(device.TakeOutput(), B(p::Ack) + B(p::CmdEnd));
}

TEST(KelvoDeviceTest, HangUpSilencesTheKelvoUntilTheLineReopens) {
  KelvoDevice device;
  device.AddFault({2, FaultKind::HangUp, {}});
  device.LineOpened();
  device.Receive(B(p::Ack) + B(p::Ack));
  EXPECT_EQ(device.TakeOutput(), B(p::Ack));
  EXPECT_TRUE(device.HungUp());
  device.Receive(B(p::Ack));
  EXPECT_TRUE(device.TakeOutput().isEmpty());
  device.LineClosed();
  EXPECT_TRUE(device.HungUp());
  device.LineOpened();
  EXPECT_FALSE(device.HungUp());
}

TEST(KelvoDeviceTest, JoinedOutsideTheReceiveStageAppendsAnAck) {
  KelvoDevice device;
  device.AddFault({2, FaultKind::Joined, {}});
  device.LineOpened();
  device.Receive(B(p::Ack) + B(p::CmdMessage));
  EXPECT_EQ(device.TakeOutput(), B(p::Ack) + B(p::Ack) + B(p::Ack));
}

// Two whole synchronisations against the phases, with the send stage's end
// written by hand: the Kelvo ends each one in Finished, and what it uploaded
// in the first it lists in the second.
TEST(KelvoDeviceTest, TwoSynchronisationsAgainstThePhases) {
  DeviceBench bench;
  bench.host.BreakWhenSilent(20);
  bench.options.kelvoRemove = true;
  sim::WrittenMessage written;
  written.fields[0] = "From the Kelvo";
  bench.device.AddWritten(written);
  bench.device.AddHeld({QStringLiteral("00000100"), "old.M1", 1, "r"});

  auto synchronise = [&](const QString& sendEntryId) {
    bench.session = SyncSession{};
    SyncContext context = bench.Context();
    ASSERT_TRUE(Handshake(bench.link));
    RunReceivePhase(context);
    bench.host.Yield();
    ASSERT_EQ(SendPart(context, 1, sendEntryId, "s\xFE\xFE\xFE\xFE\xFE\xFE\xFE", {}),
              SendOutcome::Done);
    bench.link.Write(p::CmdEnd);
    ASSERT_EQ(bench.link.ReadReply(), B(p::Ack));
    bench.session.SelectionList = {{sendEntryId, {}}};
    bench.session.SelectionListComplete = true;
    RunRemovalPhase(context);
    bench.line.Close();
  };

  synchronise(QStringLiteral("new.M2"));
  EXPECT_TRUE(bench.host.Boxes().isEmpty());
  EXPECT_EQ(bench.device.CompletedSynchronisations(), 1);
  EXPECT_EQ(bench.session.ReceivedCount, 1);
  EXPECT_EQ(bench.session.RemovedFromDeviceCount, 1);  // old.M1 is no longer selected
  ASSERT_EQ(bench.device.Held().size(), 2u);
  EXPECT_EQ(bench.device.Held()[0].entryId, QByteArray("draft-000001"));
  EXPECT_EQ(bench.device.Held()[1].entryId, QByteArray("new.M2"));

  bench.line.Open(QStringLiteral("/dev/kelvo-in-process"), LineSettings{});
  synchronise(QStringLiteral("new.M2"));
  EXPECT_TRUE(bench.host.Boxes().isEmpty());
  EXPECT_EQ(bench.device.CompletedSynchronisations(), 2);
  EXPECT_EQ(bench.session.ReceivedCount, 0);
  ASSERT_EQ(bench.session.DeviceList.size(), 2u);
  EXPECT_EQ(bench.session.DeviceList[0].EntryId, QStringLiteral("draft-000001"));
  // The draft is not in the selection; new.M2 is (sent again here, as a full
  // synchronisation would), so the Kelvo keeps both parts that carry it.
  EXPECT_EQ(bench.session.RemovedFromDeviceCount, 1);
  ASSERT_EQ(bench.device.Held().size(), 2u);
  EXPECT_EQ(bench.device.Held()[0].entryId, QByteArray("new.M2"));
  EXPECT_EQ(bench.device.Held()[1].deviceId, QStringLiteral("00000003"));
  EXPECT_TRUE(bench.device.Violations().isEmpty())
      << bench.device.Violations().join(u'\n').toStdString();
}

}  // namespace
}  // namespace zandor
