#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <thread>

#include "support/row_name.h"
#include "ui/about_dialog.h"
#include "window_rig.h"

namespace zandor::testing {
namespace {

class MainWindowTest : public ::testing::Test, public WindowRig {};

TEST_F(MainWindowTest, ControlsAndCaptionsAreThoseTheProgramNames) {
  Load();
  EXPECT_EQ(window->objectName(), QStringLiteral("frmMain"));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Kelvo Mail Sync"));
  EXPECT_EQ(Button("btnSync")->text(), QStringLiteral("&Sync"));
  EXPECT_EQ(Button("btnBreak")->text(), QStringLiteral("&Break"));
  EXPECT_EQ(Control<QCheckBox>(*window, "chkFullSync")->text(),
            QStringLiteral("&Full Syncronization (duplicate messages possible)"));
  EXPECT_EQ(Control<QAction>(*window, "mnuOptions")->text(), QStringLiteral("&Options"));
  EXPECT_EQ(Control<QAction>(*window, "mnuAbout")->text(), QStringLiteral("&About"));
  EXPECT_NE(Control<FolderTreeWidget>(*window, "FolderTree"), nullptr);
  for (const char* name : {"lblStatus1", "lblStatus2", "lblStatus3", "lblStatus4"}) {
    EXPECT_NE(Control<QLabel>(*window, name), nullptr);
  }
  EXPECT_EQ(window->About().objectName(), QStringLiteral("frmAbout"));
  EXPECT_EQ(window->About().windowTitle(), QStringLiteral("About Zandor"));
  EXPECT_EQ(window->Options().objectName(), QStringLiteral("frmOptions"));
}

// The window's load: the options loaded hidden, the first-run step, the port
// and the range restored, &Break off.
struct LoadRow {
  const char* name;
  std::vector<Stored> before;
  int port;
  int range;
  const char* storedPort;
  const char* storedDays;
};

class MainWindowLoadTest : public ::testing::TestWithParam<LoadRow>, public WindowRig {};

TEST_P(MainWindowLoadTest, RestoresThePortAndTheRange) {
  const LoadRow& row = GetParam();
  for (const Stored& v : row.before) Seed(settings, {v});
  Seed(settings, {{"Split", "SplitNum", "6"}});
  Load();
  EXPECT_EQ(window->Options().PortIndex(), row.port);
  EXPECT_EQ(window->Options().RangeIndex(), row.range);
  EXPECT_EQ(ReadKey(settings, "Com", "Port"), QString::fromUtf8(row.storedPort));
  EXPECT_EQ(ReadKey(settings, "Sync", "Days").value_or(QStringLiteral("absent")),
            QString::fromUtf8(row.storedDays));
  // The options restored their own values before.
  EXPECT_EQ(window->Options().PartsText(), QStringLiteral("5"));
  EXPECT_FALSE(window->Options().isVisible());
  EXPECT_FALSE(Button("btnBreak")->isEnabled());
  EXPECT_TRUE(Button("btnSync")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MainWindowLoadTest,
    ::testing::Values(
        LoadRow{"FirstStart", {}, 0, 1, "1", "2"},
        LoadRow{
            "PortZeroIsAFirstStart", {{"Com", "Port", "0"}, {"Sync", "Days", "5"}}, 0, 1, "1", "2"},
        LoadRow{
            "StoredPortAndRange", {{"Com", "Port", "3"}, {"Sync", "Days", "4"}}, 2, 3, "3", "4"},
        LoadRow{"NoRangeLeavesNoSelection", {{"Com", "Port", "4"}}, 3, -1, "4", "absent"},
        LoadRow{"PortOutsideListSelectsCom1",
                {{"Com", "Port", "9"}, {"Sync", "Days", "1"}},
                0,
                0,
                "9",
                "1"}),
    RowName{});

TEST_F(MainWindowTest, HostLinesButtonsAndBusyPointer) {
  Load();
  Host& host = *window;
  host.SetStatus(1, QStringLiteral("Mail sync started"));
  host.SetStatus(4, QStringLiteral("Removed from Outlook: 2"));
  host.SetStatus(0, QStringLiteral("ignored"));
  host.SetStatus(5, QStringLiteral("ignored"));
  EXPECT_EQ(StatusLines(), (QStringList{QStringLiteral("Mail sync started"), QString(), QString(),
                                        QStringLiteral("Removed from Outlook: 2")}));
  EXPECT_EQ(Control<QLabel>(*window, "lblStatus4")->text(),
            QStringLiteral("Removed from Outlook: 2"));
  EXPECT_EQ(host.Status(5), QString());

  host.SetSyncEnabled(false);
  host.SetBreakEnabled(true);
  EXPECT_FALSE(Button("btnSync")->isEnabled());
  EXPECT_TRUE(Button("btnBreak")->isEnabled());

  ASSERT_EQ(QApplication::overrideCursor(), nullptr);
  host.SetBusy(true);
  host.SetBusy(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  host.SetBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  host.ShowMessage(QStringLiteral("Comm Err 6"));
  EXPECT_TRUE(host.Confirm(QStringLiteral("Do you want to continue?")));
  boxes.answers = {false};
  EXPECT_FALSE(host.Confirm(QStringLiteral("Again?")));
  EXPECT_EQ(boxes.shown, QStringList{QStringLiteral("Comm Err 6")});
  EXPECT_EQ(boxes.asked.size(), 2);
}

TEST_F(MainWindowTest, FullSyncIsReadFromTheMainWindowsBox) {
  Load();
  auto* box = Control<QCheckBox>(*window, "chkFullSync");
  const Options& options = window->Options();
  EXPECT_EQ(options.FullSync(), CheckState::Unchecked);
  box->click();
  EXPECT_EQ(options.FullSync(), CheckState::Checked);
  box->setCheckState(Qt::PartiallyChecked);
  EXPECT_EQ(options.FullSync(), CheckState::Grayed);
}

TEST_F(MainWindowTest, MenusShowTheDialogsWithoutMakingThemModal) {
  Load();
  Show();
  Control<QAction>(*window, "mnuOptions")->trigger();
  EXPECT_TRUE(window->Options().isVisible());
  EXPECT_FALSE(window->Options().isModal());
  Control<QAction>(*window, "mnuAbout")->trigger();
  EXPECT_TRUE(window->About().isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  Control<QPushButton>(window->About(), "cmdOK")->click();
  EXPECT_FALSE(window->About().isVisible());
  EXPECT_TRUE(window->Options().isVisible());
}

// The yields: Poll never sleeps; WaitForEvents sleeps until something
// happens, and wakes for a posted event, a timer and data on a descriptor.
class YieldTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Load();
    // Drain what earlier steps left pending.
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    // Ends a sleeping yield after a long while, so that a fault fails the
    // test instead of hanging it.
    watchdog.setInterval(5000);
    QObject::connect(&watchdog, &QTimer::timeout, [this] { ++watchdogFired; });
    watchdog.start();
  }

  // Yields with WaitForEvents until done; returns the number of passes.
  int WaitUntil(const bool& done) {
    int passes = 0;
    while (!done && watchdogFired == 0) {
      window->Yield(Host::YieldMode::WaitForEvents);
      ++passes;
    }
    return passes;
  }

  QTimer watchdog;
  int watchdogFired = 0;
};

TEST_F(YieldTest, PollReturnsAtOnceWithNothingPending) {
  for (int i = 0; i < 3; ++i) window->Yield(Host::YieldMode::Poll);
  EXPECT_EQ(watchdogFired, 0);
}

TEST_F(YieldTest, WaitWakesForAnEventPostedFromAnotherThread) {
  bool delivered = false;
  QObject receiver;
  std::thread poster([&receiver, &delivered] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    QMetaObject::invokeMethod(
        &receiver, [&delivered] { delivered = true; }, Qt::QueuedConnection);
  });
  const int passes = WaitUntil(delivered);
  poster.join();
  EXPECT_TRUE(delivered);
  EXPECT_EQ(watchdogFired, 0);
  // Sleeping, not spinning: a spinning yield makes thousands of passes in 50 ms.
  EXPECT_LT(passes, 20);
}

TEST_F(YieldTest, WaitWakesForATimer) {
  bool fired = false;
  QTimer::singleShot(30, [&fired] { fired = true; });
  const int passes = WaitUntil(fired);
  EXPECT_TRUE(fired);
  EXPECT_EQ(watchdogFired, 0);
  EXPECT_LT(passes, 20);
}

// What a serial port's readyRead rests on: a descriptor that becomes readable.
TEST_F(YieldTest, WaitWakesWhenDataArrives) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  bool readable = false;
  {
    QSocketNotifier notifier(fds[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&readable, &notifier] {
      readable = true;
      notifier.setEnabled(false);
    });
    std::thread writer([fd = fds[1]] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      const char byte = 0x01;
      EXPECT_EQ(write(fd, &byte, 1), 1);
    });
    const int passes = WaitUntil(readable);
    writer.join();
    EXPECT_TRUE(readable);
    EXPECT_LT(passes, 20);
  }
  close(fds[0]);
  close(fds[1]);
  EXPECT_EQ(watchdogFired, 0);
}

