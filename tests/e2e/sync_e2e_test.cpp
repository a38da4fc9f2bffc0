// The real programs against each other: zandor --sync talks to kelvo-sim over a
// pseudo-terminal, with a Maildir and a settings home of its own per test.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QSet>

#include "e2e_world.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using testing::E2eWorld;
using testing::FinalStatus;
using testing::HeldEntryIds;
using testing::HeldRecords;
using testing::KelvoWritten;
using testing::Path;
using testing::ProcessRun;
using testing::TestMessage;

const QStringList kSync = {QStringLiteral("--sync")};

// Received a few days back from now, so that "All" holds them on any day.
TestMessage Message(const char* subject, const char* body, int daysBack) {
  TestMessage message;
  message.subject = QString::fromUtf8(subject);
  message.body = QString::fromUtf8(body);
  const QDateTime when =
      QDateTime::currentDateTimeUtc().addDays(-daysBack).addSecs(-3600 * daysBack);
  message.received = when;
  message.date = when;
  return message;
}

std::string Describe(const ProcessRun& run) {
  return "exit " + std::to_string(run.exitCode) + (run.finished ? "" : " (killed: no end)") +
         "\n--- stdout\n" + run.out.toStdString() + "--- stderr\n" + run.err.toStdString();
}

class SyncEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(world_.Valid());
    // Inbox and Sent Items, in several languages.
    auto& mail = world_.Mail();
    inbox_ << mail.Add(Path({"Inbox"}), Message("Quarterly report", "Figures attached.\n", 5))
           << mail.Add(Path({"Inbox"}), Message("Grüße aus Köln", "Bis bald, Jürgen\n", 4))
           << mail.Add(Path({"Inbox"}),
                       Message("Réunion à l'hôtel", "Rendez-vous à 9 h, près de l'entrée.\n", 3))
           << mail.Add(Path({"Inbox"}), Message("Привет из Москвы", "До встречи!\n", 2))
           << mail.Add(Path({"Inbox"}),
                       Message("Lunch on Friday", "Noon at the usual place?\n", 1));
    sent_ << mail.Add(Path({"Sent"}), Message("Re: Quarterly report", "Thanks, looks good.\n", 2))
          << mail.Add(Path({"Sent"}), Message("Angebot für Müller", "Anbei das Angebot.\n", 1));
    world_.WriteKelvoData(
        {{QStringLiteral("Note from the Kelvo"), QStringLiteral("Ann"),
          QStringLiteral("Written on the train.\r\nCall me.")},
         {QStringLiteral("Café tomorrow?"), QStringLiteral("Bob"), QStringLiteral("At ten.")}});
  }

  QString Folder(const char* name) const { return world_.MaildirRoot() + QLatin1String(name); }
  QStringList AllMail() const { return inbox_ + sent_; }

  // Every message of the mail is held exactly once on the Kelvo, and nothing
  // else but the uploads.
  void ExpectEachMessageHeldOnce(const QJsonObject& data) {
    const QStringList held = HeldEntryIds(data);
    for (const QString& id : AllMail()) {
      EXPECT_EQ(held.count(id), 1) << "held " << held.count(id) << " times: " << id.toStdString();
    }
  }

  E2eWorld world_;
  QStringList inbox_;
  QStringList sent_;
};

