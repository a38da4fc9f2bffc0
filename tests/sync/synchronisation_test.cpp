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

const QString kUserBreak = QStringLiteral("      User Break      ");
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
  EXPECT_TRUE(rig.host.SyncEnabled());
  EXPECT_FALSE(rig.host.BreakEnabled());

  EXPECT_EQ(rig.Run(), SyncEnd::Completed);
  EXPECT_EQ(rig.host.StatusLines(), Lines("Sent: 0", "Received: 0", "", ""));
  EXPECT_EQ(rig.HeldEntryIds().size(), 5);

  rig.options.fullSync = CheckState::Grayed;
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

  rig.options.kelvoRemove = row.kelvoRemove;
  rig.options.outlookRemove = row.outlookRemove;
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
                   Lines("Sent: 0", "Received: 0", "", "Removed from Outlook: 1"), 3, 2, 1},
        RemovalRow{
            "Both", true, true,
            Lines("Sent: 0", "Received: 0", "Removed from Kelvo: 1", "Removed from Outlook: 1"), 2,
            2, 2}),
    RowName());

// The Kelvo's list breaks off: a message missing from it may still be on the
// Kelvo, so nothing is deleted from the mail, and the summary says why.
TEST(IncompleteListsTest, AFailedReceiveDeletesNothingFromTheMail) {
  SyncRig rig;
  const QString a = rig.AddMail(kInbox, QStringLiteral("A"), 3);
  rig.AddMail(kInbox, QStringLiteral("B"), 2);
  ASSERT_EQ(rig.Run(), SyncEnd::Completed);
  rig.KeepOnDevice({a});
  // Reply 4 is A's entry id in its listing: one byte too many.
  rig.device.AddFault({4, sim::FaultKind::TooMany, {}});
  rig.options.outlookRemove = true;
  rig.Run();
  EXPECT_EQ(rig.FilesIn(kInbox), 2);
  EXPECT_EQ(rig.FilesIn(kTrash), 0);
  EXPECT_EQ(rig.host.Status(4), QStringLiteral("Nothing removed from mail: the Kelvo's list of "
                                               "messages was not received whole"));
  EXPECT_TRUE(rig.host.Boxes().contains(QStringLiteral("Comm Err 20")))
      << rig.host.Boxes().join(QLatin1Char('|')).toStdString();
}

// A send breaks off: the folders after it were never compared, so nothing is
// removed from the Kelvo, and the summary says why.
TEST(IncompleteListsTest, AFailedSendRemovesNothingFromTheKelvo) {
  SyncRig rig;
  const QString a = rig.AddMail(kInbox, QStringLiteral("A"), 3);
  ASSERT_EQ(rig.Run(), SyncEnd::Completed);
  rig.device.AddHeld({QStringLiteral("0000001A"), "deleted-from-mail", 1, "X record"});
  rig.AddMail(kInbox, QStringLiteral("D"), 1);
  // Replies: 1 handshake, 2-5 and 6-9 the two listings, 10 CmdEnd, 11 the Ack
  // to D's CmdMessage.
  rig.device.AddFault({11, sim::FaultKind::WrongByte, {}});
  rig.options.kelvoRemove = true;
  rig.Run();
  EXPECT_EQ(rig.host.Boxes().value(0), QStringLiteral("Comm Err 1"));
  EXPECT_EQ(rig.HeldEntryIds().size(), 2);
  EXPECT_TRUE(rig.HeldEntryIds().contains(QStringLiteral("deleted-from-mail")));
  EXPECT_EQ(rig.host.Status(3),
            QStringLiteral("Nothing removed from Kelvo: a message could not be sent"));
  EXPECT_FALSE(rig.line.Transcript().Text().contains(QStringLiteral("CMD_REMOVE")));
}

struct FolderLimitRow {
  const char* name;
  int messages;
  QString firstLine;
  QStringList boxes;
  int heldAfter;
};

class FolderLimitTest : public ::testing::TestWithParam<FolderLimitRow> {};