// Once a break is asked for, a yield never sleeps: the wait must see it.
TEST_F(YieldTest, NoSleepAfterABreak) {
  window->Break();
  for (int i = 0; i < 3; ++i) window->Yield(Host::YieldMode::WaitForEvents);
  EXPECT_EQ(watchdogFired, 0);
}

// The real boxes: caption Zandor, no icon, the text as it stands, OK only or
// Yes and No.
struct BoxSeen {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::Information;
  QMessageBox::StandardButtons buttons;
  Qt::TextFormat format = Qt::AutoText;
};

TEST(QtMessageBoxesTest, ShowAndAskLookAsTheProgramNeeds) {
  QtMessageBoxes boxes;
  QWidget parent;
  parent.show();
  const QString text = QStringLiteral("Comm Err 6 <a&b>\n\rsecond line");

  std::shared_ptr<BoxSeen> seen = std::make_shared<BoxSeen>();
  const auto watch = [&seen](QMessageBox::StandardButton answer) {
    QTimer::singleShot(0, [seen, answer] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) {
        ADD_FAILURE() << "no box";
        return;
      }
      seen->title = box->windowTitle();
      seen->text = box->text();
      seen->icon = box->icon();
      seen->buttons = box->standardButtons();
      seen->format = box->textFormat();
      box->button(answer)->click();
    });
  };

  watch(QMessageBox::Ok);
  boxes.Show(&parent, text);
  EXPECT_EQ(seen->title, QStringLiteral("Zandor"));
  EXPECT_EQ(seen->text, QStringLiteral("Comm Err 6 <a&b>\nsecond line"));
  EXPECT_EQ(seen->icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen->buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(seen->format, Qt::PlainText);

  watch(QMessageBox::No);
  EXPECT_FALSE(boxes.Ask(&parent, text));
  EXPECT_EQ(seen->buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(seen->icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen->title, QStringLiteral("Zandor"));
  watch(QMessageBox::Yes);
  EXPECT_TRUE(boxes.Ask(&parent, text));
}

TEST(AboutDialogTest, ShowsTitleVersionAndClosesWithOk) {
  AboutDialog about;
  about.show();
  EXPECT_EQ(about.windowTitle(), QStringLiteral("About Zandor"));
  EXPECT_FALSE(about.isModal());
  EXPECT_EQ(Control<QLabel>(about, "lblTitle")->text(), QStringLiteral("Zandor"));
  EXPECT_TRUE(Control<QLabel>(about, "lblVersion")->text().startsWith(QStringLiteral("Version ")));
  EXPECT_FALSE(Control<QLabel>(about, "lblDescription")->text().isEmpty());
  EXPECT_FALSE(Control<QLabel>(about, "lblCredits")->text().isEmpty());
  Control<QPushButton>(about, "cmdOK")->click();
  EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace zandor::testing