TEST_F(SyncEndToEnd, TheFirstSynchronisationUploadsAndSendsEverything) {
  ASSERT_FALSE(world_.StartKelvo().isEmpty()) << world_.KelvoLog().toStdString();
  const ProcessRun run = world_.RunZandor(
      kSync + QStringList{QStringLiteral("--trace"), world_.Path(QStringLiteral("zandor.trace"))});
  ASSERT_EQ(run.exitCode, 0) << Describe(run);
  EXPECT_EQ(FinalStatus(run.out),
            (QStringList{QStringLiteral("[1] Sent: 7"), QStringLiteral("[2] Received: 2"),
                         QStringLiteral("[3] "), QStringLiteral("[4] ")}))
      << Describe(run);
  EXPECT_TRUE(run.err.isEmpty()) << Describe(run);
  // The Kelvo saw the closing bytes: its synchronisation is complete.
  EXPECT_TRUE(world_.WaitForKelvoLog(QStringLiteral("synchronisation 1 complete")))
      << world_.KelvoLog().toStdString();

  // The uploads became drafts.
  const QStringList drafts = world_.SubjectsIn(Folder("/.Drafts"));
  EXPECT_EQ(drafts.size(), 2);
  EXPECT_TRUE(drafts.contains(QStringLiteral("Note from the Kelvo")));

  ASSERT_EQ(world_.StopKelvo().exitCode, 0);
  const QJsonObject data = world_.ReadKelvoData();
  EXPECT_TRUE(data.value(QStringLiteral("written")).toArray().isEmpty());
  ExpectEachMessageHeldOnce(data);
  EXPECT_EQ(HeldEntryIds(data).size(), 9);  // seven sent, two uploads
  for (const QString& draft : world_.UniqueNamesIn(Folder("/.Drafts"))) {
    EXPECT_EQ(HeldEntryIds(data).count(draft), 1) << "the Kelvo keeps its upload under the draft";
  }
  // Text arrives converted: the subject as the Kelvo shows it, the folder name.
  const std::vector<QJsonArray> german = HeldRecords(data, inbox_[1]);
  ASSERT_EQ(german.size(), 1u);
  EXPECT_EQ(german[0].at(0).toString(), QStringLiteral("Grüße aus Köln"));
  const std::vector<QJsonArray> sentOne = HeldRecords(data, sent_[1]);
  ASSERT_EQ(sentOne.size(), 1u);
  EXPECT_EQ(sentOne[0].at(0).toString(), QStringLiteral("Angebot für Müller"));

  // The transcript of the PC's side ends with the closing bytes.
  QFile trace(world_.Path(QStringLiteral("zandor.trace")));
  ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
  const QStringList lines =
      QString::fromUtf8(trace.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_GE(lines.size(), 4);
  EXPECT_TRUE(lines.first().startsWith(QLatin1String("--  open /dev/pts/")));
  EXPECT_EQ(lines.mid(lines.size() - 3),
            (QStringList{QStringLiteral("PC  CMD_END"), QStringLiteral("PC  ACK"),
                         QStringLiteral("--  close")}));
}

TEST_F(SyncEndToEnd, ASecondSynchronisationSendsNothing) {
  ASSERT_FALSE(world_.StartKelvo().isEmpty());
  ASSERT_EQ(world_.RunZandor(kSync).exitCode, 0);
  const ProcessRun second = world_.RunZandor(kSync);
  ASSERT_EQ(second.exitCode, 0) << Describe(second);
  EXPECT_EQ(FinalStatus(second.out).mid(0, 2),
            (QStringList{QStringLiteral("[1] Sent: 0"), QStringLiteral("[2] Received: 0")}))
      << Describe(second);
  EXPECT_TRUE(world_.WaitForKelvoLog(QStringLiteral("synchronisation 2 complete")));
  ASSERT_EQ(world_.StopKelvo().exitCode, 0);
  const QJsonObject data = world_.ReadKelvoData();
  ExpectEachMessageHeldOnce(data);
  EXPECT_EQ(HeldEntryIds(data).size(), 9);
  EXPECT_EQ(world_.UniqueNamesIn(Folder("/.Drafts")).size(), 2);
}

TEST_F(SyncEndToEnd, AFullSynchronisationSendsEverythingAgain) {
  ASSERT_FALSE(world_.StartKelvo().isEmpty());
  ASSERT_EQ(world_.RunZandor(kSync).exitCode, 0);
  const ProcessRun full =
      world_.RunZandor(kSync + QStringList{QStringLiteral("--full"), QStringLiteral("--yes")});
  ASSERT_EQ(full.exitCode, 0) << Describe(full);
  EXPECT_TRUE(full.err.contains(
      QStringLiteral("'Full sync' will send all messages to Kelvo in the selected date range,")))
      << Describe(full);
  EXPECT_EQ(FinalStatus(full.out).value(0), QStringLiteral("[1] Sent: 7")) << Describe(full);
  ASSERT_EQ(world_.StopKelvo().exitCode, 0);
  const QStringList held = HeldEntryIds(world_.ReadKelvoData());
  for (const QString& id : AllMail()) EXPECT_EQ(held.count(id), 2) << id.toStdString();
}

TEST_F(SyncEndToEnd, ARemovalOnTheKelvoFollowsTheMail) {
  ASSERT_FALSE(world_.StartKelvo().isEmpty());
  ASSERT_EQ(world_.RunZandor(kSync).exitCode, 0);
  // The user deletes the German message in the mail program.
  const QString gone = inbox_[1];
  QDir cur(Folder("/cur"));
  const QStringList files = cur.entryList({gone + QStringLiteral(":2,*")}, QDir::Files);
  ASSERT_EQ(files.size(), 1);
  ASSERT_TRUE(QFile::remove(cur.filePath(files[0])));

  const ProcessRun run = world_.RunZandor(
      kSync + QStringList{QStringLiteral("--remove-from-kelvo"), QStringLiteral("--yes")});
  ASSERT_EQ(run.exitCode, 0) << Describe(run);
  // The uploads are kept under their drafts, and Drafts is no folder of the
  // selection: they go too.
  EXPECT_EQ(FinalStatus(run.out).value(2), QStringLiteral("[3] Removed from Kelvo: 3"))
      << Describe(run);
  ASSERT_EQ(world_.StopKelvo().exitCode, 0);
  QStringList expected = AllMail();
  expected.removeOne(gone);
  QStringList held = HeldEntryIds(world_.ReadKelvoData());
  held.sort();
  expected.sort();
  EXPECT_EQ(held, expected);
}

TEST_F(SyncEndToEnd, ARemovalOnTheKelvoMovesTheMessageToTrash) {
  ASSERT_FALSE(world_.StartKelvo().isEmpty());
  ASSERT_EQ(world_.RunZandor(kSync).exitCode, 0);
  ASSERT_EQ(world_.StopKelvo().exitCode, 0);
  // The user deletes the French message on the Kelvo.
  const QString gone = inbox_[2];
  QJsonObject data = world_.ReadKelvoData();
  QJsonArray held;
  for (const QJsonValue& message : data.value(QStringLiteral("held")).toArray()) {
    if (message.toObject().value(QStringLiteral("entryId")).toString() != gone)
      held.append(message);
  }
  ASSERT_EQ(held.size(), 8);
  data.insert(QStringLiteral("held"), held);
  world_.WriteKelvoData(data);

  ASSERT_FALSE(world_.StartKelvo().isEmpty());
  const ProcessRun run = world_.RunZandor(
      kSync + QStringList{QStringLiteral("--remove-from-mail"), QStringLiteral("--yes")});
  ASSERT_EQ(run.exitCode, 0) << Describe(run);
  EXPECT_EQ(FinalStatus(run.out).value(3), QStringLiteral("[4] Removed from Outlook: 1"))
      << Describe(run);
  EXPECT_FALSE(world_.UniqueNamesIn(world_.MaildirRoot()).contains(gone));
  EXPECT_TRUE(world_.UniqueNamesIn(Folder("/.Trash")).contains(gone)) << "nothing is lost";
  world_.StopKelvo();
}

struct RefusalRow {
  const char* name;
  const char* flag;
  const char* firstLine;
  const char* secondLine;
};
void PrintTo(const RefusalRow& row, std::ostream* out) {
  *out << row.name;
}

class RefusedConfirmation : public SyncEndToEnd,
                            public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(RefusedConfirmation, StopsBeforeThePortIsOpened) {
  ASSERT_FALSE(world_.StartKelvo().isEmpty());
  const QString trace = world_.Path(QStringLiteral("zandor.trace"));
  const ProcessRun run = world_.RunZandor(
      kSync + QStringList{QLatin1String(GetParam().flag), QStringLiteral("--trace"), trace});
  EXPECT_EQ(run.exitCode, 2) << Describe(run);
  // The question's three lines, each on a line of its own (no carriage return
  // left over from the box's line joins), then why nothing was done.
  const QStringList lines = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 4) << Describe(run);
  EXPECT_EQ(lines.mid(0, 3), (QStringList{QString::fromUtf8(GetParam().firstLine),
                                          QString::fromUtf8(GetParam().secondLine),
                                          QStringLiteral("Do you want to continue?")}));
  EXPECT_TRUE(lines[3].contains(QStringLiteral("--yes"))) << Describe(run);
  EXPECT_TRUE(run.out.isEmpty()) << Describe(run);
  QFile file(trace);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().isEmpty()) << "the port was touched";
  world_.StopKelvo();
  EXPECT_FALSE(world_.KelvoLog().contains(QStringLiteral("the PC opened the line")));
}

