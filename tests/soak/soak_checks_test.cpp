// The soak's rules must catch what they are for: each row breaks one rule in
// an otherwise sound run (or does something the rules allow) and names the
// complaint expected. Also the reading of real Maildirs and data files, and
// the byte count of transcripts the line benchmark relies on.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "line_trace.h"
#include "soak_state.h"
#include "support/maildir_builder.h"
#include "support/row_name.h"

namespace zandor::testing {
namespace {

MessageFile Mail(const QString& folder, bool marked) {
  MessageFile file;
  file.folderDir = folder;
  file.fileName = QStringLiteral("x:2,S");
  file.digest = "digest";
  file.marked = marked;
  return file;
}

// A sound run: message "a" was sent before, "b" is sent now, and the note the
// Kelvo held written was uploaded as draft "d".
struct SoundRun {
  SoundRun() {
    before.messages[QStringLiteral("a")] = Mail(kInboxDir, true);
    before.messages[QStringLiteral("a")].markMsecs = 500;
    before.messages[QStringLiteral("b")] = Mail(kSentDir, false);
    deviceBefore.loaded = true;
    deviceBefore.held = {{QStringLiteral("a"), 1, "a-record"}};
    deviceBefore.written = {{QStringLiteral("Note"), QStringLiteral("Body")}};

    after = before;
    after.messages[QStringLiteral("b")].marked = true;
    after.messages[QStringLiteral("b")].markMsecs = 1000;
    MessageFile draft = Mail(kDraftsDir, true);
    draft.subject = QStringLiteral("Note");
    draft.body = QStringLiteral("Body");
    after.messages[QStringLiteral("d")] = draft;
    deviceAfter.loaded = true;
    deviceAfter.held = {{QStringLiteral("d"), 0, "d-record"},
                        {QStringLiteral("a"), 1, "a-record"},
                        {QStringLiteral("b"), 2, "b-record"}};
  }

