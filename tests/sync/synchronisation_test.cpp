// Whole synchronisations, in-process: a real Maildir, the Kelvo device model,
// the driver and every phase, with the boxes, status lines and the store and
// device afterwards; what one run leaves for the next, breaks, the folder
// choice and the store's failures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "link/protocol.h"
#include "support/row_name.h"
#include "support/sync_rig.h"
#include "sync/folder_tree.h"

namespace zandor::testing {

using namespace Qt::StringLiterals;
namespace {

const QStringList kWork2026{u"Inbox"_s, u"Work"_s, u"2026"_s};
const QStringList kZoo{u"Inbox"_s, u"Zoo"_s};

QStringList Lines(const char* a, const char* b, const char* c, const char* d) {
  return {QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c), QString::fromUtf8(d)};
}

// The folders scanned, in order, from the given change of status line 1 on.
QStringList Scanned(const RecordingHost& host, qsizetype from = 0) {
  QStringList folders;
  for (const QString& text : host.StatusHistory(1).mid(from)) {
    if (!text.startsWith(QLatin1String("Scanning "))) continue;
    const QString folder = text.mid(9).section(u'.', 0, 0);
    if (!folders.contains(folder)) folders << folder;
  }
  return folders;
}

class FirstSyncTest : public ::testing::TestWithParam<MaildirLayout> {};

// A store with nested folders in both trees and one excluded folder: the
// excluded folder's mail stays home, its subfolder's goes, whatever ticks the
// tree shows (the walk follows the options); a second synchronisation sends
// nothing; a full one sends everything again and deletes nothing. A Break and
// status lines left from before neither stop nor stay: the handshake clears
// the lines.
TEST_P(FirstSyncTest, SendsTheChosenFoldersOnceAndAgainOnlyInAFullSync) {
  SyncRig rig(GetParam());
  const QString inbox1 = rig.AddMail(kInbox, u"Inbox older"_s, 3);
  const QString inbox2 = rig.AddMail(kInbox, u"Inbox newer"_s, 1);
  rig.AddMail(kInbox, u"Out of range"_s, 40);
  rig.AddMail(kWork, u"Excluded folder"_s, 1);
  const QString nested = rig.AddMail(kWork2026, u"Nested"_s, 2);
  const QString sent = rig.AddMail(kSent, u"Sent by me"_s, 2);
  rig.options.excludedFolders = {rig.builder.EntryIdOf(kWork)};
  // A recipient list and a NUL in the subject, as the Kelvo sends them.
  sim::WrittenMessage note =
      Written("", "Ann Smith; bob@example.com, \"Lee, Jo\" <jo@x.example>", "On the Kelvo\r\n");
  note.fields[0] = QByteArray("Lunch\0later", 11);
  rig.device.AddWritten(note);
  rig.session.BreakRequested = true;
  for (int i = 1; i <= 4; ++i) rig.host.SetStatus(i, u"old"_s);
  QStringList atHandshake;
  rig.host.SetYieldHook([&rig, &atHandshake](RecordingHost& host, int) {
    if (host.Status(1) == u"Handshaking..."_s) atHandshake = host.StatusLines();
    for (const QStringList& folder : {kWork, kWork2026}) {
      const QString key = rig.builder.EntryIdOf(folder);
      if (host.Tree().HasNode(key))
        host.Tree().Set(key, FolderView::Flag::Checked, folder == kWork);
    }
  });

  EXPECT_EQ(rig.Run(), SyncEnd::Completed);
  EXPECT_EQ(atHandshake, Lines("Handshaking...", "", "", ""));
  EXPECT_EQ(rig.host.StatusLines(), Lines("Sent: 4", "Received: 1", "", ""));
  EXPECT_TRUE(rig.host.Boxes().isEmpty()) << rig.host.Boxes().join(u'|').toStdString();
  EXPECT_TRUE(rig.device.Violations().isEmpty());
  const std::unique_ptr<MailItem> draft = rig.FirstItem(DefaultFolder::Drafts);
  ASSERT_TRUE(draft);
  EXPECT_EQ(draft->Text(ItemText::Subject).value() + u'|' + draft->Text(ItemText::To).value(),
            u"Lunch?later|Ann Smith; bob@example.com; Lee, Jo"_s);
  // The upload is held under the draft's id; the mail follows in walk order:
  // a folder before its subfolders, oldest first, the Inbox tree first.
  EXPECT_EQ(rig.HeldEntryIds(), (QStringList{draft->EntryId(), inbox1, inbox2, nested, sent}));
  EXPECT_FALSE(rig.line.IsOpen());
  // The walk leaves no folder selected or bold behind it.
  for (const QStringList& folder : {kInbox, kWork2026, kSent}) {
    EXPECT_FALSE(rig.host.Tree().Get(rig.builder.EntryIdOf(folder), FolderView::Flag::Selected));
    EXPECT_FALSE(rig.host.Tree().Get(rig.builder.EntryIdOf(folder), FolderView::Flag::Bold));
  }
  EXPECT_TRUE(rig.host.SyncEnabled());
  EXPECT_FALSE(rig.host.BreakEnabled());

  EXPECT_EQ(rig.Run(), SyncEnd::Completed);
  EXPECT_EQ(rig.host.StatusLines(), Lines("Sent: 0", "Received: 0", "", ""));
  EXPECT_EQ(rig.HeldEntryIds().size(), 5);

  rig.options.fullSync = true;
  EXPECT_EQ(rig.Run(), SyncEnd::Completed);
  EXPECT_EQ(rig.host.StatusLines(), Lines("Sent: 4", "Received: 0", "", ""));
  EXPECT_EQ(rig.HeldEntryIds().size(), 9);
  EXPECT_EQ(rig.session.SelectionList.size(), 4u);  // this run's alone
  EXPECT_EQ(rig.FilesIn(kInbox), 3);
  EXPECT_EQ(rig.FilesIn(kTrash), 0);
  EXPECT_EQ(rig.host.Confirmations().size(), 1);
  EXPECT_TRUE(rig.host.Boxes().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, FirstSyncTest,
                         ::testing::Values(MaildirLayout::PlusPlus, MaildirLayout::Nested),
                         [](const ::testing::TestParamInfo<MaildirLayout>& layout) {
                           return std::string(LayoutName(layout.param));
                         });

// A, B and C were sent; the Kelvo still holds A and B, and X, whose message
// was deleted from the mail. Each removal box, once confirmed, removes what
// the other side no longer holds, and nothing else.
TEST(RemovalTest, RemovesWhatTheOtherSideNoLongerHolds) {
  for (const int fromKelvo : {0, 1}) {
    for (const int fromMail : {0, 1}) {
      SCOPED_TRACE(::testing::Message()
                   << "from Kelvo " << fromKelvo << ", from mail " << fromMail);
      SyncRig rig;
      const QString a = rig.AddMail(kInbox, u"A"_s, 3);
      const QString b = rig.AddMail(kInbox, u"B"_s, 2);
      rig.AddMail(kInbox, u"C"_s, 1);
      ASSERT_EQ(rig.Run(), SyncEnd::Completed);
      rig.KeepOnDevice({a, b});
      rig.device.AddHeld({u"0000001A"_s, "deleted-from-mail", 1, "X record"});
      rig.options.removeFromKelvo = fromKelvo;
      rig.options.removeFromMail = fromMail;
      EXPECT_EQ(rig.Run(), SyncEnd::Completed);
      EXPECT_EQ(rig.host.StatusLines(),
                Lines("Sent: 0", "Received: 0", fromKelvo ? "Removed from Kelvo: 1" : "",
                      fromMail ? "Removed from mail: 1" : ""));
      EXPECT_EQ(std::tuple(static_cast<int>(rig.device.Held().size()), rig.FilesIn(kInbox),
                           rig.FilesIn(kTrash), static_cast<int>(rig.host.Confirmations().size())),
                std::tuple(3 - fromKelvo, 3 - fromMail, fromMail, fromKelvo + fromMail));
      EXPECT_TRUE(rig.host.Boxes().isEmpty());
      EXPECT_TRUE(rig.device.Violations().isEmpty());
      // Every synchronisation ends with the closing bytes.
      EXPECT_EQ(rig.line.Transcript().Lines().mid(rig.line.Transcript().Lines().size() - 2),
                (QStringList{u"PC  CMD_END"_s, u"PC  ACK"_s}));
    }
  }
}

// A folder over the limit is skipped whole, and leaves the selection
// incomplete, so nothing is removed from the Kelvo.
TEST(FolderLimitTest, AFolderOfMoreThan400MessagesInRangeIsSkippedWhole) {
  SyncRig rig;
  for (int i = 0; i < 401; ++i) rig.AddMail(kInbox, u"m%1"_s.arg(i), 1);
  rig.AddMail(kSent, u"sent"_s, 1);
  rig.device.AddHeld({u"0000001A"_s, "deleted-from-mail", 1, "X record"});
  rig.options.removeFromKelvo = true;
  rig.Run();
  EXPECT_EQ(rig.host.StatusLines(),
            Lines("Sent: 1", "Received: 0",
                  "Nothing removed from Kelvo: the folder Inbox was skipped", ""));
  EXPECT_EQ(rig.host.Boxes(),
            QStringList{QStringLiteral(
                "Too many messages in Inbox - This folder will be entirely skipped")});
  EXPECT_EQ(rig.device.Held().size(), 2u);
}

// "All" counts every message while the search applies the filter: the loop
// ends when the search runs out.
TEST(DateRangeTest, AllCountsEveryMessageButSendsOnlyWhatTheFilterFinds) {
  SyncRig rig;
  rig.AddMail(kInbox, u"recent"_s, 1);
  rig.AddMail(kInbox, u"last year"_s, 300);
  TestMessage ancient;
  ancient.subject = u"ancient"_s;
  ancient.received = QDateTime(QDate(1990, 1, 1), QTime(9, 0));
  rig.builder.Add(kInbox, ancient);
  rig.options.range = DateRange::All;
  rig.Run();
  EXPECT_EQ(rig.host.Status(1), u"Sent: 2"_s);
  const QStringList scanned = rig.host.StatusHistory(1).filter(u"Scanning"_s);
  EXPECT_TRUE(scanned.contains(u"Scanning Inbox. Message 2 of 3 - Sending: 2"_s));
  EXPECT_FALSE(scanned.join(u'|').contains(u"Message 3 of 3"_s));
}

// The summary counts split, cut and skipped messages; split parts show their
// numbers and cut parts say so.
TEST(LongMessageTest, TheSummaryCountsCutSplitAndSkippedMessages) {
  SyncRig rig;
  rig.AddMail(kInbox, u"long"_s, 2, QString(6000, u'a'));
  rig.AddMail(kInbox, QString(2900, u's'), 1);  // a subject the Kelvo cannot take
  rig.options.longMessages = LongMessages::Split;
  rig.Run();
  // The skipped message is not counted as split: it was not sent.
  EXPECT_EQ(rig.host.Status(1), u"Sent: 3 (1 splitted); Skipped: 1"_s);
  EXPECT_EQ(rig.host.StatusHistory(3).filter(u"part"_s),
            (QStringList{u"(part 1)"_s, u"(part 2)"_s, u"(part 3)"_s}));

  // A message of any length is cut, beyond 32,767 bytes too.
  SyncRig cut;
  cut.AddMail(kInbox, u"long"_s, 1, QString(40000, u'a'));
  cut.options.parts = u"12"_s;
  cut.Run();
  EXPECT_EQ(cut.host.Status(1), u"Sent: 1 (1 truncated)"_s);
  EXPECT_EQ(cut.host.StatusHistory(2).filter(u"Message size"_s),
            QStringList{u"Message size: 2789 bytes (truncated)"_s});
}

// The message after one on the line is cut meanwhile; a long-message option
// changed before its turn still cuts it.
TEST(LongMessageTest, AnOptionChangedWhileTheMessageBeforeIsSentCutsTheNext) {
  SyncRig rig;
  rig.AddMail(kInbox, u"short"_s, 2);
  rig.AddMail(kInbox, u"long"_s, 1, QString(6000, u'a'));
  rig.host.SetYieldHook([&rig](RecordingHost& host, int) {
    if (host.Status(1).startsWith(u"Scanning Inbox. Message 2"_s)) {
      rig.options.longMessages = LongMessages::Split;
    }
  });
  rig.Run();
  EXPECT_EQ(rig.host.Status(1), u"Sent: 4 (1 splitted)"_s);
}

// A Break while a folder is scanned (nothing to send, so no wait notices it)
// ends the walk there: no further folder is scanned, and the path to the
// folder stays bold.
TEST(SessionTest, ABreakDuringAScanEndsTheWalk) {
  for (const QStringList& breakIn : {kInbox, kWork}) {
    SyncRig rig;
    rig.AddMail(kInbox, u"I"_s);
    rig.AddMail(kWork, u"W"_s);
    rig.AddMail(kZoo, u"Z"_s);
    rig.AddMail(kSent, u"S"_s);
    ASSERT_EQ(rig.Run(), SyncEnd::Completed);
    const QString name = breakIn.last();
    rig.host.BreakWhen([&](const RecordingHost& host) {
      return host.Status(1).startsWith(u"Scanning "_s + name);
    });
    const qsizetype from = rig.host.StatusHistory(1).size();
    rig.line.Transcript().Clear();
    rig.Run();
    const QStringList scanned = Scanned(rig.host, from);
    EXPECT_EQ(scanned.value(scanned.size() - 1), name);
    EXPECT_FALSE(scanned.contains(u"Zoo"_s));
    EXPECT_FALSE(scanned.contains(u"Sent"_s));
    const QString key = rig.builder.EntryIdOf(breakIn);
    EXPECT_TRUE(rig.host.Tree().Get(key, FolderView::Flag::Bold)) << name.toStdString();
    EXPECT_TRUE(rig.host.Tree().Get(key, FolderView::Flag::Selected));
    EXPECT_FALSE(rig.line.Transcript().Text().contains(u"PC  CMD_END"_s));
  }
}

// The store's failures are told once, in words, and never taken for success.
TEST(SessionTest, StoreFailuresAreToldAndNothingIsMarkedFalsely) {
  SyncRig rig;
  rig.AddMail(kInbox, u"M"_s);
  rig.device.AddWritten(Written("Up", "", "body"));
  rig.AddMail(kWork, u"W"_s);
  rig.faults.failDraftSaves = u"disk full"_s;
  rig.faults.failItemSaves = u"read-only"_s;
  rig.faults.failFolder = u"Permission denied"_s;
  rig.faults.failFolderId = rig.builder.EntryIdOf(kWork);
  rig.options.removeFromKelvo = true;
  rig.Run();
  EXPECT_EQ(rig.host.Boxes().size(), 4) << rig.host.Boxes().join(u'|').toStdString();
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
  EXPECT_TRUE(rig.host.Boxes().value(0).contains(u"disk full"_s));
  // A mark's save ends in the background: its failure is told before the summary.
  EXPECT_EQ(rig.host.Boxes().value(3),
            QStringLiteral("The message \"M\" was sent to the Kelvo, but could not be marked as "
                           "sent: read-only"));
  EXPECT_EQ(rig.device.Written().size(), 1u);  // the Kelvo keeps what was not filed
  rig.faults.failDraftSaves.reset();
  rig.faults.failItemSaves.reset();
  rig.faults.failFolder.reset();
  rig.Run();
  EXPECT_EQ(rig.host.StatusLines().mid(0, 2), (QStringList{u"Sent: 2"_s, u"Received: 1"_s}));
}

// A mail folder another synchronisation holds is left alone, the port closed.
TEST(SessionTest, AMailFolderInUseIsNotSynchronised) {
  SyncRig rig;
  rig.AddMail(kInbox, u"M"_s);
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
  rig.faults.failItemSaves = u"No space left on device"_s;
  rig.Run();
  EXPECT_EQ(rig.host.Boxes(),
            QStringList{QStringLiteral("The message \"A\" was sent to the Kelvo, but could not be "
                                       "marked as sent: No space left on device")});
  EXPECT_EQ(rig.host.Status(1), u"Sent: 2"_s);
}

// A store that cannot be used at all is told once, and no folder after it is
// tried: each would fail alike.
TEST(SessionTest, AStoreThatCannotBeUsedIsToldOnceAndEndsTheWalk) {
  SyncRig rig;
  rig.AddMail(kInbox, u"M"_s);
  rig.AddMail(kWork, u"W"_s);
  rig.device.AddHeld({u"0000001A"_s, "elsewhere", 1, "r"});
  rig.faults.failMarkReads = u"disk I/O error"_s;
  rig.options.removeFromKelvo = true;
  rig.Run();
  EXPECT_EQ(rig.host.Boxes(), QStringList{QStringLiteral("The mail store cannot be used, so "
                                                         "nothing more was sent: disk I/O error")});
  EXPECT_EQ(Scanned(rig.host, 0), QStringList{u"Inbox"_s});
  EXPECT_EQ(rig.HeldEntryIds(), QStringList{u"elsewhere"_s});
  EXPECT_EQ(rig.host.Status(3), QStringLiteral("Nothing removed from Kelvo: the mail store could "
                                               "not be used (disk I/O error)"));
}

// Marks reach the disk while the next part goes out, but never more than one
// acknowledged part lacks a durable mark, and all are durable at the summary.
TEST(SessionTest, AtMostOnePartAwaitsItsDurableMark) {
  SyncRig rig;
  for (int i = 0; i < 3; ++i) rig.AddMail(kInbox, u"M%1"_s.arg(i), 1, QString(7000, u'x'));
  rig.options.longMessages = LongMessages::Split;
  int most = 0;
  rig.host.SetYieldHook([&rig, &most](RecordingHost&, int) {
    most = std::max(most, static_cast<int>(rig.device.Held().size()) - rig.faults.savesSettled);
  });
  rig.Run();
  EXPECT_EQ(rig.host.Status(1), u"Sent: 9 (3 splitted)"_s);
  EXPECT_EQ(most, 1);
  EXPECT_EQ(rig.faults.savesSettled, 9);
}

// Full sync is read for each message: ticked while a folder's scan shows its
// first message, it sends that message and the rest of the folder again.
TEST(SessionTest, FullSyncTickedDuringAScanTakesEffectAtTheNextMessage) {
  SyncRig rig;
  rig.AddMail(kInbox, u"A"_s, 2);
  const QString b = rig.AddMail(kInbox, u"B"_s, 1);
  ASSERT_EQ(rig.Run(), SyncEnd::Completed);
  rig.host.SetYieldHook([&rig](RecordingHost& host, int) {
    if (host.Status(1).startsWith(u"Scanning Inbox. Message 1"_s)) {
      rig.options.fullSync = true;
    }
  });
  rig.Run();
  EXPECT_EQ(rig.host.Status(1), u"Sent: 2"_s);
  EXPECT_EQ(rig.HeldEntryIds().count(b), 2);
}

// The removals a run makes are those confirmed at its start: boxes ticked
// during it wait for the next run, which asks about them.
TEST(SessionTest, RemovalsTickedDuringARunWaitForTheNextOne) {
  SyncRig rig;
  rig.AddMail(kInbox, u"M"_s);
  rig.device.AddHeld({u"0000001A"_s, "stale", 1, "r"});
  ASSERT_EQ(rig.Run(), SyncEnd::Completed);
  rig.KeepOnDevice({u"stale"_s});  // M deleted on the Kelvo
  rig.host.SetYieldHook([&rig](RecordingHost&, int) {
    rig.options.removeFromKelvo = rig.options.removeFromMail = true;
  });
  rig.Run();
  EXPECT_EQ(
      std::tuple(rig.host.Confirmations().size(), rig.HeldEntryIds().size(), rig.FilesIn(kTrash)),
      std::tuple(0, 1, 0));
  rig.host.SetYieldHook({});
  rig.Run();
  EXPECT_EQ(
      std::tuple(rig.host.Confirmations().size(), rig.HeldEntryIds().size(), rig.FilesIn(kTrash)),
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
  const QString a = rig.AddMail(kInbox, u"A"_s, 2);
  const QString b = rig.AddMail(kInbox, u"B"_s, 1);
  rig.device.AddWritten(Written("Up", "ann@example.org", "body"));
  rig.device.AddWritten(Written("Up2", "ann@example.org", "body"));
  rig.host.SetYieldHook([&rig](RecordingHost& host, int) {
    if (host.Status(1).startsWith(QLatin1String(GetParam().during)) &&
        host.Status(2).startsWith(u"Message size"_s)) {
      RequestBreakAfterExchange(rig.session);
    }
  });
  rig.Run();
  EXPECT_EQ(rig.host.Boxes().value(0).trimmed(), u"User Break"_s);
  const QStringList heldAfterBreak = rig.HeldEntryIds();
  EXPECT_EQ(rig.FilesIn(kDrafts), GetParam().drafts);
  EXPECT_EQ(heldAfterBreak.size(), GetParam().held);
  rig.host.SetYieldHook({});
  rig.Run();
  EXPECT_EQ(rig.FilesIn(kDrafts), 2);
  EXPECT_EQ(rig.HeldEntryIds().mid(0, heldAfterBreak.size()), heldAfterBreak);
  EXPECT_EQ(rig.HeldEntryIds().filter(QRegularExpression(a + u'|' + b)).size(), 2);
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
// A folder the store cannot use leaves the Kelvo's messages where they are.
TEST_P(HostileLayoutTest, EveryFolderIsWalkedOnceAndBrokenEntriesAreIgnored) {
  SyncRig rig(GetParam().layout);
  const QString root = rig.builder.Root() + u'/';
  // The spoilt entries come first, so that a listing meets them before and
  // after the good ones, whatever its order.
  for (const QStringList& folder : {kInbox, kWork, kSent}) rig.builder.Folder(folder);
  for (const auto& [target, link] : GetParam().links) {
    ASSERT_EQ(::symlink(target, (root + QLatin1String(link)).toLocal8Bit().constData()), 0) << link;
  }
  if (GetParam().directory != nullptr) QDir().mkpath(root + QLatin1String(GetParam().directory));
  rig.AddMail(kInbox, u"I"_s);
  rig.AddMail(kWork, u"W"_s);
  rig.AddMail(kSent, u"S"_s);
  for (const auto& [target, link] : GetParam().links) {
    const QString after = root + QLatin1String(link) + u"-again"_s;
    if (QString::fromUtf8(link).contains(u"cur/"_s))
      ::symlink(target, after.toLocal8Bit().constData());
  }
  rig.device.AddHeld({u"0000001A"_s, "stale", 1, "r"});
  rig.options.fullSync = rig.options.removeFromKelvo = true;
  EXPECT_EQ(rig.Run(), SyncEnd::Completed);
  EXPECT_EQ(rig.host.StatusLines().mid(0, 2), (QStringList{u"Sent: 3"_s, u"Received: 0"_s}));
  const char* box = GetParam().box;
  EXPECT_EQ(rig.host.Boxes(), box ? QStringList{QString::fromUtf8(box)} : QStringList());
  EXPECT_EQ(rig.HeldEntryIds().contains(u"stale"_s), box != nullptr);
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
    RowName());

const QString kFullConfirm = QStringLiteral(
    "'Full sync' will send all messages to Kelvo in the selected date range,\n\rincluding those "
    "already sent with previous syncronizations.\n\rDo you want to continue?");
const QString kKelvoConfirm = QStringLiteral(
    "Messages previously sent to Kelvo are going to be removed from there,\n\rif they are no more "
    "included in the list to be sent now\n\rDo you want to continue?");
const QString kMailConfirm = QStringLiteral(
    "Messages previously sent, and then canceled on Kelvo,\n\rare going to be removed from the "
    "mail "
    "also (they go to its Trash folder).\n\rDo you want to continue?");

// Every combination of the three boxes, answered Yes throughout or No at
// each question in turn: the questions come in order, and any No ends the
// synchronisation before the port is touched.
TEST(ConfirmationTest, AsksInOrderAndAnyNoTouchesNothing) {
  for (int boxes = 0; boxes < 8; ++boxes) {
    QStringList questions;
    if (boxes & 1) questions << kFullConfirm;
    if (boxes & 2) questions << kKelvoConfirm;
    if (boxes & 4) questions << kMailConfirm;
    for (qsizetype no = 0; no <= questions.size(); ++no) {
      SCOPED_TRACE(std::to_string(boxes) + " no at " + std::to_string(no));
      SyncRig rig;
      rig.AddMail(kInbox, u"M"_s, 1);
      rig.options.fullSync = boxes & 1;
      rig.options.removeFromKelvo = boxes & 2;
      rig.options.removeFromMail = boxes & 4;
      for (qsizetype i = 0; i < questions.size(); ++i) rig.host.QueueConfirm(i != no);
      const bool refused = no < questions.size();
      EXPECT_EQ(rig.Run(), refused ? SyncEnd::Refused : SyncEnd::Completed);
      EXPECT_EQ(rig.host.Confirmations(), questions.mid(0, refused ? no + 1 : questions.size()));
      EXPECT_EQ(rig.line.OpenCount(), refused ? 0 : 1);
      EXPECT_EQ(rig.host.Status(1), refused ? QString() : u"Sent: 1"_s);
    }
  }
}

TEST(DriverTest, NoPortChosenIsToldAndNothingIsOpened) {
  SyncRig rig;
  rig.options.port = 0;
  EXPECT_EQ(rig.Run(), SyncEnd::PortFailed);
  EXPECT_EQ(rig.host.Boxes().size(), 1);
  EXPECT_EQ(rig.line.OpenCount(), 0);
}

// 38400 baud, 8N1, RTS/CTS and 4 KiB buffers; both directions discarded after
// opening and before closing, the output only once drained.
TEST(DriverTest, OpensTheLineAsTheKelvoNeedsAndClosesItInOrder) {
  SyncRig rig;
  rig.Run();
  const LineSettings& s = rig.line.OpenedSettings();
  EXPECT_EQ(std::tuple(rig.line.OpenedPath(), s.baudRate, s.parity, s.dataBits, s.stopBits,
                       s.rtsCtsFlowControl, s.inputBufferSize, s.outputBufferSize),
            std::tuple(u"/dev/kelvo-test"_s, 38400, 'N', 8, 1, true, 4096, 4096));
  EXPECT_EQ(std::tuple(rig.line.DiscardInputCount(), rig.line.DiscardOutputCount(),
                       rig.line.UndrainedDiscards(), rig.line.HasHandler()),
            std::tuple(2, 2, 0, false));
  EXPECT_EQ(rig.host.StatusHistory(1).mid(0, 2),
            (QStringList{u"Mail sync started"_s, u"Handshaking..."_s}));
}

// The separator follows chkDravoConv at the start; the Kelvo's uploads are
// read with it.
TEST(DriverTest, DravoConversionSeparatesFieldsWith31) {
  SyncRig rig;
  rig.options.mode = ConversionMode::RussianDravo;
  rig.device.SetSeparator(protocol::DravoSeparator);
  rig.device.AddWritten(Written("Dravo", "", "body"));
  rig.AddMail(kInbox, u"M"_s, 1);
  rig.Run();
  EXPECT_EQ(rig.session.FieldSeparator, 31);
  EXPECT_EQ(rig.host.StatusLines(), Lines("Sent: 1", "Received: 1", "", ""));
  ASSERT_EQ(rig.device.Held().size(), 2u);
  EXPECT_TRUE(rig.device.Held()[1].record.contains('\x1f'));
  EXPECT_FALSE(rig.device.Held()[1].record.contains('\xfe'));
}

}  // namespace
}  // namespace zandor::testing