INSTANTIATE_TEST_SUITE_P(
    Flags, RefusedConfirmation,
    ::testing::Values(
        RefusalRow{"Full", "--full",
                   "'Full sync' will send all messages to Kelvo in the selected date range,",
                   "including those already sent with previous syncronizations."},
        RefusalRow{"RemoveFromKelvo", "--remove-from-kelvo",
                   "Messages previously sent to Kelvo are going to be removed from there,",
                   "if they are no more included in the list to be sent now"},
        RefusalRow{"RemoveFromMail", "--remove-from-mail",
                   "Messages previously sent, and then canceled on Kelvo,",
                   "are going to be removed from Outlook also."}),
    testing::RowName{});

// A fault of the Kelvo in the middle of the first synchronisation; the next
// one completes and leaves every message on the Kelvo exactly once.
struct FaultRow {
  const char* name;
  const char* fault;    // --fault of kelvo-sim
  const char* timeout;  // --timeout of zandor; empty for none
  const char* says;     // a part of what zandor says on stderr
  bool newLine;         // the Kelvo comes back on a new pseudo-terminal
  bool duringUpload;    // one upload may be filed twice
};
void PrintTo(const FaultRow& row, std::ostream* out) {
  *out << row.name;
}

class FaultInTheMiddle : public SyncEndToEnd, public ::testing::WithParamInterface<FaultRow> {};

