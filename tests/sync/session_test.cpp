// What one synchronisation leaves for the next in the same window session, the
// walk's breaks, the folder choice and the store's failures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "support/sync_rig.h"
#include "sync/folder_tree.h"

namespace zandor::testing {
namespace {

const QStringList kInbox{QStringLiteral("Inbox")};
const QStringList kWork{QStringLiteral("Inbox"), QStringLiteral("Work")};
const QStringList kPlay{QStringLiteral("Inbox"), QStringLiteral("Play")};
const QStringList kZoo{QStringLiteral("Inbox"), QStringLiteral("Zoo")};
const QStringList kSent{QStringLiteral("Sent")};

// The folders scanned, in order, from the given change of status line 1 on.
QStringList Scanned(const RecordingHost& host, qsizetype from = 0) {
  QStringList folders;
  for (const QString& text : host.StatusHistory(1).mid(from)) {
    if (!text.startsWith(QLatin1String("Scanning "))) continue;
    const QString folder = text.mid(9).section(QLatin1Char('.'), 0, 0);
    if (!folders.contains(folder)) folders << folder;
  }
  return folders;
}

// A Break left over from the last synchronisation must not stop the next.
TEST(SessionTest, ABreakOfTheLastSynchronisationDoesNotStopTheNext) {
  SyncRig rig;
  rig.AddMail(kInbox, QStringLiteral("M"));
  rig.session.BreakRequested = true;
  EXPECT_EQ(rig.Run(), SyncEnd::Completed);
  EXPECT_EQ(rig.host.Status(1), QStringLiteral("Sent: 1"));
  EXPECT_TRUE(rig.host.Boxes().isEmpty());
}

// The four lines are cleared when the handshake starts, whatever they held.
TEST(SessionTest, HandshakingClearsTheOtherStatusLines) {
  SyncRig rig;
  for (int i = 1; i <= 4; ++i) rig.host.SetStatus(i, QStringLiteral("old"));
  rig.host.SetYieldHook([](RecordingHost& host, int) {
    if (host.Status(1) == QStringLiteral("Handshaking...")) {
      EXPECT_EQ(host.StatusLines(), (QStringList{QStringLiteral("Handshaking..."), {}, {}, {}}));
    }
  });
  rig.Run();
  EXPECT_TRUE(rig.host.StatusHistory(1).contains(QStringLiteral("Handshaking...")));
}

// A message whose stored mark says "never sent" is sent like one never marked.
TEST(SessionTest, AStoredNeverSentMarkIsSent) {
  SyncRig rig;
  const QString id = rig.AddMail(kInbox, QStringLiteral("M"));
  ASSERT_EQ(rig.Run(), SyncEnd::Completed);
  std::unique_ptr<MailItem> item = rig.FirstItem(DefaultFolder::Inbox);
  ASSERT_TRUE(item);
  item->SetKelvoSent(NeverSentDate());
  ASSERT_TRUE(item->Save());
  rig.Run();
  EXPECT_EQ(rig.host.Status(1), QStringLiteral("Sent: 1"));
  EXPECT_EQ(rig.HeldEntryIds(), (QStringList{id, id}));
}

// The walk asks the settings, not the tree: a tick the tree shows without a
// stored choice behind it changes nothing.
TEST(SessionTest, TheWalkFollowsTheStoredChoiceNotTheTree) {
  SyncRig rig;
  const QString inbox = rig.AddMail(kInbox, QStringLiteral("I"));  // its scan yields first
  const QString work = rig.AddMail(kWork, QStringLiteral("W"));
  rig.AddMail(kPlay, QStringLiteral("P"));
  rig.settings.Write(kFoldersSection, rig.builder.EntryIdOf(kPlay), QStringLiteral("1"));
  const QString workKey = rig.builder.EntryIdOf(kWork);
  const QString playKey = rig.builder.EntryIdOf(kPlay);
  rig.host.SetYieldHook([&](RecordingHost& host, int) {
    if (!host.Tree().HasNode(workKey)) return;
    host.Tree().Set(workKey, FolderView::Flag::Checked, false);
    host.Tree().Set(playKey, FolderView::Flag::Checked, true);
  });
  rig.Run();
  EXPECT_EQ(rig.HeldEntryIds(), (QStringList{inbox, work}));
}

// A Break while a folder is scanned (nothing to send, so no wait notices it)
// ends the walk there: no further folder is scanned, and the path to the
// folder stays bold.
TEST(SessionTest, ABreakDuringAScanEndsTheWalk) {
  for (const QStringList& breakIn : {kInbox, kWork}) {
    SyncRig rig;
    rig.AddMail(kInbox, QStringLiteral("I"));
    rig.AddMail(kWork, QStringLiteral("W"));
    rig.AddMail(kZoo, QStringLiteral("Z"));
    rig.AddMail(kSent, QStringLiteral("S"));
    ASSERT_EQ(rig.Run(), SyncEnd::Completed);
    const QString name = breakIn.last();
    rig.host.BreakWhen([&](const RecordingHost& host) {
      return host.Status(1).startsWith(QStringLiteral("Scanning ") + name);
    });
    const qsizetype from = rig.host.StatusHistory(1).size();
    rig.line.Transcript().Clear();
    rig.Run();
    const QStringList scanned = Scanned(rig.host, from);
    EXPECT_EQ(scanned.value(scanned.size() - 1), name);
    EXPECT_FALSE(scanned.contains(QStringLiteral("Zoo")));
    EXPECT_FALSE(scanned.contains(QStringLiteral("Sent")));
    const QString key = rig.builder.EntryIdOf(breakIn);
    EXPECT_TRUE(rig.host.Tree().Get(key, FolderView::Flag::Bold)) << name.toStdString();
    EXPECT_TRUE(rig.host.Tree().Get(key, FolderView::Flag::Selected));
    EXPECT_FALSE(rig.line.Transcript().Text().contains(QStringLiteral("PC  CMD_END")));
  }
}

// The store's failures are told once, in words, and never taken for success.
TEST(SessionTest, StoreFailuresAreToldAndNothingIsMarkedFalsely) {
  SyncRig rig;
  rig.AddMail(kInbox, QStringLiteral("M"));
  rig.device.AddWritten(Written("Up", "", "body"));
  rig.AddMail(kWork, QStringLiteral("W"));
  rig.faults.failDraftSaves = QStringLiteral("disk full");
  rig.faults.failItemSaves = QStringLiteral("read-only");
  rig.faults.failFolder = QStringLiteral("Permission denied");
  rig.faults.failFolderId = rig.builder.EntryIdOf(kWork);
  rig.options.removeFromKelvo = true;
  rig.Run();
  EXPECT_EQ(rig.host.Boxes().size(), 4) << rig.host.Boxes().join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(
      rig.host.Boxes().mid(1, 2),
      (QStringList{
          QStringLiteral(
              "The folder Work could not be read, so it was not synchronised: Permission denied"),
          QStringLiteral("The subfolders of Work could not be read, so it was not synchronised: "
                         "Permission denied")}));
  EXPECT_EQ(
      rig.host.Status(3),
      QStringLiteral(
          "Nothing removed from Kelvo: the folder Work could not be read (Permission denied)"));
  EXPECT_TRUE(rig.host.Boxes().value(0).contains(QStringLiteral("disk full")));
  // A mark's save ends in the background: its failure is told before the summary.
  EXPECT_EQ(rig.host.Boxes().value(3),
            QStringLiteral("The message \"M\" was sent to the Kelvo, but could not be marked as "
                           "sent: read-only"));
  EXPECT_EQ(rig.device.Written().size(), 1u);  // the Kelvo keeps what was not filed
  rig.faults.failDraftSaves.reset();
  rig.faults.failItemSaves.reset();
  rig.faults.failFolder.reset();
  rig.Run();
  EXPECT_EQ(rig.host.StatusLines().mid(0, 2),
            (QStringList{QStringLiteral("Sent: 2"), QStringLiteral("Received: 1")}));
}

// A folder the store cannot use is named, and nothing is removed from the
// Kelvo on its account.
TEST(SessionTest, ADamagedFolderIsNamedAndKeepsTheKelvosMessages) {
  SyncRig rig;
  rig.AddMail(kInbox, QStringLiteral("M"));
  for (const char* part : {".Work/new", ".Work/tmp"})
    QDir(rig.dir.path()).mkpath(QLatin1String(part));
  QFile(rig.dir.filePath(QStringLiteral(".Work/cur"))).open(QIODevice::WriteOnly);
  rig.device.AddHeld({QStringLiteral("0000001A"), "from-work", 1, "r"});
  rig.options.removeFromKelvo = true;
  rig.Run();
  EXPECT_EQ(rig.host.Boxes(),
            QStringList{QStringLiteral("The folder .Work could not be read, so it was not "
                                       "synchronised: it is damaged: cur is not a folder")});
  EXPECT_EQ(rig.host.Status(1), QStringLiteral("Sent: 1"));
  EXPECT_TRUE(rig.HeldEntryIds().contains(QStringLiteral("from-work")));
}

// A mail folder another synchronisation holds is left alone, the port closed.
TEST(SessionTest, AMailFolderInUseIsNotSynchronised) {
  SyncRig rig;
  rig.AddMail(kInbox, QStringLiteral("M"));
  MaildirStore other(rig.dir.path(), QLocale::c(), rig.clock);
  const auto held = other.LockForSync();
  EXPECT_EQ(rig.Run(), SyncEnd::StoreFailed);
  EXPECT_EQ(std::pair(rig.line.OpenCount(), rig.host.Boxes().size()), std::pair(0, qsizetype{1}));
}

// After the first mark that cannot be saved (a full disk) nothing more is
// sent, since it would all go again next time, and it is said once.
TEST(SessionTest, NothingMoreIsSentOnceAMarkCannotBeSaved) {
  SyncRig rig;
  for (const char* subject : {"A", "B", "C"}) rig.AddMail(kInbox, QLatin1String(subject));
  rig.faults.failItemSaves = QStringLiteral("No space left on device");
  rig.Run();
  EXPECT_EQ(rig.host.Boxes(),
            QStringList{QStringLiteral("The message \"A\" was sent to the Kelvo, but could not be "
                                       "marked as sent: No space left on device")});
  EXPECT_EQ(rig.host.Status(1), QStringLiteral("Sent: 2"));
}

// A store that cannot be used at all is told once, and no folder after it is
// tried: each would fail alike.
TEST(SessionTest, AStoreThatCannotBeUsedIsToldOnceAndEndsTheWalk) {
  SyncRig rig;
  rig.AddMail(kInbox, QStringLiteral("M"));
  rig.AddMail(kWork, QStringLiteral("W"));
  rig.device.AddHeld({QStringLiteral("0000001A"), "elsewhere", 1, "r"});
  rig.faults.failMarkReads = QStringLiteral("disk I/O error");
  rig.options.removeFromKelvo = true;
  rig.Run();
  EXPECT_EQ(rig.host.Boxes(), QStringList{QStringLiteral("The mail store cannot be used, so "
                                                         "nothing more was sent: disk I/O error")});
  EXPECT_EQ(Scanned(rig.host, 0), QStringList{QStringLiteral("Inbox")});
  EXPECT_EQ(rig.HeldEntryIds(), QStringList{QStringLiteral("elsewhere")});
  EXPECT_EQ(rig.host.Status(3), QStringLiteral("Nothing removed from Kelvo: the mail store could "
                                               "not be used (disk I/O error)"));
}

// Marks reach the disk while the next part goes out, but never more than one
// acknowledged part lacks a durable mark, and all are durable at the summary.
TEST(SessionTest, AtMostOnePartAwaitsItsDurableMark) {
  SyncRig rig;
  for (int i = 0; i < 3; ++i)
    rig.AddMail(kInbox, QStringLiteral("M%1").arg(i), 1, QString(7000, QLatin1Char('x')));
  rig.options.longMessages = LongMessages::Split;
  int most = 0;
  rig.host.SetYieldHook([&rig, &most](RecordingHost&, int) {
    most = std::max(most, static_cast<int>(rig.device.Held().size()) - rig.faults.savesSettled);
  });
  rig.Run();
  EXPECT_EQ(rig.host.Status(1), QStringLiteral("Sent: 9 (3 splitted)"));
  EXPECT_EQ(most, 1);
  EXPECT_EQ(rig.faults.savesSettled, 9);
}

// A run that ends at any reply of the Kelvo, then one clean run: the Kelvo
// holds every part of every due message, each once, but for at most the one
// part whose mark was in flight. A split message is taken up where it ended.
TEST(SessionTest, EveryPartArrivesOnceAfterAnyInterruptionAndOneCleanRun) {
  const auto fill = [](SyncRig& rig) {
    rig.options.longMessages = LongMessages::Split;
    rig.AddMail(kInbox, QStringLiteral("A"), 2, QString(7000, QLatin1Char('a')));
    rig.AddMail(kInbox, QStringLiteral("B"), 1);
    rig.AddMail(kWork, QStringLiteral("C"), 1, QString(4000, QLatin1Char('c')));
  };
  const auto records = [](const SyncRig& rig) {
    std::multiset<QByteArray> held;
    for (const sim::HeldMessage& message : rig.device.Held()) held.insert(message.record);
    return held;
  };
  SyncRig clean;
  fill(clean);
  clean.Run();
  const std::multiset<QByteArray> due = records(clean);
  ASSERT_EQ(due.size(), 6u);
  for (const sim::FaultKind kind : {sim::FaultKind::WrongByte, sim::FaultKind::HangUp}) {
    for (int reply = 1; reply <= clean.device.RepliesSent(); ++reply) {
      SyncRig rig;
      fill(rig);
      rig.device.AddFault({reply, kind, {}});
      rig.Run();
      rig.device.ClearFaults();
      rig.Run();
      const std::multiset<QByteArray> held = records(rig);
      size_t missing = 0;
      for (const QByteArray& record : due) missing += held.count(record) == 0 ? 1u : 0u;
      EXPECT_EQ(missing, 0u) << "fault at reply " << reply;
      EXPECT_LE(held.size(), due.size() + 1) << "fault at reply " << reply;
    }
  }
}

// The Kelvo's recipient list and a NUL in its subject reach the draft whole.
TEST(SessionTest, AnUploadKeepsEveryRecipientAndTheSubjectPastANul) {
  SyncRig rig;
  sim::WrittenMessage note =
      Written("", "Ann Smith; bob@example.com, \"Lee, Jo\" <jo@x.example>", "Hi");
  note.fields[0] = QByteArray("Lunch\0later", 11);
  rig.device.AddWritten(note);
  rig.Run();
  std::unique_ptr<MailItem> draft = rig.FirstItem(DefaultFolder::Drafts);
  ASSERT_TRUE(draft);
  EXPECT_EQ(draft->Text(ItemText::Subject).value(), QStringLiteral("Lunch?later"));
  EXPECT_EQ(draft->Text(ItemText::To).value(),
            QStringLiteral("Ann Smith; bob@example.com; Lee, Jo"));
}

// Full sync is read for each message: ticked while a folder's scan shows its
// first message, it sends that message and the rest of the folder again.
TEST(SessionTest, FullSyncTickedDuringAScanTakesEffectAtTheNextMessage) {
  SyncRig rig;
  rig.AddMail(kInbox, QStringLiteral("A"), 2);
  const QString b = rig.AddMail(kInbox, QStringLiteral("B"), 1);
  ASSERT_EQ(rig.Run(), SyncEnd::Completed);
  rig.host.SetYieldHook([&rig](RecordingHost& host, int) {
    if (host.Status(1).startsWith(QStringLiteral("Scanning Inbox. Message 1"))) {
      rig.options.fullSync = true;
    }
  });
  rig.Run();
  EXPECT_EQ(rig.host.Status(1), QStringLiteral("Sent: 2"));
  EXPECT_EQ(rig.HeldEntryIds().count(b), 2);
}

// The removals a run makes are those confirmed at its start: boxes ticked
// during it wait for the next run, which asks about them.
TEST(SessionTest, RemovalsTickedDuringARunWaitForTheNextOne) {
  SyncRig rig;
  rig.AddMail(kInbox, QStringLiteral("M"));
  rig.device.AddHeld({QStringLiteral("0000001A"), "stale", 1, "r"});
  ASSERT_EQ(rig.Run(), SyncEnd::Completed);
  rig.KeepOnDevice({QStringLiteral("stale")});  // M deleted on the Kelvo
  rig.host.SetYieldHook([&rig](RecordingHost&, int) {
    rig.options.removeFromKelvo = rig.options.removeFromMail = true;
  });
  rig.Run();
  EXPECT_EQ(std::tuple(rig.host.Confirmations().size(), rig.HeldEntryIds().size(),
                       rig.FilesIn({QStringLiteral("Trash")})),
            std::tuple(0, 1, 0));
  rig.host.SetYieldHook({});
  rig.Run();
  EXPECT_EQ(std::tuple(rig.host.Confirmations().size(), rig.HeldEntryIds().size(),
                       rig.FilesIn({QStringLiteral("Trash")})),
            std::tuple(2, 0, 1));
}

struct DeferredBreak {
  const char* during;  // status line 1 while the break is asked for
  int drafts, held;    // after the break
};
class DeferredBreakTest : public ::testing::TestWithParam<DeferredBreak> {};

// A break asked for after the exchange in flight (the headless Ctrl-C) lets a
// message being received or a part being sent end with its Ack and mark,
// then stops: the next run neither sends nor receives anything twice.
TEST_P(DeferredBreakTest, LetsTheExchangeInFlightEnd) {
  SyncRig rig;
  const QString a = rig.AddMail(kInbox, QStringLiteral("A"), 2);
  const QString b = rig.AddMail(kInbox, QStringLiteral("B"), 1);
  rig.device.AddWritten(Written("Up", "ann@example.org", "body"));
  rig.device.AddWritten(Written("Up2", "ann@example.org", "body"));
  rig.host.SetYieldHook([&rig](RecordingHost& host, int) {
    if (host.Status(1).startsWith(QLatin1String(GetParam().during)) &&
        host.Status(2).startsWith(QStringLiteral("Message size"))) {
      RequestBreakAfterExchange(rig.session);
    }
  });
  rig.Run();
  EXPECT_EQ(rig.host.Boxes().value(0).trimmed(), QStringLiteral("User Break"));
  const QStringList heldAfterBreak = rig.HeldEntryIds();
  EXPECT_EQ(rig.FilesIn({QStringLiteral("Drafts")}), GetParam().drafts);
  EXPECT_EQ(heldAfterBreak.size(), GetParam().held);
  rig.host.SetYieldHook({});
  rig.Run();
  EXPECT_EQ(rig.FilesIn({QStringLiteral("Drafts")}), 2);
  EXPECT_EQ(rig.HeldEntryIds().mid(0, heldAfterBreak.size()), heldAfterBreak);
  EXPECT_EQ(rig.HeldEntryIds().filter(QRegularExpression(a + QLatin1Char('|') + b)).size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Exchanges, DeferredBreakTest,
                         ::testing::Values(DeferredBreak{"Receiving message: 1", 1, 1},
                                           DeferredBreak{"Scanning Inbox. Message 1", 2, 3}));

struct HostileLayout {
  const char* name;
  MaildirLayout layout;
  std::vector<std::pair<const char*, const char*>> links;  // target, link below the root
  const char* directory;                                   // made below the root, or null
  const char* box = nullptr;                               // the one box expected
};

class HostileLayoutTest : public ::testing::TestWithParam<HostileLayout> {};

// Links that make a folder appear twice or loop, a folder named "..." (named
// once in a box), and broken entries among the messages: a full
// synchronisation still ends, sends each message once and reads every folder.
TEST_P(HostileLayoutTest, EveryFolderIsWalkedOnceAndBrokenEntriesAreIgnored) {
  SyncRig rig(GetParam().layout);
  const QString root = rig.builder.Root() + QLatin1Char('/');
  // The spoilt entries come first, so that a listing meets them before and
  // after the good ones, whatever its order.
  for (const QStringList& folder : {kInbox, kWork, kSent}) rig.builder.Folder(folder);
  for (const auto& [target, link] : GetParam().links) {
    ASSERT_EQ(::symlink(target, (root + QLatin1String(link)).toLocal8Bit().constData()), 0) << link;
  }
  if (GetParam().directory != nullptr) QDir().mkpath(root + QLatin1String(GetParam().directory));
  rig.AddMail(kInbox, QStringLiteral("I"));
  rig.AddMail(kWork, QStringLiteral("W"));
  rig.AddMail(kSent, QStringLiteral("S"));
  for (const auto& [target, link] : GetParam().links) {
    const QString after = root + QLatin1String(link) + QStringLiteral("-again");
    if (QString::fromUtf8(link).contains(QStringLiteral("cur/")))
      ::symlink(target, after.toLocal8Bit().constData());
  }
  rig.options.fullSync = true;
  EXPECT_EQ(rig.Run(), SyncEnd::Completed);
  EXPECT_EQ(rig.host.StatusLines().mid(0, 3),
            (QStringList{QStringLiteral("Sent: 3"), QStringLiteral("Received: 0"), QString()}));
  const char* box = GetParam().box;
  EXPECT_EQ(rig.host.Boxes(), box ? QStringList{QString::fromUtf8(box)} : QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Disk, HostileLayoutTest,
    ::testing::Values(
        HostileLayout{
            "RootAlias", MaildirLayout::PlusPlus, {{".", ".Alias"}, {".Work", ".Work2"}}, nullptr},
        HostileLayout{"DotDotFolder",
                      MaildirLayout::PlusPlus,
                      {},
                      ".../cur",
                      "The folder ... could not be read, so it was not synchronised: its name has "
                      "an empty part between dots, which no folder of a Maildir++ store may have"},
        HostileLayout{"BrokenEntries",
                      MaildirLayout::PlusPlus,
                      {{"/nonexistent", "cur/broken:2,S"}, {"cur/loop:2,S", "cur/loop:2,S"}},
                      nullptr},
        HostileLayout{
            "LinkLoops",
            MaildirLayout::Nested,
            {{".", "Inbox/Work/a"}, {".", "Inbox/Work/b"}, {"../../Sent", "Inbox/Work/s"}},
            nullptr}),
    [](const ::testing::TestParamInfo<HostileLayout>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zandor::testing
