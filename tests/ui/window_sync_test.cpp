// Whole synchronisations started with a click on &Sync in the real main
// window, against the Kelvo device model and a temporary Maildir, with the
// boxes answered as a user would; &Break and closing the window during a
// wait on a silent Kelvo.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QTimer>

#include "support/row_name.h"
#include "support/sync_checks.h"
#include "ui/about_dialog.h"
#include "window_rig.h"

namespace zandor::testing {
namespace {

const QStringList kInbox{QStringLiteral("Inbox")};
const QStringList kWork{QStringLiteral("Inbox"), QStringLiteral("Work")};
const QStringList kSent{QStringLiteral("Sent")};
const QStringList kDrafts{QStringLiteral("Drafts")};
const QString kUserBreak = QStringLiteral("      User Break      ");
const QString kHandshakeError = QStringLiteral("     Handshake error     ");

class WindowSyncTest : public ::testing::Test, public WindowRig {
 protected:
  // A message received `days` before the clock's today.
  QString AddMail(const QStringList& folder, const QString& subject, int days) {
    TestMessage message;
    message.subject = subject;
    message.received = QDateTime(QDate(2026, 12, 6).addDays(-days), QTime(9, 0));
    message.date = message.received;
    return builder.Add(folder, message);
  }

  int FilesIn(const QStringList& folder) { return MessageFilesIn(builder, folder); }

  QStringList HeldEntryIds() const { return HeldEntryIdsOf(device); }

  void PressSpaceOn(const QStringList& folder) {
    FolderTreeWidget& tree = window->Tree();
    tree.setCurrentItem(tree.Node(builder.EntryIdOf(folder)));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(&tree, &press);
  }

  // A watchdog for the tests whose Kelvo stays silent: if the click under
  // test never ends the wait, &Break is pressed from here and the test fails.
  void StartWatchdog() {
    watchdog.setSingleShot(true);
    watchdog.setInterval(10000);
    QObject::connect(&watchdog, &QTimer::timeout, [this] {
      ADD_FAILURE() << "the wait did not end";
      window->Break();
    });
    watchdog.start();
  }