TEST_P(FaultInTheMiddle, EndsCleanlyAndTheNextSynchronisationCompletes) {
  const FaultRow& row = GetParam();
  ASSERT_FALSE(world_.StartKelvo({QStringLiteral("--fault"), QLatin1String(row.fault)}).isEmpty());
  QStringList arguments = kSync;
  if (*row.timeout != '\0') arguments << QStringLiteral("--timeout") << QLatin1String(row.timeout);
  const ProcessRun first = world_.RunZandor(arguments);
  ASSERT_TRUE(first.finished) << Describe(first);
  EXPECT_EQ(first.exitCode, 1) << Describe(first);
  EXPECT_TRUE(first.err.contains(QString::fromUtf8(row.says))) << Describe(first);
  EXPECT_EQ(FinalStatus(first.out).size(), 4) << Describe(first);

  if (row.newLine) {
    ASSERT_FALSE(world_.NextKelvoLine().isEmpty()) << world_.KelvoLog().toStdString();
  }
  const ProcessRun second = world_.RunZandor(kSync);
  ASSERT_EQ(second.exitCode, 0) << Describe(second) << world_.KelvoLog().toStdString();
  ASSERT_EQ(world_.StopKelvo().exitCode, 0);

  const QJsonObject data = world_.ReadKelvoData();
  ExpectEachMessageHeldOnce(data);
  EXPECT_TRUE(data.value(QStringLiteral("written")).toArray().isEmpty());
  const qsizetype drafts = world_.UniqueNamesIn(Folder("/.Drafts")).size();
  EXPECT_GE(drafts, 2);
  EXPECT_LE(drafts, row.duringUpload ? 3 : 2);
}

// Replies with two messages written on the Kelvo and none held: 1 handshake;
// 2-6 the first upload, 7-11 the second; 12 CmdEnd; then per part of the send
// stage the Ack to CmdMessage and five more, from 13.
INSTANTIATE_TEST_SUITE_P(
    Faults, FaultInTheMiddle,
    ::testing::Values(
        FaultRow{"WrongByteAtHandshake", "1:wrong-byte", "", "Handshake error", false, false},
        FaultRow{"WrongByteInSend", "20:wrong-byte", "", "Comm Err", false, false},
        FaultRow{"TwoBytesInSend", "21:twice", "", "Comm Err", false, false},
        FaultRow{"TooManyInUpload", "4:too-many", "", "Comm Err", false, false},
        // The record comes with the size field and is taken with it; the PC
        // then waits for a record that never comes, as the dialogue says.
        FaultRow{"JoinedInUpload", "3:joined", "3", "no answer from the Kelvo for 3 seconds", false,
                 true},
        FaultRow{"HangUpInSend", "20:hang-up", "", "The Kelvo is no longer connected", true, false},
        FaultRow{"HangUpInUpload", "9:hang-up", "", "The Kelvo is no longer connected", true, true},
        FaultRow{"SilenceInSend", "20:silence", "2", "no answer from the Kelvo for 2 seconds",
                 false, false},
        FaultRow{"SilenceAtHandshake", "1:silence", "2", "no answer from the Kelvo for 2 seconds",
                 false, false}),
    testing::RowName{});

