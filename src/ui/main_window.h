#pragma once

#include <QElapsedTimer>
#include <QLocale>
#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "front/last_run.h"
#include "front/run_report.h"
#include "front/store_opener.h"
#include "link/serial_line.h"
#include "link/watched_line.h"
#include "records/conversion.h"
#include "records/outgoing_record.h"
#include "session/clock.h"
#include "session/host.h"
#include "session/sync_session.h"
#include "settings/settings_store.h"
#include "store/mail_store.h"
#include "sync/sync_driver.h"
#include "ui/folder_tree.h"
#include "ui/message_boxes.h"
#include "ui/password_dialog.h"
#include "ui/window_passwords.h"

class QAction;
class QCheckBox;
class QLabel;
class QListWidget;
class QToolButton;
class QPushButton;
class QStackedLayout;
class QTimer;

namespace zandor {

class SettingsFileWatch;

class AboutDialog;
class PortPresence;
class WindowMark;
class ActivationHistory;
class OptionsDialog;
class SyncStatusBar;

// The mail store kept in a mail folder; the window makes a new one when the
// folder chosen in the options changes.
using MailStoreFactory = std::function<std::unique_ptr<MailStore>(const QString& rootPath)>;
// The store of an IMAP account, with the password given; it logs in on first use.
using ImapStoreFactory =
    std::function<std::unique_ptr<MailStore>(const ImapOptions& account, const QString& password)>;

// What the main window works with. All of it must outlive the window.
struct MainWindowServices {
  SettingsStore& settings;
  SerialLine& line;
  const Clock& clock;
  MailStoreFactory storeFactory;
  QLocale locale = RecordDateLocale();  // the record's date field
  // The real IMAP store, the desktop keyring and a password dialog when unset.
  ImapStoreFactory imapFactory = nullptr;
  PasswordKeyring* keyring = nullptr;
  PasswordAsker askPassword = AskPassword;
  // The settings file, watched for changes made outside the window; none
  // when empty.
  QString settingsFile = {};
  // The server's certificate checked before a password is asked; the real
  // server's when unset.
  std::function<StoreStatus(const ImapOptions&)> reachServer = nullptr;
};

// frmMain, "Kelvo Mail Sync": the folder tree, &Sync and &Break, the full-sync
// box, the four status lines and the Options and About menu entries. It is the
// Host of every synchronisation and holds the state the phases share.
//
// Load (the constructor): the options dialog is created hidden (it restores
// its own options), the first-run step restores the port and the range, the
// conversion tables are built and &Break is disabled. The tree is rebuilt when
// the window is first shown and whenever the user comes back to it from the
// options dialog or the about box, never when coming back from another program
// or from a message box. Closing the window during a synchronisation breaks
// it and closes the port before the program ends.
class MainWindow final : public QMainWindow, public Host {
  Q_OBJECT

 public:
  explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Host.
  void ShowMessage(const QString& text) override;
  bool Confirm(const QString& text) override;
  QString Status(int line) const override;
  void SetStatus(int line, const QString& text) override;
  void ShowProgress(const Progress& progress) override;
  void Yield(YieldMode mode = YieldMode::Poll) override;
  void SetBusy(bool busy) override;
  void SetSyncEnabled(bool enabled) override;
  void SetBreakEnabled(bool enabled) override;
  FolderView& Folders() override { return *folderView_; }
  void Report(const RunItem& item) override;
  void RunAside(const std::function<void()>& work) override;

  // The boxes go through boxes from now on; nullptr puts back the real ones.
  // The object must outlive its use.
  void SetMessageBoxes(MessageBoxes* boxes);

  // Runs at the start of every yield, before the event loop: tests step a
  // simulated line there (a real line raises its own events).
  void SetYieldHook(std::function<void()> hook) { yieldHook_ = std::move(hook); }

  OptionsDialog& Options() { return *options_; }
  SyncStatusBar& StatusBar() { return *statusBar_; }
  // How long the Kelvo may say nothing before the status bar says so.
  void SetSilenceHintAfter(int milliseconds);
  // Tells the desktop that a run ended (title, text); by default a
  // freedesktop notification, silently nothing without a notification service.
  void SetNotifier(std::function<void(const QString&, const QString&)> notify) {
    notify_ = std::move(notify);
  }
  // Where the run logs go; empty: none is written.
  void SetRunLogFolder(const QString& folder) { runLogFolder_ = folder; }
  AboutDialog& About() { return *about_; }
  FolderTreeWidget& Tree() { return *tree_; }
  const SyncSession& Session() const { return session_; }
  bool SyncRunning() const { return syncRunning_; }

  // The actions behind the controls.
  void Sync();   // btnSync: one whole synchronisation
  void Break();  // btnBreak
  // The system asks the program to end (SIGTERM, SIGHUP): a run stops as the
  // first Ctrl-C does, completing the part in flight, and the window closes
  // once it has ended; without a run it closes at once.
  void StopAndClose();
  void ShowOptions();  // mnuOptions
  void ShowAbout();    // mnuAbout
  // The activation step: fills the tree from the mail folder, or says that
  // the folder is missing (once for each missing path; each time when report
  // is set, and a certificate not trusted is then shown to be trusted).
  void RebuildTree(bool report = false);
  // Opens the details on the lines of a run's log (zandor --details).
  void ShowRunLog(const QString& path);
  // Switches zandor --watch on or off at once and at each login; the
  // system's by default (a systemd user service, else an autostart entry).
  void SetWatcherSwitch(std::function<std::optional<QString>(bool on)> turn) {
    turnWatcher_ = std::move(turn);
  }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildDetails();
  void BuildStatusBar();
  // Counts the Kelvo's silence while it owes bytes during a run and no box
  // of ours is open; else stops counting and takes the hint away.
  void FollowSilence();
  // A question, with the Kelvo's silence held while it is open.
  bool Ask(const QString& text);
  class QuestionOpen {
   public:
    explicit QuestionOpen(MainWindow& window);
    ~QuestionOpen();
    QuestionOpen(const QuestionOpen&) = delete;
    QuestionOpen& operator=(const QuestionOpen&) = delete;