TEST_P(FolderLimitTest, AFolderOfMoreThan400MessagesInRangeIsSkippedWhole) {
  const FolderLimitRow& row = GetParam();
  SyncRig rig;
  for (int i = 0; i < row.messages; ++i) rig.AddMail(kInbox, QStringLiteral("m%1").arg(i), 1);
  rig.AddMail(kSent, QStringLiteral("sent"), 1);
  rig.device.AddHeld({QStringLiteral("0000001A"), "deleted-from-mail", 1, "X record"});
  rig.options.kelvoRemove = true;
  rig.Run();
  EXPECT_EQ(rig.host.Status(1), row.firstLine);
  EXPECT_EQ(rig.host.Boxes(), row.boxes);
  EXPECT_EQ(static_cast<int>(rig.device.Held().size()), row.heldAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FolderLimitTest,
    ::testing::Values(
        FolderLimitRow{"Exactly400", 400, QStringLiteral("Sent: 401"), {}, 401},
        FolderLimitRow{"Over400",
                       401,
                       QStringLiteral("Sent: 1"),
                       {QStringLiteral("Too many messages in Inbox - This folder will be entirely "
                                       "skipped")},
                       2}),
    RowName());

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
  rig.options.rangeIndex = 4;
  rig.Run();
  EXPECT_EQ(rig.host.Status(1), QStringLiteral("Sent: 2"));
  const QStringList scanned = rig.host.StatusHistory(1).filter(QStringLiteral("Scanning"));
  EXPECT_TRUE(scanned.contains(QStringLiteral("Scanning Inbox. Message 2 of 3")));
  EXPECT_FALSE(scanned.join(QLatin1Char('|')).contains(QStringLiteral("Message 3 of 3")));
}

struct RangeRow {
  const char* name;
  int rangeIndex;
  int sent;  // of messages received 0, 1, 6, 8, 29, 31, 89, 91 and 9000 days ago
};

class DateRangeTableTest : public ::testing::TestWithParam<RangeRow> {};

TEST_P(DateRangeTableTest, SendsWhatWasReceivedInTheRange) {
  SyncRig rig;
  for (int days : {0, 1, 6, 8, 29, 31, 89, 91, 9000}) {
    rig.AddMail(kInbox, QStringLiteral("d%1").arg(days), days);
  }
  rig.options.rangeIndex = GetParam().rangeIndex;
  rig.Run();
  EXPECT_EQ(rig.host.Status(1), QStringLiteral("Sent: %1").arg(GetParam().sent));
}

INSTANTIATE_TEST_SUITE_P(Table, DateRangeTableTest,
                         ::testing::Values(RangeRow{"LastDay", 0, 2}, RangeRow{"Last7", 1, 3},
                                           RangeRow{"Last30", 2, 5}, RangeRow{"Last90", 3, 7},
                                           RangeRow{"All", 4, 9}, RangeRow{"NoSelection", -1, 9}),
                         RowName());

struct LongMessageRow {
  const char* name;
  int splitMode;
  const char* partsText;
  QString firstLine;
  int partsOnDevice;
};

class LongMessageTest : public ::testing::TestWithParam<LongMessageRow> {};