TEST_F(SyncEndToEnd, CtrlCBreaksAWaitForASilentKelvo) {
  ASSERT_FALSE(
      world_.StartKelvo({QStringLiteral("--fault"), QStringLiteral("1:silence")}).isEmpty());
  const ProcessRun run = world_.RunZandorAndInterrupt(kSync, QStringLiteral("[1] Handshaking..."));
  ASSERT_TRUE(run.finished) << Describe(run);
  EXPECT_EQ(run.exitCode, 1) << Describe(run);
  EXPECT_TRUE(run.err.contains(QStringLiteral("Ctrl-C"))) << Describe(run);
  EXPECT_TRUE(run.err.contains(QStringLiteral("      User Break      "))) << Describe(run);
  EXPECT_TRUE(run.err.contains(QStringLiteral("     Handshake error     "))) << Describe(run);
  world_.StopKelvo();
}

TEST_F(SyncEndToEnd, AKillDuringALargeSendLosesNothingAndRepeatsAtMostTheLastPart) {
  // Enough mail, paced at a real line rate, that the kill lands in the middle.
  QStringList many;
  for (int i = 0; i < 30; ++i) {
    TestMessage message = Message("Bulk", "", 1 + i % 20);
    message.subject = QStringLiteral("Bulk message %1").arg(i);
    message.body =
        QStringLiteral("Line of text number %1 in a long message.\n").arg(i).repeated(40);
    many << world_.Mail().Add(Path({"Inbox"}), message);
  }
  ASSERT_FALSE(world_.StartKelvo({QStringLiteral("--pace"), QStringLiteral("115200")}).isEmpty());
  const ProcessRun killed = world_.RunZandor(
      kSync, [](const QString& out) { return out.count(QStringLiteral(" - Sending: ")) >= 12; });
  ASSERT_TRUE(killed.crashed) << Describe(killed);
  ASSERT_TRUE(world_.WaitForKelvoLog(QStringLiteral("the line was closed")))
      << world_.KelvoLog().toStdString();

  const ProcessRun resumed = world_.RunZandor(kSync);
  ASSERT_EQ(resumed.exitCode, 0) << Describe(resumed);
  ASSERT_EQ(world_.StopKelvo().exitCode, 0);

  const QStringList held = HeldEntryIds(world_.ReadKelvoData());
  int repeated = 0;
  for (const QString& id : AllMail() + many) {
    EXPECT_GE(held.count(id), 1) << "lost: " << id.toStdString();
    EXPECT_LE(held.count(id), 2) << id.toStdString();
    if (held.count(id) == 2) ++repeated;
  }
  // Only a part the Kelvo acknowledged in the instant before the kill, before
  // its mark was saved, may go twice.
  EXPECT_LE(repeated, 1);
  const QSet<QString> uniqueHeld(held.begin(), held.end());
  EXPECT_EQ(held.size() - uniqueHeld.size(), repeated);
}

TEST_F(SyncEndToEnd, AMissingMailFolderIsNamedWithTheFix) {
  ASSERT_FALSE(world_.StartKelvo().isEmpty());
  const QString missing = world_.Path(QStringLiteral("no-such-Maildir"));
  world_.WriteSetting(QStringLiteral("Store"), QStringLiteral("Maildir"), missing);
  const ProcessRun run = world_.RunZandor(kSync);
  EXPECT_EQ(run.exitCode, 1) << Describe(run);
  EXPECT_TRUE(run.err.contains(QStringLiteral("The mail folder %1 does not exist.").arg(missing)))
      << Describe(run);
  EXPECT_TRUE(run.err.contains(QStringLiteral("Options"))) << Describe(run);
  world_.StopKelvo();
  EXPECT_FALSE(world_.KelvoLog().contains(QStringLiteral("the PC opened the line")));
}

TEST_F(SyncEndToEnd, APortThatCannotBeOpenedIsNamedWithTheReason) {
  world_.WriteSettings(world_.Path(QStringLiteral("ttyUSB7")));
  const ProcessRun run = world_.RunZandor(kSync);
  EXPECT_EQ(run.exitCode, 1) << Describe(run);
  EXPECT_TRUE(run.err.contains(QStringLiteral("Cannot open Com 1 (%1): no such device")
                                   .arg(world_.Path(QStringLiteral("ttyUSB7")))))
      << Describe(run);
  EXPECT_TRUE(run.err.contains(QStringLiteral("cable or USB adapter"))) << Describe(run);
}