   private:
    MainWindow& window_;
  };
  // Puts the window where it was on this screen, inside what the screen shows.
  void RestoreGeometry();
  void KeepGeometry();
  void TellDesktop(SyncEnd end);
  // The status bar's first line, from the options as they stand.
  void ShowWhere();
  // The status bar's line after a run, kept in the settings for the next start.
  void KeepOutcome(SyncEnd end, MailStore& store);
  void ShowFirstStartHintIfEmpty();
  void OnSettingsFileChanged();
  // The button in place of the tree: asks for what the store lacks (the
  // certificate trusted, the password), or opens Options where it is set.
  void MendStore();
  // While "Synchronise when the Kelvo is plugged in" is ticked, the window
  // watches the port and synchronises itself when it appears.
  void WatchPluggedIn();
  void SyncPluggedIn();
  void OnActivated(QWidget* window, QWidget* previous);
  // The store the options choose now, opened (an IMAP account logged in,
  // the password asked while the server refuses it); nullptr when there is
  // none. Where the store itself is wrong (a mail folder missing, a server out
  // of reach), the user is told only when report is set.
  std::shared_ptr<MailStore> CurrentStore(bool report);
  StoreChoice ChosenStore() const;
  // Work that waits on the server, run off the window's thread while the
  // window keeps drawing and says whom it waits for.
  StoreStatus WithoutFreezing(const QString& host, const std::function<StoreStatus()>& work);
  // The options as they stand, with the folders whose tick is cleared.
  SyncOptions CurrentOptions() const;
  // The mail folder, or the account as user@host.
  QString StorePlace() const;

  SettingsStore& settings_;
  WatchedLine line_;
  const Clock& clock_;
  MailStoreFactory storeFactory_;
  QLocale locale_;

  QtMessageBoxes realBoxes_;
  MessageBoxes* boxes_ = &realBoxes_;
  std::function<void()> yieldHook_;

  ActivationHistory* history_ = nullptr;
  OptionsDialog* options_ = nullptr;
  AboutDialog* about_ = nullptr;
  FolderTreeWidget* tree_ = nullptr;
  std::unique_ptr<FolderTreeView> folderView_;
  QPushButton* btnSync_ = nullptr;
  QPushButton* btnBreak_ = nullptr;
  QCheckBox* chkFullSync_ = nullptr;
  std::array<QLabel*, 4> lblStatus_{};
  SyncStatusBar* statusBar_ = nullptr;
  QStackedLayout* treeOrHint_ = nullptr;
  QLabel* hintText_ = nullptr;
  QPushButton* hintButton_ = nullptr;
  QTimer* silence_ = nullptr;
  QTimer* silenceTick_ = nullptr;
  QElapsedTimer sinceAsked_;
  bool kelvoOwes_ = false;
  int questionsOpen_ = 0;
  bool silenceCounting_ = false;
  QTimer* tick_ = nullptr;
  QString firstBoxOfRun_;
  RunTally tally_;  // what this run did, from its reports
  QDateTime runStarted_;
  QListWidget* details_ = nullptr;
  QToolButton* btnDetails_ = nullptr;
  RunLog log_;
  QString runLogFolder_;
  std::function<void(const QString&, const QString&)> notify_;
  // The options changed during a run: the tree follows when it ends.
  bool treeStale_ = false;
  QAction* mnuOptions_ = nullptr;
  QAction* mnuAbout_ = nullptr;

  ConversionTables tables_;
  SyncSession session_;
  // Shared with the run that uses it: options changed meanwhile drop the
  // window's, never the run's.
  std::shared_ptr<MailStore> store_;
  std::optional<StoreChoice> storeChoice_;    // what store_ was opened for
  std::optional<StoreRefusal> storeRefusal_;  // why the last opening gave none
  ImapStoreFactory imapFactory_;
  std::function<StoreStatus(const ImapOptions&)> reachServer_;
  DesktopKeyring desktopKeyring_;
  PasswordKeyring* keyring_ = nullptr;
  PasswordAsker askPassword_;
  std::unique_ptr<WindowPasswords> passwords_;
  QString reportedMissingFolder_;
  std::unique_ptr<SettingsFileWatch> settingsWatch_;

  bool shownOnce_ = false;
  bool busy_ = false;
  bool syncRunning_ = false;
  bool startingRun_ = false;  // Sync pressed, the store being opened
  // Set when the window closed during a synchronisation: boxes are no longer
  // shown and no yield waits, so that the break unwinds at once.
  bool closing_ = false;
  bool closeAfterRun_ = false;  // StopAndClose during a run
  // Tells zandor --watch that the window runs the synchronisations.
  std::unique_ptr<WindowMark> windowMark_;
  std::unique_ptr<PortPresence> pluggedIn_;
  bool pluggedInRun_ = false;  // nobody asked for this run: it asks nothing
  std::function<std::optional<QString>(bool on)> turnWatcher_;
};

}  // namespace zandor