// One short message, two with 6,000-character bodies and one whose subject
// alone is longer than the Kelvo takes.
TEST_P(LongMessageTest, TheSummaryCountsCutSplitAndSkippedMessages) {
  const LongMessageRow& row = GetParam();
  SyncRig rig;
  rig.AddMail(kInbox, QStringLiteral("short"), 4);
  rig.AddMail(kInbox, QStringLiteral("long one"), 3, QString(6000, QLatin1Char('a')));
  rig.AddMail(kInbox, QStringLiteral("long two"), 2, QString(6000, QLatin1Char('b')));
  rig.AddMail(kInbox, QString(2900, QLatin1Char('s')), 1);
  rig.options.splitModeIndex = row.splitMode;
  rig.options.partsText = QString::fromUtf8(row.partsText);
  rig.Run();
  EXPECT_EQ(rig.host.Status(1), row.firstLine);
  EXPECT_EQ(static_cast<int>(rig.device.Held().size()), row.partsOnDevice);
  EXPECT_TRUE(rig.host.Boxes().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, LongMessageTest,
    ::testing::Values(LongMessageRow{"Truncate", 0, "0",
                                     QStringLiteral("Sent: 3 (3 truncated); Skipped: 1"), 3},
                      LongMessageRow{"SplitUnlimited", 1, "0",
                                     QStringLiteral("Sent: 7 (3 splitted); Skipped: 1"), 7},
                      LongMessageRow{"SplitNoMoreThanTwo", 2, "2",
                                     QStringLiteral("Sent: 5 (3 splitted); Skipped: 1"), 5},
                      LongMessageRow{"SplitNoMoreThanZero", 2, "0",
                                     QStringLiteral("Sent: 1 (3 splitted); Skipped: 3"), 1}),
    RowName());

TEST(LongMessageTest, SplitPartsShowTheirNumbersAndCutPartsSayTruncated) {
  SyncRig rig;
  rig.AddMail(kInbox, QStringLiteral("long"), 1, QString(6000, QLatin1Char('a')));
  rig.options.splitModeIndex = 1;
  rig.Run();
  EXPECT_EQ(rig.host.StatusHistory(3).filter(QStringLiteral("part")),
            (QStringList{QStringLiteral("(part 1)"), QStringLiteral("(part 2)"),
                         QStringLiteral("(part 3)")}));

  SyncRig cut;
  cut.AddMail(kInbox, QStringLiteral("long"), 1, QString(6000, QLatin1Char('a')));
  cut.Run();
  const QStringList sizes = cut.host.StatusHistory(2).filter(QStringLiteral("Message size"));
  ASSERT_EQ(sizes.size(), 1);
  EXPECT_TRUE(sizes[0].endsWith(QStringLiteral(" bytes (truncated)"))) << sizes[0].toStdString();
}

}  // namespace
}  // namespace zandor::testing

namespace zandor::testing {
namespace {

// One message M in the Inbox, one stale message L on the Kelvo, removal from
// the Kelvo asked for. The Kelvo's replies are numbered: 1 the handshake;
// 2-5 L's listing (CmdMessageId, length, entry id, device id); 6 the CmdEnd of
// the receive stage; 7-12 the six Acks of M's send; 13 the Ack to the send
// phase's CmdEnd; 14 and 15 the Acks of L's removal.
struct InterruptRow {
  const char* name;
  int reply;
  sim::FaultKind fault;  // Silence rows press &Break while the PC waits
  QStringList boxes;
  QStringList statusLines;
  bool closingBytes;
};

class InterruptTest : public ::testing::TestWithParam<InterruptRow> {};

TEST_P(InterruptTest, EachWaitEndsAsTheDialogueRequires) {
  const InterruptRow& row = GetParam();
  SyncRig rig;
  rig.AddMail(kInbox, QStringLiteral("M"), 1);
  rig.device.AddHeld({QStringLiteral("0000001A"), "L", 1, "L record"});
  rig.options.kelvoRemove = true;
  rig.device.AddFault({row.reply, row.fault, {}});
  if (row.fault == sim::FaultKind::Silence) {
    rig.host.BreakWhen(
        [&rig, &row](const RecordingHost&) { return rig.device.RepliesSent() >= row.reply; });
  }
  rig.Run();
  const QStringList lines = rig.line.Transcript().Lines();
  EXPECT_EQ(rig.host.Boxes(), row.boxes) << rig.line.Transcript().Text().toStdString();
  EXPECT_EQ(rig.host.StatusLines(), row.statusLines);
  EXPECT_EQ(lines.filter(QStringLiteral("PC  ABORT")).size(), rig.host.Boxes().count(kUserBreak));
  const bool closed = lines.size() >= 2 &&
                      lines[lines.size() - 2] == QStringLiteral("PC  CMD_END") &&
                      lines.last() == QStringLiteral("PC  ACK");
  EXPECT_EQ(closed, row.closingBytes) << rig.line.Transcript().Text().toStdString();
  EXPECT_FALSE(rig.line.IsOpen());
  EXPECT_TRUE(rig.host.SyncEnabled());
}

const QString kHandshakeError = QStringLiteral("     Handshake error     ");
const QString kInterrupted =
    QStringLiteral("Nothing removed from Kelvo: the synchronisation was interrupted");

InterruptRow Broken(const char* name, int reply, QStringList boxes, QStringList lines,
                    bool closing = false) {
  return {name, reply, sim::FaultKind::Silence, std::move(boxes), std::move(lines), closing};
}

QStringList Summary(const char* sent, const char* received, const QString& third = QString()) {
  return {QString::fromUtf8(sent), QString::fromUtf8(received), third, QString()};
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, InterruptTest,
    ::testing::Values(
        Broken("Handshake", 1, {kUserBreak, kHandshakeError}, Lines("", "", "", "")),
        Broken("Poll", 2, {kUserBreak, QStringLiteral("Comm Err 12")},
               Summary("Sent: 0", "Received: 0", kInterrupted)),
        Broken("ListingLength", 3, {kUserBreak}, Summary("Sent: 0", "Received: 0", kInterrupted)),
        Broken("ListingEntryId", 4, {kUserBreak, QStringLiteral("Comm Err 20")},
               Summary("Sent: 0", "Received: 0", kInterrupted)),
        Broken("ListingDeviceId", 5, {kUserBreak, QStringLiteral("Comm Err 21")},
               Summary("Sent: 0", "Received: 0", kInterrupted)),
        Broken("PollForEnd", 6, {kUserBreak, QStringLiteral("Comm Err 12")},
               Summary("Sent: 0", "Received: 0", kInterrupted)),
        Broken("SendAnnouncement", 7, {kUserBreak},
               Summary("Sent: 0", "Received: 0", kInterrupted)),
        Broken("SendRecord", 12, {kUserBreak}, Summary("Sent: 0", "Received: 0", kInterrupted)),
        Broken("SendPhaseEnd", 13, {kUserBreak, QStringLiteral("Comm Err 6"), kUserBreak},
               Summary("Sent: 1", "Received: 0")),
        Broken("RemoveCommand", 14, {kUserBreak}, Summary("Sent: 1", "Received: 0")),
        Broken("RemoveIdentifier", 15, {kUserBreak}, Summary("Sent: 1", "Received: 0"))),
    RowName());

}  // namespace
}  // namespace zandor::testing