// The options come from the store as the window's load step restores them.
// What they chose shows on the line (the field separator of the records) and
// in the summary (how the long message went).
struct StoredOptionsRow {
  const char* name;
  std::vector<std::pair<const char*, const char*>> symbols;  // SymbolsConversion
  const char* splitMode;                                     // empty: not stored
  const char* splitNum;                                      // empty: not stored
  char separator;  // of the records on the line; '\0' when none goes out
  const char* firstStatus;
};
void PrintTo(const StoredOptionsRow& row, std::ostream* out) {
  *out << row.name;
}

class StoredOptions : public ::testing::TestWithParam<StoredOptionsRow> {};

TEST_P(StoredOptions, AreRestoredAsTheWindowRestoresThem) {
  const StoredOptionsRow& row = GetParam();
  E2eWorld world;
  TestMessage message = Message("Long one", "", 1);
  message.body = QStringLiteral("A line of a long message.\n").repeated(200);
  world.Mail().Add(Path({"Inbox"}), message);
  world.WriteKelvoData(std::vector<KelvoWritten>{});
  ASSERT_FALSE(world.StartKelvo().isEmpty());
  for (const auto& [key, value] : row.symbols) {
    world.WriteSetting(QStringLiteral("SymbolsConversion"), QLatin1String(key),
                       QLatin1String(value));
  }
  if (*row.splitMode != '\0') {
    world.WriteSetting(QStringLiteral("Split"), QStringLiteral("SplitMode"),
                       QLatin1String(row.splitMode));
  }
  if (*row.splitNum != '\0') {
    world.WriteSetting(QStringLiteral("Split"), QStringLiteral("SplitNum"),
                       QLatin1String(row.splitNum));
  }
  const QString trace = world.Path(QStringLiteral("zandor.trace"));
  const ProcessRun run = world.RunZandor(kSync + QStringList{QStringLiteral("--trace"), trace});
  EXPECT_EQ(run.exitCode, 0) << Describe(run);
  EXPECT_EQ(FinalStatus(run.out).value(0), QLatin1String(row.firstStatus)) << Describe(run);
  world.StopKelvo();

  QFile file(trace);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray transcript = file.readAll();
  if (row.separator == '\0') {  // nothing went out
    EXPECT_FALSE(transcript.contains("\\xFE") || transcript.contains("\\x1F"));
    return;
  }
  const QByteArray used = row.separator == '\x1F' ? "\\x1F" : "\\xFE";
  const QByteArray other = row.separator == '\x1F' ? "\\xFE" : "\\x1F";
  EXPECT_TRUE(transcript.contains(used)) << transcript.toStdString();
  EXPECT_FALSE(transcript.contains(other)) << transcript.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StoredOptions,
    ::testing::Values(
        StoredOptionsRow{"NothingStored", {}, "", "", '\xFE', "[1] Sent: 1 (1 truncated)"},
        // Western's default (2) reads as selected and is restored last: it wins.
        StoredOptionsRow{"DravoAloneLosesToTheWesternDefault",
                         {{"DravoConversion", "0"}},
                         "",
                         "",
                         '\xFE',
                         "[1] Sent: 1 (1 truncated)"},
        StoredOptionsRow{"Dravo",
                         {{"DravoConversion", "0"}, {"WesternConversion", "1"}},
                         "",
                         "",
                         '\x1F',
                         "[1] Sent: 1 (1 truncated)"},
        StoredOptionsRow{
            "RussianThenDravoLastWins",
            {{"RussianConversion", "0"}, {"DravoConversion", "0"}, {"WesternConversion", "1"}},
            "",
            "",
            '\x1F',
            "[1] Sent: 1 (1 truncated)"},
        StoredOptionsRow{"AnyValueButOneSelects",
                         {{"DravoConversion", "7"}, {"WesternConversion", "1"}},
                         "",
                         "",
                         '\x1F',
                         "[1] Sent: 1 (1 truncated)"},
        StoredOptionsRow{
            "RussianOstrel",
            {{"RussianConversion", "0"}, {"DravoConversion", "1"}, {"WesternConversion", "1"}},
            "",
            "",
            '\xFE',
            "[1] Sent: 1 (1 truncated)"},
        StoredOptionsRow{
            "NoneSelected",
            {{"RussianConversion", "1"}, {"DravoConversion", "1"}, {"WesternConversion", "1"}},
            "",
            "",
            '\xFE',
            "[1] Sent: 1 (1 truncated)"},
        StoredOptionsRow{"SplitUnlimited", {}, "2", "", '\xFE', "[1] Sent: 2 (1 splitted)"},
        // Parts text "1": one part at most.
        StoredOptionsRow{"SplitNoMoreThanOne", {}, "3", "2", '\xFE', "[1] Sent: 1 (1 splitted)"},
        // Parts text "0" (SplitNum absent): the message is skipped.
        StoredOptionsRow{
            "SplitNoMoreThanZero", {}, "3", "", '\0', "[1] Sent: 0 (1 splitted); Skipped: 1"},
        StoredOptionsRow{
            "SplitModeOutOfRangeTruncates", {}, "9", "", '\xFE', "[1] Sent: 1 (1 truncated)"}),
    testing::RowName{});