  StoreSnapshot before;
  DeviceSnapshot deviceBefore;
  StoreSnapshot after;
  DeviceSnapshot deviceAfter;
  RunFacts facts;
};

struct RuleRow {
  const char* name;
  std::function<void(SoundRun&)> change;
  // A part of each complaint expected, in order; none for a run that keeps
  // every rule.
  std::vector<const char*> complaints;
};

class SoakRules : public ::testing::TestWithParam<RuleRow> {};

TEST_P(SoakRules, NameEachBrokenRuleAndNothingElse) {
  SoundRun run;
  GetParam().change(run);
  const QStringList broken =
      CheckRun(run.before, run.deviceBefore, run.after, run.deviceAfter, run.facts);
  ASSERT_EQ(broken.size(), static_cast<qsizetype>(GetParam().complaints.size()))
      << broken.join(QLatin1Char('\n')).toStdString();
  for (qsizetype i = 0; i < broken.size(); ++i) {
    EXPECT_TRUE(
        broken[i].contains(QLatin1String(GetParam().complaints[static_cast<std::size_t>(i)])))
        << broken[i].toStdString();
  }
}

const QString C = QStringLiteral("c");

// A message sent before whose copy the user deleted on the Kelvo.
void AddDroppedMessage(SoundRun& run) {
  MessageFile dropped = Mail(kWorkDir, true);
  dropped.markMsecs = 300;
  run.before.messages[C] = dropped;
  run.after.messages[C] = dropped;
}

// An upload of an earlier run, held on the Kelvo under draft "o".
void AddOldDraft(SoundRun& run) {
  MessageFile draft = Mail(kDraftsDir, true);
  run.before.messages[QStringLiteral("o")] = draft;
  run.after.messages[QStringLiteral("o")] = draft;
  run.deviceBefore.held.push_back({QStringLiteral("o"), 0, "o"});
  run.deviceAfter.held.push_back({QStringLiteral("o"), 0, "o"});
}

const QString A = QStringLiteral("a");
const QString B = QStringLiteral("b");
const QString D = QStringLiteral("d");

INSTANTIATE_TEST_SUITE_P(
    Rules, SoakRules,
    ::testing::Values(
        RuleRow{"SoundRun", [](SoundRun&) {}, {}},
        RuleRow{"LostMessage",
                [](SoundRun& r) {
                  r.after.messages.erase(B);
                  r.deviceAfter.held.pop_back();
                },
                {"lost: b"}},
        RuleRow{"RewrittenMessage",
                [](SoundRun& r) { r.after.messages[A].digest = "other"; },
                {"rewritten: a"}},
        RuleRow{
            "MarkLost", [](SoundRun& r) { r.after.messages[A].marked = false; }, {"mark lost: a"}},
        RuleRow{"TrashedWithoutLeave",
                [](SoundRun& r) { r.after.messages[A].folderDir = kTrashDir; },
                {"moved: a from Inbox to .Trash"}},
        RuleRow{"TrashedWithLeave",
                [](SoundRun& r) {
                  r.after.messages[A].folderDir = kTrashDir;
                  r.facts.removeFromMail = true;
                },
                {}},
        RuleRow{"DraftMovedEvenWithLeave",
                [](SoundRun& r) {
                  r.before.messages[D] = r.after.messages[D];
                  r.deviceBefore.written.clear();
                  r.deviceBefore.held.push_back({D, 0, "d-record"});
                  r.after.messages[D].folderDir = kTrashDir;
                  r.facts.removeFromMail = true;
                },
                {"moved: d from .Drafts to .Trash",
                 "an upload is held under a message that is no draft: d"}},
        RuleRow{"PartialDraft",
                [](SoundRun& r) { r.after.messages[D].body = QStringLiteral("Bo"); },
                {"partial or unknown draft: d", "upload lost: \"Note\""}},
        RuleRow{"UnreadableDraft",
                [](SoundRun& r) { r.after.messages[D].readable = false; },
                {"partial or unknown draft: d", "upload lost: \"Note\""}},
        RuleRow{"UploadFiledTwice",
                [](SoundRun& r) { r.after.messages[QStringLiteral("d2")] = r.after.messages[D]; },
                {"one upload filed twice in one run"}},
        RuleRow{"NewMessageOutsideDrafts",
                [](SoundRun& r) { r.after.messages[QStringLiteral("n")] = Mail(kWorkDir, false); },
                {"new message outside Drafts: n in .Work"}},
        RuleRow{"StrayEntry",
                [](SoundRun& r) { r.after.strays << QStringLiteral("Inbox/cur/odd"); },
                {"stray entry: Inbox/cur/odd"}},
        RuleRow{"OldStrayIsNoNews",
                [](SoundRun& r) {
                  r.before.strays << QStringLiteral("Inbox/cur/odd");
                  r.after.strays << QStringLiteral("Inbox/cur/odd");
                },
                {}},
        RuleRow{
            "TmpFileAfterCleanRun", [](SoundRun& r) { r.after.tmpFiles = 1; }, {"tmp/ holds 1"}},
        RuleRow{"TmpFileAfterKill",
                [](SoundRun& r) {
                  r.after.tmpFiles = 1;
                  r.facts.killed = true;
                },
                {}},
        RuleRow{"ResendOfMarkedMessage",
                [](SoundRun& r) {
                  r.deviceAfter.held.push_back({A, 1, {"a-record"}});
                },
                {"sent again though marked before the run: a (1 more part(s))"}},
        RuleRow{"ResendInFullSync",
                [](SoundRun& r) {
                  r.deviceAfter.held.push_back({A, 1, {"a-record"}});
                  r.facts.full = true;
                },
                {}},
        RuleRow{"ResendOfPartWhoseMarkWasNeverSaved",
                [](SoundRun& r) {
                  r.deviceBefore.held.push_back({B, 2, {"b-record"}});
                  r.deviceAfter.held.push_back({B, 2, {"b-record"}});
                },
                {}},
        RuleRow{"MarkedButNotHeld",
                [](SoundRun& r) { r.deviceAfter.held.pop_back(); },
                {"marked in this run but not on the Kelvo: b"}},
        RuleRow{"UploadLost",
                [](SoundRun& r) {
                  r.after.messages.erase(D);
                  r.deviceAfter.held.erase(r.deviceAfter.held.begin());
                },
                {"upload lost: \"Note\""}},
        RuleRow{"UploadStillWrittenAfterBreak",
                [](SoundRun& r) {
                  r.deviceAfter.written = r.deviceBefore.written;
                  r.deviceAfter.held.erase(r.deviceAfter.held.begin());
                },
                {}},
        RuleRow{"UploadHeldUnderNonDraft",
                [](SoundRun& r) {
                  r.deviceAfter.held.push_back({B, 0, {"x"}});
                },
                {"an upload is held under a message that is no draft: b"}},
        RuleRow{"HeldMessageUnknownToTheMail",
                [](SoundRun& r) {
                  r.deviceAfter.held.push_back({QStringLiteral("zz"), 1, {"z"}});
                },
                {"the Kelvo holds a message the mail does not have: zz"}},
        RuleRow{"MarkedEarlierAndDeletedOnTheKelvo",
                [](SoundRun& r) {
                  r.deviceBefore.held.clear();
                  r.deviceAfter.held.erase(r.deviceAfter.held.begin() + 1);
                },
                {}},
        RuleRow{"RemovedFromTheKelvoThoughChosen",
                [](SoundRun& r) { r.deviceAfter.held.erase(r.deviceAfter.held.begin() + 1); },
                {"removed from the Kelvo though chosen: a"}},
        RuleRow{"HeldAfterTheUserDeletedItInTheMail",
                [](SoundRun& r) {
                  r.deviceBefore.held.push_back({QStringLiteral("u"), 1, "u"});
                  r.deviceAfter.held.push_back({QStringLiteral("u"), 1, "u"});
                  r.facts.deletedFromMail << QStringLiteral("u");
                },
                {}},
        RuleRow{"CleanRemovalFromMailTrashesWhatTheKelvoDropped",
                [](SoundRun& r) {
                  AddDroppedMessage(r);
                  r.after.messages[C].folderDir = kTrashDir;
                  r.facts.faultFree = r.facts.removeFromMail = true;
                },
                {}},
        RuleRow{"CleanRemovalFromMailKeepsWhatTheKelvoDropped",
                [](SoundRun& r) {
                  AddDroppedMessage(r);
                  r.facts.faultFree = r.facts.removeFromMail = true;
                },
                {"kept though the Kelvo no longer holds it: c"}},
        RuleRow{"FullRunKeepsWhatTheKelvoDropped",
                [](SoundRun& r) {
                  AddDroppedMessage(r);
                  r.facts.faultFree = r.facts.removeFromMail = r.facts.full = true;
                },
                {}},
        RuleRow{"CleanRemovalFromMailTrashesWhatTheKelvoHolds",
                [](SoundRun& r) {
                  r.after.messages[A].folderDir = kTrashDir;
                  r.facts.faultFree = r.facts.removeFromMail = true;
                },
                {"moved to Trash though not due: a"}},
        RuleRow{"CleanRemovalFromKelvoDropsAnOldDraft",
                [](SoundRun& r) {
                  AddOldDraft(r);
                  r.deviceAfter.held.pop_back();
                  r.facts.faultFree = r.facts.removeFromKelvo = true;
                },
                {}},
        RuleRow{"CleanRemovalFromKelvoLeavesAnOldDraft",
                [](SoundRun& r) {
                  AddOldDraft(r);
                  r.facts.faultFree = r.facts.removeFromKelvo = true;
                },
                {"still on the Kelvo though not chosen: o"}},
        RuleRow{"FaultyRemovalFromKelvoMayLeaveAnOldDraft",
                [](SoundRun& r) {
                  AddOldDraft(r);
                  r.facts.removeFromKelvo = true;
                },
                {}},
        RuleRow{"DataFileDoesNotLoad",
                [](SoundRun& r) {
                  r.deviceAfter.loaded = false;
                  r.deviceAfter.error = QStringLiteral("not JSON");
                },
                {"the Kelvo's data file does not load: not JSON"}}),
    RowName{});

TEST(SoakSettled, NamesWhatIsNotMarkedHeldOrUploaded) {
  SoundRun run;
  EXPECT_TRUE(CheckSettled(run.after, run.deviceAfter).isEmpty());
  run.after.messages[A].marked = false;
  run.deviceAfter.held.pop_back();
  run.deviceAfter.written = run.deviceBefore.written;
  EXPECT_EQ(CheckSettled(run.after, run.deviceAfter),
            (QStringList{QStringLiteral("never marked: a"), QStringLiteral("never held: b"),
                         QStringLiteral("never uploaded: \"Note\"")}));
}

TEST(SoakChanges, CountNewAndRepeatedPartsDraftsAndTrash) {
  SoundRun run;
  run.deviceBefore.held.push_back({B, 2, "b-record"});  // b's first try, never marked
  run.after.messages[A].folderDir = kTrashDir;
  const RunChanges changes = CompareRun(run.before, run.deviceBefore, run.after, run.deviceAfter);
  EXPECT_EQ(changes.newParts, 1);  // d only: b's part was held already...
  EXPECT_EQ(changes.repeated, 0);  // ...and is held once still
  run.deviceAfter.held.push_back({B, 2, "b-record"});
  const RunChanges again = CompareRun(run.before, run.deviceBefore, run.after, run.deviceAfter);
  EXPECT_EQ(again.newParts, 2);
  EXPECT_EQ(again.repeated, 1);
  EXPECT_EQ(again.newDrafts, 1);
  EXPECT_EQ(again.toTrash, 1);
}

TEST(SoakSnapshot, ReadsFilesMarksStraysAndLeftoversOfARealMaildir) {
  QTemporaryDir dir;
  MaildirBuilder builder(dir.path(), MaildirLayout::PlusPlus);
  TestMessage message;
  message.received = QDateTime(QDate(2026, 2, 1), QTime(9, 0));
  const QString inbox = builder.Add(Path({"Inbox"}), message);
  const QString fresh = [&] {
    TestMessage inNew = message;
    inNew.inNew = true;
    return builder.Add(Path({"Sent"}), inNew);
  }();
  const QString drafts = builder.Folder(Path({"Drafts"}));
  QDir().mkpath(builder.Folder(Path({"Inbox"})) + QStringLiteral("/cur/subdir"));
  QFile odd(builder.Folder(Path({"Inbox"})) + QStringLiteral("/cur/no-flags"));
  ASSERT_TRUE(odd.open(QIODevice::WriteOnly));
  odd.close();
  QFile leftover(drafts + QStringLiteral("/tmp/123.M1P2.host"));
  ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
  leftover.close();

  const StoreSnapshot snapshot = TakeStoreSnapshot(dir.path());
  EXPECT_TRUE(snapshot.error.isEmpty()) << snapshot.error.toStdString();
  ASSERT_EQ(snapshot.messages.size(), 2u);
  EXPECT_EQ(snapshot.messages.at(inbox).folderDir, kInboxDir);
  EXPECT_EQ(snapshot.messages.at(fresh).folderDir, kSentDir);
  EXPECT_FALSE(snapshot.messages.at(inbox).marked);
  EXPECT_TRUE(snapshot.messages.at(inbox).readable);
  EXPECT_EQ(snapshot.messages.at(inbox).digest.size(), 20);
  EXPECT_EQ(snapshot.strays, (QStringList{QStringLiteral("Inbox/cur/no-flags"),
                                          QStringLiteral("Inbox/cur/subdir")}));
  EXPECT_EQ(snapshot.tmpFiles, 1);
}

TEST(SoakSnapshot, ADataFileThatDoesNotLoadSaysWhy) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kelvo.json"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(R"({"format": "kelvo-data", "version": 1, "held": [{"deviceId": "zz"}]})");
  file.close();
  const DeviceSnapshot device = TakeDeviceSnapshot(path);
  EXPECT_FALSE(device.loaded);
  EXPECT_FALSE(device.error.isEmpty());
  EXPECT_FALSE(TakeDeviceSnapshot(dir.filePath(QStringLiteral("missing.json"))).loaded);
}

struct TraceRow {
  const char* name;
  const char* transcript;
  qint64 fromPc;
  qint64 fromKelvo;
  int unknown;
};

class TraceByteCount : public ::testing::TestWithParam<TraceRow> {};

TEST_P(TraceByteCount, CountsEveryByteOnce) {
  const TraceBytes bytes = CountTraceBytes(QString::fromUtf8(GetParam().transcript));
  EXPECT_EQ(bytes.fromPc, GetParam().fromPc);
  EXPECT_EQ(bytes.fromKelvo, GetParam().fromKelvo);
  EXPECT_EQ(bytes.unknownTokens, GetParam().unknown);
}

INSTANTIATE_TEST_SUITE_P(
    Transcripts, TraceByteCount,
    ::testing::Values(
        TraceRow{"ControlNames", "PC  ACK\nKV  CMD_MESSAGE_ID\nPC  CMD_END ABORT NUL\n", 4, 1, 0},
        TraceRow{"QuotedText", "KV  \"120\" NUL\n", 0, 4, 0},
        TraceRow{"TextWithBlanks", "PC  ACK \"a b  c\" NUL", 8, 0, 0},
        TraceRow{"Escapes", "PC  \"say \\\"hi\\\" \\\\ \\r\\n\"", 13, 0, 0},
        TraceRow{"HexBytes", "KV  \\x15 \\xFE \"x\"\n", 0, 3, 0},
        TraceRow{"NotesCarryNothing", "--  line opened\n--  box: Comm Err 1\n", 0, 0, 0},
        TraceRow{"UnknownTokenCountsOnce", "PC  FOO ACK\n", 2, 0, 1},
        TraceRow{"EmptyPieceLine", "PC  \n", 0, 0, 0}),
    RowName{});

TEST(LineTime, TenBitTimesAByte) {
  EXPECT_DOUBLE_EQ(LineSeconds(3840, 38400), 1.0);
  EXPECT_DOUBLE_EQ(LineSeconds(0, 38400), 0.0);
  EXPECT_DOUBLE_EQ(LineSeconds(100, 0), 0.0);
}

}  // namespace
}  // namespace zandor::testing