namespace zandor::testing {
namespace {

const QString kNotSent = QStringLiteral("Nothing removed from Kelvo: a message could not be sent");

InterruptRow Wrong(const char* name, int reply, QStringList boxes, QStringList lines,
                   bool closing = true) {
  return {name, reply, sim::FaultKind::WrongByte, std::move(boxes), std::move(lines), closing};
}

INSTANTIATE_TEST_SUITE_P(
    CommErrors, InterruptTest,
    ::testing::Values(
        Wrong("Handshake", 1, {kHandshakeError}, Lines("", "", "", ""), false),
        // The Kelvo still waits for the Ack of its listing and takes the
        // send's CmdMessage for it.
        Wrong("Poll", 2, {QStringLiteral("Comm Err 12"), QStringLiteral("Comm Err 1")},
              Summary("Sent: 0", "Received: 0", kNotSent)),
        Wrong("SendAnnouncement", 7, {QStringLiteral("Comm Err 1")},
              Summary("Sent: 0", "Received: 0", kNotSent)),
        Wrong("SendKind", 8, {QStringLiteral("Comm Err 2")},
              Summary("Sent: 0", "Received: 0", kNotSent)),
        Wrong("SendRecord", 12, {QStringLiteral("Comm Err 6")},
              Summary("Sent: 0", "Received: 0", kNotSent)),
        Wrong("SendPhaseEnd", 13, {QStringLiteral("Comm Err 6")},
              Summary("Sent: 1", "Received: 0", QStringLiteral("Removed from Kelvo: 1"))),
        Wrong("RemoveCommand", 14, {QStringLiteral("Comm Err 1")},
              Summary("Sent: 1", "Received: 0"), false),
        Wrong("RemoveIdentifier", 15, {QStringLiteral("Comm Err 2")},
              Summary("Sent: 1", "Received: 0"), false)),
    RowName());

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
    "Messages previously sent, and then canceled on Kelvo,\n\rare going to be removed from Outlook "
    "also.\n\rDo you want to continue?");

struct ConfirmRow {
  const char* name;
  CheckState full;
  bool kelvoRemove;
  bool outlookRemove;
  std::vector<bool> answers;
  QStringList asked;
  SyncEnd end;
};

class ConfirmationTest : public ::testing::TestWithParam<ConfirmRow> {};

TEST_P(ConfirmationTest, AsksInOrderAndAnyNoTouchesNothing) {
  const ConfirmRow& row = GetParam();
  SyncRig rig;
  rig.AddMail(kInbox, QStringLiteral("M"), 1);
  rig.options.fullSync = row.full;
  rig.options.kelvoRemove = row.kelvoRemove;
  rig.options.outlookRemove = row.outlookRemove;
  for (bool answer : row.answers) rig.host.QueueConfirm(answer);
  rig.host.SetStatus(1, QStringLiteral("before"));
  EXPECT_EQ(rig.Run(), row.end);
  EXPECT_EQ(rig.host.Confirmations(), row.asked);
  if (row.end == SyncEnd::Refused) {
    EXPECT_EQ(rig.line.OpenCount(), 0);
    EXPECT_TRUE(rig.line.Transcript().BytesOnly().isEmpty());
    EXPECT_EQ(rig.host.Status(1), QStringLiteral("before"));
    EXPECT_TRUE(rig.device.Held().empty());
  } else {
    EXPECT_EQ(rig.host.Status(1), QStringLiteral("Sent: 1"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ConfirmationTest,
    ::testing::Values(
        ConfirmRow{"NoneAsked", CheckState::Unchecked, false, false, {}, {}, SyncEnd::Completed},
        ConfirmRow{"AllYes",
                   CheckState::Checked,
                   true,
                   true,
                   {true, true, true},
                   {kFullConfirm, kKelvoConfirm, kMailConfirm},
                   SyncEnd::Completed},
        ConfirmRow{"GrayedAsksToo",
                   CheckState::Grayed,
                   false,
                   false,
                   {true},
                   {kFullConfirm},
                   SyncEnd::Completed},
        ConfirmRow{
            "FirstNo", CheckState::Checked, true, true, {false}, {kFullConfirm}, SyncEnd::Refused},
        ConfirmRow{"SecondNo",
                   CheckState::Checked,
                   true,
                   true,
                   {true, false},
                   {kFullConfirm, kKelvoConfirm},
                   SyncEnd::Refused},
        ConfirmRow{"MailOnlyNo",
                   CheckState::Unchecked,
                   false,
                   true,
                   {false},
                   {kMailConfirm},
                   SyncEnd::Refused}),
    RowName());

TEST(DriverTest, APortThatCannotBeOpenedIsNamedWithItsPathAndReason) {
  SyncRig rig;
  rig.options.portIndex = 1;
  rig.line.FailOpen(
      {QStringLiteral("Permission denied"), QStringLiteral("Add your user to the dialout group.")});
  EXPECT_EQ(rig.Run(), SyncEnd::PortFailed);
  EXPECT_EQ(rig.host.Boxes(),
            QStringList{QStringLiteral("Cannot open Com 2 (/dev/kelvo-test): Permission denied\n\r"
                                       "Add your user to the dialout group.")});
  EXPECT_TRUE(rig.line.Transcript().BytesOnly().isEmpty());
  EXPECT_TRUE(rig.host.SyncEnabled());
  EXPECT_FALSE(rig.host.BreakEnabled());
}

TEST(DriverTest, NoPortChosenIsToldAndNothingIsOpened) {
  SyncRig rig;
  rig.options.portIndex = -1;
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
  const QStringList starts = rig.host.StatusHistory(1).mid(0, 2);
  EXPECT_EQ(starts,
            (QStringList{QStringLiteral("Mail sync started"), QStringLiteral("Handshaking...")}));
  EXPECT_FALSE(rig.line.HasHandler());
}

// The separator follows chkDravoConv at the start; the Kelvo's uploads are
// read with it.
TEST(DriverTest, DravoConversionSeparatesFieldsWith31) {
  SyncRig rig;
  rig.options.ostrelConv = false;
  rig.options.dravoConv = true;
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