TEST(FirstStart, StoresThePortAndTheRangeAsTheWindowDoes) {
  E2eWorld world;
  world.WriteKelvoData(std::vector<KelvoWritten>{});
  const QString pty = world.StartKelvo();
  ASSERT_FALSE(pty.isEmpty());
  // A first start: no port, no range stored; Com 1 is the simulator.
  QFile::remove(world.Path(QStringLiteral("config/Zandor/Zandor.ini")));
  world.WriteSetting(QStringLiteral("Ports"), QStringLiteral("COM1"), pty);
  world.WriteSetting(QStringLiteral("Store"), QStringLiteral("Maildir"), world.MaildirRoot());
  const ProcessRun run = world.RunZandor(kSync);
  EXPECT_EQ(run.exitCode, 0) << Describe(run);
  world.StopKelvo();
  QFile ini(world.Path(QStringLiteral("config/Zandor/Zandor.ini")));
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(ini.readAll());
  EXPECT_TRUE(text.contains(QStringLiteral("[Com]\nPort=1"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("[Sync]\nDays=2"))) << text.toStdString();
}

struct UsageRow {
  const char* name;
  std::vector<const char*> arguments;
  int exitCode;
  const char* out;  // a part of stdout; empty for none
  const char* err;  // a part of stderr; empty for none
};
void PrintTo(const UsageRow& row, std::ostream* out) {
  *out << row.name;
}

class CommandLineUse : public ::testing::TestWithParam<UsageRow> {};

TEST_P(CommandLineUse, AnswersWithTheRightStatus) {
  E2eWorld world;
  QStringList arguments;
  for (const char* argument : GetParam().arguments) arguments << QLatin1String(argument);
  const ProcessRun run = world.RunZandor(arguments);
  EXPECT_EQ(run.exitCode, GetParam().exitCode) << Describe(run);
  if (*GetParam().out != '\0') {
    EXPECT_TRUE(run.out.contains(QLatin1String(GetParam().out))) << Describe(run);
  }
  if (*GetParam().err != '\0') {
    EXPECT_TRUE(run.err.contains(QLatin1String(GetParam().err))) << Describe(run);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineUse,
    ::testing::Values(
        UsageRow{"Help", {"--help"}, 0, "zandor --sync [--full]", ""},
        UsageRow{"Version", {"--version"}, 0, "zandor 0.", ""},
        UsageRow{"UnknownOption", {"--sync", "--bogus"}, 2, "", "Unknown option 'bogus'"},
        UsageRow{"TimeoutNotANumber", {"--sync", "--timeout", "soon"}, 2, "", "--timeout needs"},
        UsageRow{"TimeoutZero", {"--sync", "--timeout", "0"}, 2, "", "--timeout needs"},
        UsageRow{"FlagWithoutSync", {"--full", "--version"}, 0, "zandor 0.", ""},
        UsageRow{"StrayArgument", {"--sync", "now"}, 2, "", "Unexpected argument 'now'"},
        UsageRow{"TraceWithoutFile", {"--sync", "--trace"}, 2, "", "Missing value after"}),
    testing::RowName{});

}  // namespace
}  // namespace zandor
