// Whole synchronisations, in-process: a real Maildir, the Kelvo device model,
// the driver and every phase, with the boxes, status lines and the store and
// device afterwards.
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "support/row_name.h"
#include "support/sync_rig.h"
#include "sync/folder_tree.h"

namespace zandor::testing {
namespace {

const QStringList kInbox{QStringLiteral("Inbox")};
const QStringList kWork{QStringLiteral("Inbox"), QStringLiteral("Work")};
const QStringList kWork2026{QStringLiteral("Inbox"), QStringLiteral("Work"),
                            QStringLiteral("2026")};
const QStringList kSent{QStringLiteral("Sent")};
const QStringList kDrafts{QStringLiteral("Drafts")};
const QStringList kTrash{QStringLiteral("Trash")};

QStringList Lines(const char* a, const char* b, const char* c, const char* d) {
  return {QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c), QString::fromUtf8(d)};
}

class FirstSyncTest : public ::testing::TestWithParam<MaildirLayout> {};

// A store with nested folders in both trees and one excluded folder: the
// excluded folder's mail stays home, its subfolder's goes; a second
// synchronisation sends nothing; a full one sends everything again and
// deletes nothing.
TEST_P(FirstSyncTest, SendsTheChosenFoldersOnceAndAgainOnlyInAFullSync) {
  SyncRig rig(GetParam());
  const QString inbox1 = rig.AddMail(kInbox, QStringLiteral("Inbox older"), 3);
  const QString inbox2 = rig.AddMail(kInbox, QStringLiteral("Inbox newer"), 1);
  rig.AddMail(kInbox, QStringLiteral("Out of range"), 40);
  rig.AddMail(kWork, QStringLiteral("Excluded folder"), 1);
  const QString nested = rig.AddMail(kWork2026, QStringLiteral("Nested"), 2);
  const QString sent = rig.AddMail(kSent, QStringLiteral("Sent by me"), 2);
  rig.settings.Write(kFoldersSection, rig.builder.EntryIdOf(kWork), QStringLiteral("1"));
  rig.device.AddWritten(Written("From the road", "ann@example.org", "Written on the Kelvo\r\n"));

  EXPECT_EQ(rig.Run(), SyncEnd::Completed);
  EXPECT_EQ(rig.host.StatusLines(), Lines("Sent: 4", "Received: 1", "", ""));
  EXPECT_TRUE(rig.host.Boxes().isEmpty()) << rig.host.Boxes().join(QLatin1Char('|')).toStdString();
  EXPECT_TRUE(rig.device.Violations().isEmpty());
  EXPECT_EQ(rig.FilesIn(kDrafts), 1);
  // The upload is held under the draft's id; the mail follows in walk order:
  // a folder before its subfolders, oldest first, the Inbox tree first.
  ASSERT_EQ(rig.HeldEntryIds().size(), 5);
  EXPECT_EQ(rig.HeldEntryIds().mid(1), (QStringList{inbox1, inbox2, nested, sent}));
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

struct RemovalRow {
  const char* name;
  bool kelvoRemove;
  bool outlookRemove;
  QStringList statusLines;
  int heldAfter;   // of A, B and the stale X
  int inboxAfter;  // of A, B, C
  int confirmations;
};

class RemovalTest : public ::testing::TestWithParam<RemovalRow> {};

// A, B and C were sent; the Kelvo still holds A and B, and X, whose message
// was deleted from the mail.
TEST_P(RemovalTest, RemovesWhatTheOtherSideNoLongerHolds) {
  const RemovalRow& row = GetParam();
  SyncRig rig;
  const QString a = rig.AddMail(kInbox, QStringLiteral("A"), 3);
  const QString b = rig.AddMail(kInbox, QStringLiteral("B"), 2);
  rig.AddMail(kInbox, QStringLiteral("C"), 1);
  ASSERT_EQ(rig.Run(), SyncEnd::Completed);
  rig.KeepOnDevice({a, b});
  rig.device.AddHeld({QStringLiteral("0000001A"), "deleted-from-mail", 1, "X record"});

  rig.options.removeFromKelvo = row.kelvoRemove;
  rig.options.removeFromMail = row.outlookRemove;
  EXPECT_EQ(rig.Run(), SyncEnd::Completed);
  EXPECT_EQ(rig.host.StatusLines(), row.statusLines);
  EXPECT_EQ(static_cast<int>(rig.device.Held().size()), row.heldAfter);
  EXPECT_EQ(rig.FilesIn(kInbox), row.inboxAfter);
  EXPECT_EQ(rig.FilesIn(kTrash), 3 - row.inboxAfter);
  EXPECT_EQ(rig.host.Confirmations().size(), row.confirmations);
  EXPECT_TRUE(rig.host.Boxes().isEmpty());
  EXPECT_TRUE(rig.device.Violations().isEmpty());
  // Every synchronisation ends with the closing bytes.
  EXPECT_EQ(rig.line.Transcript().Lines().mid(rig.line.Transcript().Lines().size() - 2),
            (QStringList{QStringLiteral("PC  CMD_END"), QStringLiteral("PC  ACK")}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, RemovalTest,
    ::testing::Values(
        RemovalRow{"Neither", false, false, Lines("Sent: 0", "Received: 0", "", ""), 3, 3, 0},
        RemovalRow{"FromKelvo", true, false,
                   Lines("Sent: 0", "Received: 0", "Removed from Kelvo: 1", ""), 2, 3, 1},
        RemovalRow{"FromMail", false, true,
                   Lines("Sent: 0", "Received: 0", "", "Removed from mail: 1"), 3, 2, 1},
        RemovalRow{"Both", true, true,
                   Lines("Sent: 0", "Received: 0", "Removed from Kelvo: 1", "Removed from mail: 1"),
                   2, 2, 2}),
    RowName());

// A folder over the limit is skipped whole, and leaves the selection
// incomplete, so nothing is removed from the Kelvo.
TEST(FolderLimitTest, AFolderOfMoreThan400MessagesInRangeIsSkippedWhole) {
  SyncRig rig;
  for (int i = 0; i < 401; ++i) rig.AddMail(kInbox, QStringLiteral("m%1").arg(i), 1);
  rig.AddMail(kSent, QStringLiteral("sent"), 1);
  rig.device.AddHeld({QStringLiteral("0000001A"), "deleted-from-mail", 1, "X record"});
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
  rig.AddMail(kInbox, QStringLiteral("recent"), 1);
  rig.AddMail(kInbox, QStringLiteral("last year"), 300);
  TestMessage ancient;
  ancient.subject = QStringLiteral("ancient");
  ancient.received = QDateTime(QDate(1990, 1, 1), QTime(9, 0));
  rig.builder.Add(kInbox, ancient);
  rig.options.range = DateRange::All;
  rig.Run();
  EXPECT_EQ(rig.host.Status(1), QStringLiteral("Sent: 2"));
  const QStringList scanned = rig.host.StatusHistory(1).filter(QStringLiteral("Scanning"));
  EXPECT_TRUE(scanned.contains(QStringLiteral("Scanning Inbox. Message 2 of 3 - Sending: 2")));
  EXPECT_FALSE(scanned.join(QLatin1Char('|')).contains(QStringLiteral("Message 3 of 3")));
}

// The summary counts split, cut and skipped messages; split parts show their
// numbers and cut parts say so.
TEST(LongMessageTest, TheSummaryCountsCutSplitAndSkippedMessages) {
  SyncRig rig;
  rig.AddMail(kInbox, QStringLiteral("long"), 2, QString(6000, QLatin1Char('a')));
  rig.AddMail(kInbox, QString(2900, QLatin1Char('s')), 1);  // a subject the Kelvo cannot take
  rig.options.longMessages = LongMessages::Split;
  rig.Run();
  // The skipped message is not counted as split: it was not sent.
  EXPECT_EQ(rig.host.Status(1), QStringLiteral("Sent: 3 (1 splitted); Skipped: 1"));
  EXPECT_EQ(rig.host.StatusHistory(3).filter(QStringLiteral("part")),
            (QStringList{QStringLiteral("(part 1)"), QStringLiteral("(part 2)"),
                         QStringLiteral("(part 3)")}));

  // A message of any length is cut, beyond 32,767 bytes too.
  SyncRig cut;
  cut.AddMail(kInbox, QStringLiteral("long"), 1, QString(40000, QLatin1Char('a')));
  cut.options.parts = QStringLiteral("12");
  cut.Run();
  EXPECT_EQ(cut.host.Status(1), QStringLiteral("Sent: 1 (1 truncated)"));
  EXPECT_EQ(cut.host.StatusHistory(2).filter(QStringLiteral("Message size")),
            QStringList{QStringLiteral("Message size: 2789 bytes (truncated)")});
}

}  // namespace
}  // namespace zandor::testing

namespace zandor::testing {
namespace {

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
      rig.AddMail(kInbox, QStringLiteral("M"), 1);
      rig.options.fullSync = boxes & 1;
      rig.options.removeFromKelvo = boxes & 2;
      rig.options.removeFromMail = boxes & 4;
      for (qsizetype i = 0; i < questions.size(); ++i) rig.host.QueueConfirm(i != no);
      const bool refused = no < questions.size();
      EXPECT_EQ(rig.Run(), refused ? SyncEnd::Refused : SyncEnd::Completed);
      EXPECT_EQ(rig.host.Confirmations(), questions.mid(0, refused ? no + 1 : questions.size()));
      EXPECT_EQ(rig.line.OpenCount(), refused ? 0 : 1);
      EXPECT_EQ(rig.host.Status(1), refused ? QString() : QStringLiteral("Sent: 1"));
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

TEST(DriverTest, OpensTheLineAsTheKelvoNeedsAndClosesItInOrder) {
  SyncRig rig;
  rig.Run();
  EXPECT_EQ(rig.line.OpenedPath(), QStringLiteral("/dev/kelvo-test"));
  const LineSettings& settings = rig.line.OpenedSettings();
  EXPECT_EQ(settings.baudRate, 38400);
  EXPECT_EQ(settings.parity, 'N');
  EXPECT_EQ(settings.dataBits, 8);
  EXPECT_EQ(settings.stopBits, 1);
  EXPECT_TRUE(settings.rtsCtsFlowControl);
  EXPECT_EQ(settings.inputBufferSize, 4096);
  EXPECT_EQ(settings.outputBufferSize, 4096);
  EXPECT_EQ(rig.line.DiscardInputCount(), 2);  // after opening and before closing
  EXPECT_EQ(rig.line.DiscardOutputCount(), 2);
  EXPECT_EQ(rig.line.UndrainedDiscards(), 0);
  const QStringList starts = rig.host.StatusHistory(1).mid(0, 2);
  EXPECT_EQ(starts,
            (QStringList{QStringLiteral("Mail sync started"), QStringLiteral("Handshaking...")}));
  EXPECT_FALSE(rig.line.HasHandler());
}

// The separator follows chkDravoConv at the start; the Kelvo's uploads are
// read with it.
TEST(DriverTest, DravoConversionSeparatesFieldsWith31) {
  SyncRig rig;
  rig.options.mode = ConversionMode::RussianDravo;
  rig.device.SetSeparator(protocol::DravoSeparator);
  rig.device.AddWritten(Written("Dravo", "", "body"));
  rig.AddMail(kInbox, QStringLiteral("M"), 1);
  rig.Run();
  EXPECT_EQ(rig.session.FieldSeparator, 31);
  EXPECT_EQ(rig.host.StatusLines(), Lines("Sent: 1", "Received: 1", "", ""));
  ASSERT_EQ(rig.device.Held().size(), 2u);
  EXPECT_TRUE(rig.device.Held()[1].record.contains('\x1f'));
  EXPECT_FALSE(rig.device.Held()[1].record.contains('\xfe'));
}

}  // namespace
}  // namespace zandor::testing