  QTimer watchdog;
};

TEST_F(WindowSyncTest, ASyncClickRunsAWholeSynchronisation) {
  const QString inbox1 = AddMail(kInbox, QStringLiteral("Older"), 3);
  const QString inbox2 = AddMail(kInbox, QStringLiteral("Newer"), 1);
  AddMail(kInbox, QStringLiteral("Out of range"), 40);
  AddMail(kWork, QStringLiteral("In an excluded folder"), 1);
  const QString sent = AddMail(kSent, QStringLiteral("Sent by me"), 2);
  device.AddWritten(Written("From the road", "ann@example.org", "Written on the Kelvo\r\n"));
  Load();
  DriveLineInYields();
  Show();
  PressSpaceOn(kWork);  // the user leaves Work out
  bool sawRunningButtons = false;
  window->SetYieldHook([this, &sawRunningButtons] {
    line.Pump();
    if (!Button("btnSync")->isEnabled() && Button("btnBreak")->isEnabled()) {
      sawRunningButtons = true;
    }
    QMetaObject::invokeMethod(
        qApp, [] {}, Qt::QueuedConnection);
  });

  Button("btnSync")->click();

  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.shown.join(QLatin1Char('|')).toStdString();
  EXPECT_TRUE(boxes.asked.isEmpty());
  EXPECT_EQ(StatusLines(), (QStringList{QStringLiteral("Sent: 3"), QStringLiteral("Received: 1"),
                                        QString(), QString()}));
  EXPECT_TRUE(device.Violations().isEmpty())
      << device.Violations().join(QLatin1Char('|')).toStdString();
  ASSERT_EQ(HeldEntryIds().size(), 4);
  EXPECT_EQ(HeldEntryIds().mid(1), (QStringList{inbox1, inbox2, sent}));
  EXPECT_EQ(FilesIn(kDrafts), 1);
  EXPECT_EQ(line.OpenedPath(), QStringLiteral("/dev/ttyS0"));
  EXPECT_FALSE(line.IsOpen());
  EXPECT_TRUE(sawRunningButtons);
  EXPECT_TRUE(Button("btnSync")->isEnabled());
  EXPECT_FALSE(Button("btnBreak")->isEnabled());
  EXPECT_FALSE(window->SyncRunning());

  // A second click sends nothing again.
  Button("btnSync")->click();
  EXPECT_EQ(StatusLines(), (QStringList{QStringLiteral("Sent: 0"), QStringLiteral("Received: 0"),
                                        QString(), QString()}));
  EXPECT_EQ(HeldEntryIds().size(), 4);
}

// The options are read while the synchronisation runs: a removal box ticked
// during it is in force when the removal phase reads it.
TEST_F(WindowSyncTest, AnOptionChangedDuringTheSynchronisationTakesEffect) {
  AddMail(kInbox, QStringLiteral("A"), 1);
  device.AddHeld({QStringLiteral("0000001A"), "deleted-from-mail", 1, "X record"});
  Load();
  Show();
  auto* kelvoRemove = Control<QCheckBox>(window->Options(), "chkKelvoRemove");
  window->SetYieldHook([this, kelvoRemove] {
    line.Pump();
    if (line.PumpCount() == 3) kelvoRemove->click();
    QMetaObject::invokeMethod(
        qApp, [] {}, Qt::QueuedConnection);
  });
  Button("btnSync")->click();
  EXPECT_TRUE(boxes.asked.isEmpty()) << "the box was clear when the synchronisation started";
  EXPECT_EQ(window->Status(3), QStringLiteral("Removed from Kelvo: 1"));
  EXPECT_FALSE(HeldEntryIds().contains(QStringLiteral("deleted-from-mail")));
}

struct ConfirmRow {
  const char* name;
  bool fullSync;
  bool kelvoRemove;
  bool outlookRemove;
  std::deque<bool> answers;
  int asked;
  bool runs;
};

class WindowConfirmTest : public WindowSyncTest,
                          public ::testing::WithParamInterface<ConfirmRow> {};

TEST_P(WindowConfirmTest, AsksUnderItsConditionsAndStopsAtTheFirstNo) {
  const ConfirmRow& row = GetParam();
  builder.Folder(kInbox);
  Load();
  DriveLineInYields();
  Show();
  if (row.fullSync) Control<QCheckBox>(*window, "chkFullSync")->click();
  if (row.kelvoRemove) Control<QCheckBox>(window->Options(), "chkKelvoRemove")->click();
  if (row.outlookRemove) Control<QCheckBox>(window->Options(), "chkOutlookRemove")->click();
  window->SetStatus(1, QStringLiteral("as before"));
  boxes.answers = row.answers;
  Button("btnSync")->click();
  EXPECT_EQ(boxes.asked.size(), row.asked);
  EXPECT_EQ(line.OpenCount(), row.runs ? 1 : 0);
  if (!row.runs) {
    EXPECT_EQ(window->Status(1), QStringLiteral("as before"));
    EXPECT_TRUE(line.Transcript().Lines().isEmpty());
  }
  if (row.fullSync) {
    EXPECT_EQ(boxes.asked.value(0),
              QStringLiteral("'Full sync' will send all messages to Kelvo in the selected date "
                             "range,\n\rincluding those already sent with previous "
                             "syncronizations.\n\rDo you want to continue?"));
  }
  EXPECT_TRUE(Button("btnSync")->isEnabled());
  EXPECT_FALSE(Button("btnBreak")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WindowConfirmTest,
    ::testing::Values(ConfirmRow{"NoneAsked", false, false, false, {}, 0, true},
                      ConfirmRow{"FullSyncYes", true, false, false, {true}, 1, true},
                      ConfirmRow{"FullSyncNo", true, false, false, {false}, 1, false},
                      ConfirmRow{"AllThreeYes", true, true, true, {true, true, true}, 3, true},
                      ConfirmRow{"SecondNo", true, true, true, {true, false}, 2, false},
                      ConfirmRow{"RemovalOnlyNo", false, false, true, {false}, 1, false}),
    RowName{});

// A silent Kelvo: the handshake waits, asleep, until &Break is clicked.
TEST_F(WindowSyncTest, BreakEndsAWaitOnASilentKelvo) {
  Load();
  Show();
  int passes = 0;
  window->SetYieldHook([&passes] { ++passes; });  // the line stays silent: never pumped
  StartWatchdog();
  QTimer::singleShot(50, Button("btnBreak"), &QPushButton::click);
  Button("btnSync")->click();
  EXPECT_EQ(boxes.shown, (QStringList{kUserBreak, kHandshakeError}));
  EXPECT_EQ(line.Transcript().Lines(),
            (QStringList{QStringLiteral("PC  ACK"), QStringLiteral("PC  ABORT")}));
  EXPECT_EQ(StatusLines(), (QStringList{QString(), QString(), QString(), QString()}));
  EXPECT_FALSE(line.IsOpen());
  EXPECT_TRUE(Button("btnSync")->isEnabled());
  EXPECT_FALSE(Button("btnBreak")->isEnabled());
  EXPECT_TRUE(window->Session().BreakRequested) << "it stays set until the next synchronisation";
  // The wait slept until the click instead of spinning.
  EXPECT_LT(passes, 30);
}

// Closing the window during a synchronisation breaks it and closes the port
// before the program ends; no box comes up after the window has gone.
TEST_F(WindowSyncTest, ClosingTheWindowDuringASynchronisationClosesThePort) {
  Load();
  Show();
  window->ShowOptions();
  bool openWhenClosed = true;
  StartWatchdog();
  QTimer::singleShot(50, [this, &openWhenClosed] {
    window->close();
    openWhenClosed = line.IsOpen();
  });
  Button("btnSync")->click();
  EXPECT_FALSE(openWhenClosed) << "the port is closed at once";
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(window->Options().isVisible());
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.shown.join(QLatin1Char('|')).toStdString();
  EXPECT_FALSE(window->SyncRunning());
  EXPECT_FALSE(line.IsOpen());
  EXPECT_EQ(line.Transcript().Lines().value(0), QStringLiteral("PC  ACK"));
}

// The program ends with the main window, whatever else is open, and also when
// it is closed in the middle of a synchronisation.
class WindowCloseTest : public WindowSyncTest, public ::testing::WithParamInterface<bool> {};

TEST_P(WindowCloseTest, ClosingTheMainWindowEndsTheProgram) {
  const bool duringSync = GetParam();
  Load();
  Show();
  window->ShowOptions();
  window->ShowAbout();
  if (duringSync) {
    QTimer::singleShot(0, Button("btnSync"), &QPushButton::click);
    QTimer::singleShot(50, window.get(), &QWidget::close);
  } else {
    QTimer::singleShot(0, window.get(), &QWidget::close);
  }
  QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(window->Options().isVisible());
  EXPECT_FALSE(window->About().isVisible());
  EXPECT_FALSE(line.IsOpen());
  EXPECT_FALSE(window->SyncRunning());
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.shown.join(QLatin1Char('|')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowCloseTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& row) {
                           return std::string(row.param ? "DuringASync" : "WhenIdle");
                         });

}  // namespace
}  // namespace zandor::testing
