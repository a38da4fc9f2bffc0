// What the main window adds to the synchronisation: its load, its buttons and
// status lines around the driver, one session that lives as long as the
// window, and the folder tree's ticks kept in the settings.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QTabWidget>
#include <QThread>
#include <csignal>

#include "settings/qsettings_store.h"
#include "support/row_name.h"
#include "sync/folder_tree.h"
#include "ui/sync_status_bar.h"
#include "ui/window_app.h"
#include "window_rig.h"

namespace zandor::testing {
namespace {

using namespace Qt::StringLiterals;

class MainWindowTest : public WindowRig {};

// Three synchronisations in one window: a whole one, one broken at its first
// yield, and one with nothing new. The buttons stay busy throughout each; the
// status bar tells how each ended, also at the next start, counting messages
// and parts apart. (FirstSyncTest checks what the driver clears at the start
// of each run.)
TEST_F(MainWindowTest, EachSynchronisationInOneWindowStartsAfresh) {
  settings.Write(u"Split"_s, u"SplitMode"_s, u"2"_s);
  AddMail(kInbox, u"Older"_s, 3, QString(6000, u'o'));
  AddMail(kInbox, u"Newer"_s, 1);
  AddMail(kSent, u"Sent by me"_s, 2);
  device.AddWritten(Written("From the road", "ann@example.org", "Written on the Kelvo\r\n"));
  Load();
  Show();
  int yieldsWithIdleButtons = 0;
  bool breakAtFirstYield = false;
  QStringList progress;  // the progress bar's texts while mail is due
  auto* bar = Control<QProgressBar>(*window, "barProgress");
  onYield = [&] {
    if (bar->isVisible() && bar->maximum() > 0 && !progress.contains(bar->text()))
      progress << bar->text();
    if (Button("btnSync")->isEnabled() || !Button("btnBreak")->isEnabled()) ++yieldsWithIdleButtons;
    if (std::exchange(breakAtFirstYield, false)) window->Break();
  };

  for (int i = 2; i <= 4; ++i) window->SetStatus(i, u"stale"_s);
  Button("btnSync")->click();
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.shown.join(u'|').toStdString();
  EXPECT_EQ(StatusLines(),
            (QStringList{u"Sent: 5 (1 splitted)"_s, u"Received: 1"_s, QString(), QString()}));
  EXPECT_EQ(window->Session().SelectionList.size(), 3U);
  const QString complete =
      u"Last synchronisation 12:00: complete: 3 messages sent, 1 of them "
      u"split into 3 parts, 1 received into Drafts"_s;
  EXPECT_EQ(window->StatusBar().Note(), complete);
  EXPECT_TRUE(progress.filter(u"message 1 of 3, part 2 of 3, 0:0"_s).size() == 1 &&
              progress.last().startsWith(u"message 3 of 3, 0:0"_s))
      << progress.join(u'|').toStdString();
  // What happened to each message, in the list and in the run's log.
  auto* details = Control<QListWidget>(*window, "lstDetails");
  QStringList listed;
  for (int i = 0; i < details->count(); ++i) listed << details->item(i)->text();
  EXPECT_EQ(
      listed.mid(0, 4),
      (QStringList{u"Received into Drafts: From the road"_s, u"Sent: Inbox / Older (3 parts)"_s,
                   u"Sent: Inbox / Newer"_s, u"Sent: Sent / Sent by me"_s}));
  QFile log(listed.last().mid(5));
  ASSERT_TRUE(log.open(QIODevice::ReadOnly)) << listed.last().toStdString();
  EXPECT_TRUE(log.readAll().contains("Sent: Sent / Sent by me\n[1] Sent: 5 (1 splitted)\n"));
  EXPECT_FALSE(bar->isVisible());
  EXPECT_EQ(window->StatusBar().Where(), dir.path() + u" · Com 1 (/dev/ttyS0)"_s);

  breakAtFirstYield = true;
  Button("btnSync")->click();
  EXPECT_EQ(boxes.shown,
            (QStringList{u"      User Break      "_s, u"     Handshake error     "_s}));
  EXPECT_EQ(window->StatusBar().Note(), u"Last synchronisation 12:00: stopped by Break"_s);

  boxes.shown.clear();
  Button("btnSync")->click();
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.shown.join(u'|').toStdString();
  EXPECT_EQ(window->Status(1), u"Sent: 0"_s);
  EXPECT_EQ(yieldsWithIdleButtons, 0);
  EXPECT_TRUE(Button("btnSync")->isEnabled());
  EXPECT_FALSE(Button("btnBreak")->isEnabled());
  Load();  // the next start shows how the last run ended
  EXPECT_EQ(window->StatusBar().Note(), u"Last synchronisation 12:00: complete: no message sent"_s);
}

// A Kelvo that does not answer is named in the status bar, with what to
// check; not while a question of ours is open (Break cannot be pressed then),
// and counted afresh once it is answered.
TEST_F(MainWindowTest, ASilentKelvoIsNamedInTheStatusBar) {
  device.AddFault({2, sim::FaultKind::Silence, {}});
  AddMail(kInbox, u"A"_s);
  Load();
  window->SetSilenceHintAfter(1000);
  QStringList hints;
  bool noteWhileAsked = false;
  boxes.answer = false;  // the run goes on
  boxes.whileAsked = [&] {
    QElapsedTimer open;
    open.start();
    while (open.elapsed() < 1500) {
      QCoreApplication::processEvents();
      QThread::msleep(1);
      noteWhileAsked = noteWhileAsked || !window->StatusBar().Note().isEmpty();
    }
  };
  onYield = [&] {
    QThread::msleep(1);  // a second of silence in a thousand yields, not millions
    if (!window->StatusBar().Note().startsWith(u"No answer"_s)) return;
    hints << window->StatusBar().Note();
    if (hints.size() == 1) {
      window->close();  // asks whether to stop
    } else {
      window->Break();
    }
  };
  Button("btnSync")->click();
  EXPECT_EQ(boxes.asked.size(), 1);
  EXPECT_FALSE(noteWhileAsked);
  EXPECT_EQ(hints, QStringList(2,
                               u"No answer from the Kelvo on Com 1 (/dev/ttyS0) for 1 s: is it "
                               u"connected and switched on? Press Break to stop."_s));
}

// With "Synchronise when the Kelvo is plugged in" ticked, the open window
// synchronises itself when the port appears, asking nothing it was not told
// beforehand; clearing the tick with OK switches the watcher off.
TEST_F(MainWindowTest, APlugInSynchronisesInTheOpenWindow) {
  AddMail(kInbox, u"A"_s);
  settings.Write(u"PluggedIn"_s, u"Sync"_s, u"1"_s);
  settings.Write(u"PluggedIn"_s, u"RemoveFromKelvo"_s, u"1"_s);
  settings.Write(u"Ports"_s, u"COM1"_s, dir.filePath(u"by-id/usb-Kelvo"_s));
  Load();
  QList<bool> turned;
  window->SetWatcherSwitch([&turned](bool on) {
    turned << on;
    return std::optional<QString>();
  });
  Show();
  QDir().mkpath(dir.filePath(u"by-id"_s));
  QFile(dir.filePath(u"by-id/usb-Kelvo"_s)).open(QIODevice::WriteOnly);
  for (int i = 0; i < 100 && window->Status(1) != u"Sent: 1"_s; ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  EXPECT_EQ(StatusLines(), (QStringList{u"Sent: 1"_s, u"Received: 0"_s, u""_s, u""_s}));
  EXPECT_EQ(boxes.asked, QStringList());
  Control<QCheckBox>(window->Options(), "chkPluggedInSync")->setChecked(false);
  window->Options().Ok();
  EXPECT_EQ(turned, QList<bool>{false});
}

// Around a run: closing during one asks first (No keeps it running, Yes
// stops it as Break does); a run that took a while and ended unseen is told
// to the desktop; a question answered No says so; the window opens inside
// the screen, where it was left.
TEST_F(MainWindowTest, AroundARun) {
  AddMail(kInbox, u"A"_s);
  Load();
  QStringList told;
  window->SetNotifier([&told](const QString&, const QString& text) { told << text; });
  boxes.answer = false;
  QTime closeAt(12, 0, 3), breakAt(12, 0, 6);
  const QString elsewhere = dir.filePath(u"elsewhere"_s);
  QString whereDuring;
  onYield = [&] {
    clock.Advance(1);
    if (clock.Now().time() == closeAt) window->close();
    if (clock.Now().time() == breakAt) {
      // Options stored during the run show at once.
      for (const QString& folder : {elsewhere, dir.path()}) {
        window->ShowOptions();
        Control<QLineEdit>(window->Options(), "edMailFolder")->setText(folder);
        window->Options().Ok();
        if (folder == elsewhere) whereDuring = window->StatusBar().Where();
      }
      window->Break();
    }
  };
  Button("btnSync")->click();
  EXPECT_TRUE(whereDuring.startsWith(elsewhere)) << whereDuring.toStdString();
  const QString question = u"A synchronisation is running. Stop it and quit?"_s;
  EXPECT_EQ(boxes.asked, QStringList{question});
  EXPECT_EQ(told, QStringList{u"Last synchronisation 12:00: stopped by Break"_s});
  boxes.answer = true;
  closeAt = clock.Now().time().addSecs(2);
  Button("btnSync")->click();
  EXPECT_EQ(boxes.asked, QStringList(2, question));
  EXPECT_EQ(told.size(), 1) << "nobody to tell on the way out";
  EXPECT_EQ(window->StatusBar().Note(), u"Last synchronisation 12:00: stopped by Break"_s);
  onYield = nullptr;
  Control<QCheckBox>(*window, "chkFullSync")->setChecked(true);
  boxes.answer = false;
  Button("btnSync")->click();
  EXPECT_EQ(window->StatusBar().Note(), u"Synchronisation cancelled"_s);

  window->setGeometry(QRect(QPoint(-5000, -5000), QSize(5000, 5000)));
  window->close();
  Load();
  const QRect screen = window->screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(window->frameGeometry()));
}

// SIGTERM during a run stops it as the first Ctrl-C does (the part in flight
// completed, the Kelvo holding what was counted as sent), then closes the
// window without asking; SIGHUP without a run closes it at once.
TEST_F(MainWindowTest, StopSignalsEndTheRunThenClose) {
  for (int i = 0; i < 3; ++i) AddMail(kInbox, u"M%1"_s.arg(i), 1);
  Load();
  Show();
  const std::unique_ptr<InterruptNotifier> stop = StopOnSignals(*window);
  bool raised = false;
  onYield = [&] {
    if (!raised && window->Session().ExchangeInFlight) raised = ::raise(SIGTERM) == 0;
  };
  Button("btnSync")->click();
  QCoreApplication::processEvents();
  EXPECT_TRUE(raised);
  EXPECT_TRUE(boxes.asked.isEmpty()) << boxes.asked.join(u'|').toStdString();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->StatusBar().Note(), u"Last synchronisation 12:00: stopped by Break"_s);
  EXPECT_EQ(HeldEntryIds().size(), window->Session().SentCount);
  EXPECT_LT(window->Session().SentCount, 3);
  Show();
  ::raise(SIGHUP);
  QCoreApplication::processEvents();
  EXPECT_FALSE(window->isVisible());
}

// A first start stores Com 1 and "Last 7 days"; a missing mail folder is said
// by the hint in place of the tree, with no box; Ctrl+Q closes the window;
// every question defaults to No; boxes carry their icons.
TEST_F(MainWindowTest, FirstStartStoresCom1AndShowsWhatToDo) {
  Load();
  Show();
  EXPECT_EQ(settings.Read(u"Com"_s, u"Port"_s), u"1"_s);
  EXPECT_EQ(settings.Read(u"Sync"_s, u"Days"_s), u"2"_s);
  EXPECT_EQ(Control<QComboBox>(window->Options(), "cbCom")->currentText(), u"Com 1"_s);
  EXPECT_EQ(Control<QComboBox>(window->Options(), "cbDaysNum")->currentText(), u"Last 7 days"_s);
  EXPECT_TRUE(Button("btnSync")->isEnabled());
  EXPECT_FALSE(Button("btnBreak")->isEnabled());
  EXPECT_TRUE(Control<QWidget>(*window, "pnlFirstStart")->isVisible());
  Control<QTabWidget>(window->Options(), "tabsOptions")->setCurrentIndex(2);
  Button("btnChooseMailFolder")->click();
  EXPECT_TRUE(Control<QLineEdit>(window->Options(), "edMailFolder")->isVisible());
  auto* quit = Control<QAction>(*window, "actQuit");
  EXPECT_EQ(quit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
  quit->trigger();
  EXPECT_FALSE(window->isVisible());
  const auto question = QtMessageBoxes::Question(nullptr, u"Continue?"_s);
  EXPECT_EQ(question->defaultButton(), question->button(QMessageBox::No));
  EXPECT_EQ(question->icon(), QMessageBox::Question);
  EXPECT_EQ(QtMessageBoxes::Warning(nullptr, u"Stop"_s)->icon(), QMessageBox::Warning);
  Load(dir.filePath(u"missing"_s));
  Show();
  EXPECT_TRUE(boxes.shown.isEmpty());
  EXPECT_TRUE(Control<QLabel>(*window, "lblFirstStart")->text().contains(u"does not exist yet"));
}

// A tick the user changes is stored at once under Folders: clearing writes
// "1", ticking deletes the key; a rebuild shows what is stored.
TEST_F(MainWindowTest, TheTreeKeepsItsTicksInTheSettings) {
  builder.Folder(kInbox);
  builder.Folder(kWork);
  builder.Folder(kSent);
  const QStringList keys{builder.EntryIdOf(kInbox), builder.EntryIdOf(kWork),
                         builder.EntryIdOf(kSent)};
  settings.Write(kFoldersSection, keys[2], u"1"_s);
  Load();
  Show();
  FolderTreeWidget& tree = window->Tree();
  const auto ticks = [&tree, &keys] {
    QString out;
    for (const QString& key : keys)
      out += tree.Node(key)->checkState(0) == Qt::Checked ? u'x' : u'o';
    return out;
  };
  EXPECT_EQ(ticks(), u"xxo"_s);

  tree.Node(keys[1])->setCheckState(0, Qt::Unchecked);
  tree.Node(keys[2])->setCheckState(0, Qt::Checked);
  EXPECT_EQ(settings.Read(kFoldersSection, keys[1]), u"1"_s);
  EXPECT_EQ(settings.Read(kFoldersSection, keys[2]), std::nullopt);
  window->RebuildTree();
  EXPECT_EQ(ticks(), u"xox"_s);
  tree.Node(keys[1])->setCheckState(0, Qt::Checked);
  EXPECT_EQ(settings.Read(kFoldersSection, keys[1]), std::nullopt);
}

// The rig's Maildir behind a login that takes one password only, which the
// server may change.
class GuardedStore final : public MailStore {
 public:
  GuardedStore(std::unique_ptr<MailStore> inner, QString password, const QString& taken)
      : inner_(std::move(inner)), password_(std::move(password)), taken_(taken) {}
  StoreResult<FolderRef> GetDefaultFolder(DefaultFolder which) override {
    return inner_->GetDefaultFolder(which);
  }
  StoreResult<std::vector<FolderRef>> Subfolders(const FolderRef& folder) override {
    return inner_->Subfolders(folder);
  }
  StoreResult<std::unique_ptr<ItemCollection>> Items(const FolderRef& folder) override {
    return inner_->Items(folder);
  }
  std::unique_ptr<NewMailItem> CreateItem() override { return inner_->CreateItem(); }
  StoreStatus CheckHoldsMail() override {
    if (password_ == taken_) return Done{};
    return StoreFailure{FailureKind::Refused, u"Authentication failed"_s};
  }

 private:
  std::unique_ptr<MailStore> inner_;
  QString password_;
  const QString& taken_;
};

// An account's password is asked for, and again while the server refuses
// it; one that worked is offered to the keyring when there is one. When the
// server later refuses it, the run that finds it says so, and the next one
// logs in afresh.
class ImapPasswordTest : public WindowRig, public ::testing::WithParamInterface<bool> {};

TEST_P(ImapPasswordTest, AskedUntilTakenThenOfferedToTheKeyring) {
  keyring.available = GetParam();
  AddMail(kInbox, u"On the server"_s);
  settings.Write(u"Store"_s, u"Kind"_s, u"imap"_s);
  settings.Write(u"Imap"_s, u"Host"_s, u"mail.example.org"_s);
  settings.Write(u"Imap"_s, u"User"_s, u"ann"_s);
  QStringList asked, answers{u"wrong"_s, u"right"_s};
  QString taken = u"right"_s;
  Load(
      {},
      [this, &taken](const ImapOptions&, const QString& password) {
        return std::make_unique<GuardedStore>(
            std::make_unique<MaildirStore>(dir.path(), QLocale::c(), clock), password, taken);
      },
      [&](QWidget*, const QString& text) -> std::optional<QString> {
        asked << text;
        return answers.isEmpty() ? std::nullopt : std::optional(answers.takeFirst());
      });
  Show();
  const QString question = u"Password of ann on mail.example.org:"_s;
  EXPECT_EQ(asked, QStringList({question, u"The server refused the password.\n"_s + question}));
  EXPECT_EQ(boxes.asked.size(), GetParam() ? 1 : 0) << boxes.asked.join(u'|').toStdString();
  EXPECT_EQ(keyring.kept.size(), GetParam() ? 1u : 0u);
  EXPECT_GT(window->Tree().topLevelItemCount(), 0);
  window->RebuildTree();  // the password is known for as long as the window lives
  EXPECT_EQ(asked.size(), 2);
  taken = u"changed"_s;
  answers << u"changed"_s;
  window->Sync();
  EXPECT_TRUE(boxes.shown.join(u'|').contains(u"Authentication failed"_s))
      << boxes.shown.join(u'|').toStdString();
  window->RebuildTree();
  EXPECT_EQ(asked.size(), 3);
  EXPECT_EQ(asked.back(), u"The server refused the password.\n"_s + question);
}
INSTANTIATE_TEST_SUITE_P(Keyring, ImapPasswordTest, ::testing::Bool());

// A password given in Options during a run drops the window's store, never
// the run's: the run goes on with the store it began with, and the next Sync
// logs in afresh with that password.
class ImapPasswordDuringRunTest : public WindowRig {};

TEST_F(ImapPasswordDuringRunTest, TheRunKeepsItsStore) {
  AddMail(kInbox, u"On the server"_s);
  settings.Write(u"Store"_s, u"Kind"_s, u"imap"_s);
  settings.Write(u"Imap"_s, u"Host"_s, u"mail.example.org"_s);
  settings.Write(u"Imap"_s, u"User"_s, u"ann"_s);
  const QString taken = u"right"_s;
  QStringList logins;
  Load(
      {},
      [&](const ImapOptions&, const QString& password) {
        logins << password;
        return std::make_unique<GuardedStore>(
            std::make_unique<MaildirStore>(dir.path(), QLocale::c(), clock), password, taken);
      },
      [](QWidget*, const QString&) -> std::optional<QString> { return u"right"_s; });
  Show();
  bool given = false;
  onYield = [&] {
    if (given || window->Status(1) != u"Handshaking..."_s) return;
    given = true;
    Q_EMIT window->Options().PasswordGiven(window->Options().Imap(), u"right"_s);
  };
  window->Sync();
  EXPECT_TRUE(given);
  EXPECT_EQ(device.Held().size(), 1u) << boxes.shown.join(u'|').toStdString();
  EXPECT_EQ(logins, QStringList{u"right"_s});
  window->RebuildTree();
  EXPECT_EQ(logins, QStringList({u"right"_s, u"right"_s}));
}

// With Login=xoauth2 each login runs the command for a fresh access token and
// asks nothing; what goes wrong is one box that names the setting.
struct TokenRow {
  const char* name;
  const char* command;
  const char* box;  // part of the one box shown; "" for none, the tree filled
};
class ImapTokenTest : public WindowRig, public ::testing::WithParamInterface<TokenRow> {};

TEST_P(ImapTokenTest, EachLoginRunsTheCommand) {
  AddMail(kInbox, u"On the server"_s);
  settings.Write(u"Store"_s, u"Kind"_s, u"imap"_s);
  settings.Write(u"Imap"_s, u"Host"_s, u"mail.example.org"_s);
  settings.Write(u"Imap"_s, u"User"_s, u"ann"_s);
  settings.Write(u"Imap"_s, u"Login"_s, u"xoauth2"_s);
  settings.Write(u"Imap"_s, u"PasswordCommand"_s, QString::fromLatin1(GetParam().command));
  const QString taken = u"token-1"_s;
  QStringList given, asked;
  Load(
      {},
      [&](const ImapOptions&, const QString& token) {
        given << token;
        return std::make_unique<GuardedStore>(
            std::make_unique<MaildirStore>(dir.path(), QLocale::c(), clock), token, taken);
      },
      [&](QWidget*, const QString& text) -> std::optional<QString> {
        asked << text;
        return std::nullopt;
      });
  Show();
  const QString box = QString::fromLatin1(GetParam().box);
  EXPECT_EQ(asked, QStringList());
  EXPECT_EQ(boxes.shown.size(), box.isEmpty() ? 0 : 1) << boxes.shown.join(u'|').toStdString();
  EXPECT_TRUE(boxes.shown.join(u'|').contains(box));
  EXPECT_EQ(given.contains(taken), box.isEmpty());
  EXPECT_EQ(window->Tree().topLevelItemCount() > 0, box.isEmpty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, ImapTokenTest, ::testing::Values(
    TokenRow{"TokenTaken", "echo token-1", ""},
    TokenRow{"TokenRefused", "echo expired", "refused the access token"},
    TokenRow{"NoCommand", "", "needs a command that prints one"},
    TokenRow{"CommandFails", "false", "No access token could be had"}),
    RowName());
// clang-format on

}  // namespace
}  // namespace zandor::testing

namespace zandor::testing {
namespace {

// A line added to the settings file by hand while the window is open is in
// force at once, and Options' OK keeps it rather than its own stale copy.
TEST_F(MainWindowTest, ASettingsFileEditedByHandIsReadAgain) {
  QTemporaryDir home;
  const QString path = home.filePath(u"Zandor.ini"_s);
  QSettingsStore file(path);
  file.Write(u"Store"_s, u"Maildir"_s, dir.path());
  MainWindow own(MainWindowServices{file, line, clock,
                                    [this](const QString& root) {
                                      return std::make_unique<MaildirStore>(root, QLocale::c(),
                                                                            clock);
                                    },
                                    QLocale::c(), nullptr, &keyring, AskPassword, path});
  own.SetMessageBoxes(&boxes);
  own.show();
  QCoreApplication::processEvents();
  QSettingsStore(path).Write(u"Imap"_s, u"Host"_s, u"mail.example.org"_s);  // by hand
  auto* hostField = Control<QLineEdit>(own, "edImapHost");
  for (int i = 0; i < 300 && hostField->text().isEmpty(); ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(10);
  }
  EXPECT_EQ(hostField->text(), u"mail.example.org"_s);
  own.ShowOptions();
  Control<QPushButton>(own, "btnOK")->click();
  EXPECT_EQ(QSettingsStore(path).Read(u"Imap"_s, u"Host"_s), u"mail.example.org"_s);
}

}  // namespace
}  // namespace zandor::testing
