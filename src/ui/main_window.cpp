#include "ui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedLayout>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "settings/password_command.h"
#include "settings/stored_options.h"
#include "sync/store_choice.h"
#include "sync/sync_driver.h"
#include "ui/about_dialog.h"
#include "ui/activation_history.h"
#include "ui/desktop_notifier.h"
#include "ui/options_dialog.h"
#include "ui/sync_status_bar.h"

namespace zandor {

QString MissingMailFolderText(const QString& path) {
  return QStringLiteral(
             "The mail folder %1 does not exist.\n\r"
             "Choose your Maildir under Options, Mail Folder, or create it, "
             "then press Sync again.")
      .arg(path);
}

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent),
      settings_(services.settings),
      line_(services.line),
      clock_(services.clock),
      storeFactory_(std::move(services.storeFactory)),
      locale_(std::move(services.locale)),
      imapFactory_(std::move(services.imapFactory)),
      keyring_(services.keyring != nullptr ? services.keyring : &desktopKeyring_),
      askPassword_(std::move(services.askPassword)) {
  if (!askPassword_) askPassword_ = AskPassword;
  if (!imapFactory_) {
    imapFactory_ = [this](const ImapOptions& account, const QString& password) {
      return MakeImapStore(account, password, locale_, clock_);
    };
  }
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Kelvo Mail Sync"));
  history_ = new ActivationHistory(this);
  BuildControls();
  history_->Watch(this);
  connect(history_, &ActivationHistory::Activated, this, &MainWindow::OnActivated);

  // Load, in this order: the options (hidden; they restore their own values),
  // the first-run step with the port and the range, the conversion tables, and
  // &Break off until a synchronisation runs.
  options_ = new OptionsDialog(settings_, *history_, this);
  // A grayed box counts as ticked.
  options_->SetFullSyncSource([this] { return chkFullSync_->checkState() != Qt::Unchecked; });
  RunFirstRunStep(settings_);
  options_->RestorePortAndRange(ReadStoredOptions(settings_));
  options_->SetPasswordKeeping(*keyring_, askPassword_);
  // A password given in the options is the one the next login uses.
  connect(options_, &OptionsDialog::PasswordGiven, this,
          [this](const ImapOptions& account, const QString& password) {
            passwords_[KeyringKey(account)] = password;
            if (storeAccount_ && KeyringKey(*storeAccount_) == KeyringKey(account)) {
              store_.reset();
              storeAccount_.reset();
            }
          });
  tables_ = BuildConversionTables();
  btnBreak_->setEnabled(false);

  about_ = new AboutDialog(this);
  history_->Watch(about_);
  // The options stored with OK show at once, even during a run.
  options_->installEventFilter(this);
  notify_ = NotifyDesktop;
  runLogFolder_ = RunLogFolder();
  BuildStatusBar();
  RestoreGeometry();
}

namespace {

const QString kWindowSection = QStringLiteral("Window");

// The window's place is kept per screen: a laptop's own screen and a desk's
// large one each get theirs.
QString GeometryKey(const QScreen* screen) {
  if (screen == nullptr) return QStringLiteral("Geometry");
  const QRect size = screen->geometry();
  return QStringLiteral("Geometry %1 %2x%3")
      .arg(screen->name())
      .arg(size.width())
      .arg(size.height());
}

}  // namespace

void MainWindow::RestoreGeometry() {
  const QScreen* screen = this->screen();
  const QString stored = settings_.ReadOr(kWindowSection, GeometryKey(screen), QString());
  if (!stored.isEmpty()) restoreGeometry(QByteArray::fromBase64(stored.toLatin1()));
  if (screen == nullptr) return;
  // Inside what the screen shows, whatever its scale: the buttons must be
  // reachable.
  const QRect available = screen->availableGeometry();
  const QSize size = this->size().boundedTo(available.size());
  resize(size);
  QRect placed(
      stored.isEmpty() ? available.center() - QPoint(size.width(), size.height()) / 2 : pos(),
      size);
  placed.moveLeft(std::clamp(placed.left(), available.left(),
                             available.left() + available.width() - size.width()));
  placed.moveTop(std::clamp(placed.top(), available.top(),
                            available.top() + available.height() - size.height()));
  move(placed.topLeft());
}

void MainWindow::KeepGeometry() {
  settings_.Write(kWindowSection, GeometryKey(screen()),
                  QString::fromLatin1(saveGeometry().toBase64()));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == options_ && event->type() == QEvent::Hide) {
    ShowWhere();
    if (syncRunning_) treeStale_ = true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::BuildStatusBar() {
  statusBar_ = new SyncStatusBar(this);
  statusBar()->addWidget(statusBar_, 1);
  statusBar()->setSizeGripEnabled(true);
  statusBar_->SetNote(settings_.ReadOr(kLastRunSection, kLastRunKey, QString()));
  ShowWhere();

  // A Kelvo that says nothing for a while is named, with what to check, and
  // the silence counted while it lasts.
  silence_ = new QTimer(this);
  silence_->setSingleShot(true);
  silence_->setInterval(kSilenceHintSeconds * 1000);
  silenceTick_ = new QTimer(this);
  silenceTick_->setInterval(1000);
  const auto showSilence = [this] {
    const SyncOptions options = options_->Current();
    const auto seconds = static_cast<int>(sinceByte_.elapsed() / 1000);
    statusBar_->SetNote(SilenceText(std::max(seconds, silence_->interval() / 1000), options.port,
                                    options.portPath));
  };
  connect(silence_, &QTimer::timeout, this, [this, showSilence] {
    showSilence();
    silenceTick_->start();
  });
  connect(silenceTick_, &QTimer::timeout, this, showSilence);
  tick_ = new QTimer(this);
  tick_->setInterval(1000);
  connect(tick_, &QTimer::timeout, this, [this] { statusBar_->ShowElapsed(clock_.Now()); });
  line_.SetWatcher({[this](const QByteArray& bytes) {
                      statusBar_->AddBytesSent(bytes.size());
                      if (syncRunning_) RestartSilence();
                    },
                    [this](const QByteArray&) {
                      if (!silence_->isActive() && syncRunning_) statusBar_->SetNote(QString());
                      if (syncRunning_) RestartSilence();
                    },
                    {}});
}

void MainWindow::SetSilenceHintAfter(int milliseconds) {
  silence_->setInterval(milliseconds);
}

void MainWindow::ShowWhere() {
  const SyncOptions options = options_->Current();
  statusBar_->SetWhere(WhereText(StorePlace(), options.port, options.portPath));
}

void MainWindow::RestartSilence() {
  sinceByte_.start();
  silenceTick_->stop();
  silence_->start();
}

void MainWindow::Report(const RunItem& item) {
  if (item.kind == RunItem::Kind::Skipped) ++skippedOfRun_;
  const QString text = RunItemText(item);
  details_->addItem(text);
  details_->scrollToBottom();
  log_.Add(text);
}

void MainWindow::KeepOutcome(SyncEnd end, MailStore& store) {
  RunOutcome outcome;
  outcome.at = clock_.Now();
  outcome.port = options_->Current().port;
  if (end == SyncEnd::PortFailed) {
    outcome.kind = RunOutcome::Kind::PortFailed;
  } else if (session_.BreakRequested) {
    outcome.kind = RunOutcome::Kind::Broken;
  } else if (!firstBoxOfRun_.isEmpty()) {
    outcome.kind = RunOutcome::Kind::Failed;
    outcome.failure = firstBoxOfRun_;
  }
  outcome.sent = session_.SentCount;
  outcome.received = session_.ReceivedCount;
  StoreResult<FolderRef> drafts = store.GetDefaultFolder(DefaultFolder::Drafts);
  outcome.receivedInto = drafts ? drafts->Name : QStringLiteral("Drafts");
  outcome.skipped = skippedOfRun_;
  outcome.removedFromKelvo = session_.RemovedFromDeviceCount;
  outcome.removedFromMail = session_.RemovedFromMailCount;
  const QString text = LastRunText(outcome);
  statusBar_->SetNote(text);
  settings_.Write(kLastRunSection, kLastRunKey, text);
}

void MainWindow::ShowFirstStartHintIfEmpty() {
  const bool imap = options_->ChosenStore() == StoreKind::Imap;
  hintButton_->setText(imap ? QStringLiteral("Check the IMAP account...")
                            : QStringLiteral("Choose mail folder..."));
  if (imap) {
    hintText_->setText(
        QStringLiteral("No mail folders to show yet. Check the IMAP account under "
                       "Options, then tick the folders to synchronise."));
    treeOrHint_->setCurrentIndex(tree_->topLevelItemCount() == 0 ? 1 : 0);
    return;
  }
  const QString folder = options_->MailFolder();
  QString text = QStringLiteral(
      "No mail folders to show yet. Choose the folder that holds your Maildir (often ~/Maildir "
      "or ~/Mail), then tick the folders to synchronise.");
  if (!QFileInfo(folder).isDir()) {
    text = QStringLiteral("The mail folder %1 does not exist yet. ").arg(folder) + text;
  }
  hintText_->setText(text);
  treeOrHint_->setCurrentIndex(tree_->topLevelItemCount() == 0 ? 1 : 0);
}

MainWindow::~MainWindow() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void MainWindow::BuildControls() {
  tree_ = new FolderTreeWidget(this);
  folderView_ = std::make_unique<FolderTreeView>(*tree_);
  connect(tree_, &FolderTreeWidget::NodeCheck, this, [this](const QString& key, bool checked) {
    FolderTreeNodeCheck(settings_, key, checked);
  });

  btnSync_ = new QPushButton(QStringLiteral("&Sync"), this);
  btnSync_->setObjectName(QStringLiteral("btnSync"));
  btnBreak_ = new QPushButton(QStringLiteral("&Break"), this);
  btnBreak_->setObjectName(QStringLiteral("btnBreak"));
  connect(btnSync_, &QPushButton::clicked, this, &MainWindow::Sync);
  connect(btnBreak_, &QPushButton::clicked, this, &MainWindow::Break);

  chkFullSync_ =
      new QCheckBox(QStringLiteral("&Full Syncronization (duplicate messages possible)"), this);
  chkFullSync_->setObjectName(QStringLiteral("chkFullSync"));

  auto* statusFrame = new QGroupBox(this);
  statusFrame->setObjectName(QStringLiteral("fmStatus"));
  auto* statusLayout = new QVBoxLayout(statusFrame);
  statusLayout->setSpacing(2);
  for (std::size_t i = 0; i < lblStatus_.size(); ++i) {
    auto* label = new QLabel(statusFrame);
    label->setObjectName(QStringLiteral("lblStatus%1").arg(i + 1));
    label->setTextFormat(Qt::PlainText);
    // An empty line keeps its height, so the window does not jump.
    label->setMinimumHeight(label->fontMetrics().height());
    label->setMinimumWidth(1);
    statusLayout->addWidget(label);
    lblStatus_[i] = label;
  }

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(btnSync_);
  buttons->addWidget(btnBreak_);
  buttons->addStretch(1);

  // An empty tree (a first start, a folder without mail) shows what to do.
  auto* hint = new QWidget(this);
  hint->setObjectName(QStringLiteral("pnlFirstStart"));
  hintText_ = new QLabel(hint);
  hintText_->setObjectName(QStringLiteral("lblFirstStart"));
  hintText_->setTextFormat(Qt::PlainText);
  hintText_->setWordWrap(true);
  hintButton_ = new QPushButton(hint);
  hintButton_->setObjectName(QStringLiteral("btnChooseMailFolder"));
  connect(hintButton_, &QPushButton::clicked, this, [this] { options_->ShowAtMailFolder(); });
  auto* hintLayout = new QVBoxLayout(hint);
  hintLayout->addStretch(1);
  hintLayout->addWidget(hintText_);
  hintLayout->addWidget(hintButton_, 0, Qt::AlignLeft);
  hintLayout->addStretch(1);
  treeOrHint_ = new QStackedLayout;
  treeOrHint_->addWidget(tree_);
  treeOrHint_->addWidget(hint);

  auto* top = new QHBoxLayout;
  top->addLayout(treeOrHint_, 1);
  top->addLayout(buttons);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->addLayout(top, 1);
  layout->addWidget(chkFullSync_);
  layout->addWidget(statusFrame);
  layout->addWidget(BuildDetails());
  setCentralWidget(central);

  mnuOptions_ = menuBar()->addAction(QStringLiteral("&Options"));
  mnuOptions_->setObjectName(QStringLiteral("mnuOptions"));
  mnuAbout_ = menuBar()->addAction(QStringLiteral("&About"));
  mnuAbout_->setObjectName(QStringLiteral("mnuAbout"));
  connect(mnuOptions_, &QAction::triggered, this, &MainWindow::ShowOptions);
  connect(mnuAbout_, &QAction::triggered, this, &MainWindow::ShowAbout);
  // Ctrl+Q closes the window as its close button does.
  auto* quit = new QAction(this);
  quit->setObjectName(QStringLiteral("actQuit"));
  quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  quit->setShortcutContext(Qt::ApplicationShortcut);
  addAction(quit);
  connect(quit, &QAction::triggered, this, &QWidget::close);

  setTabOrder(tree_, btnSync_);
  setTabOrder(btnSync_, btnBreak_);
  setTabOrder(btnBreak_, chkFullSync_);
  setTabOrder(chkFullSync_, btnDetails_);
  tree_->setMinimumHeight(40);
  resize(480, 440);
}

QWidget* MainWindow::BuildDetails() {
  auto* pane = new QWidget(this);
  btnDetails_ = new QToolButton(pane);
  btnDetails_->setObjectName(QStringLiteral("btnDetails"));
  btnDetails_->setText(QStringLiteral("&Details"));
  btnDetails_->setCheckable(true);
  btnDetails_->setAutoRaise(true);
  btnDetails_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  btnDetails_->setArrowType(Qt::RightArrow);
  details_ = new QListWidget(pane);
  details_->setObjectName(QStringLiteral("lstDetails"));
  details_->setVisible(false);
  details_->setMinimumHeight(60);
  connect(btnDetails_, &QToolButton::toggled, this, [this](bool shown) {
    btnDetails_->setArrowType(shown ? Qt::DownArrow : Qt::RightArrow);
    // The window grows by the list, where the screen has room, rather than
    // squeezing the tree, and gives the room back when it closes.
    const int room = details_->sizeHint().height();
    details_->setVisible(shown);
    const QScreen* screen = this->screen();
    if (screen == nullptr) return;
    const QRect available = screen->availableGeometry();
    const int frame = frameGeometry().height() - height();
    resize(width(), std::clamp(height() + (shown ? room : -room), minimumSizeHint().height(),
                               std::max(available.height() - frame, 1)));
    const int overhang = frameGeometry().bottom() - available.bottom();
    if (overhang > 0) move(x(), std::max(available.top(), y() - overhang));
  });
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(btnDetails_, 0, Qt::AlignLeft);
  layout->addWidget(details_, 1);
  return pane;
}

void MainWindow::ShowMessage(const QString& text) {
  if (closing_) return;
  if (syncRunning_ && firstBoxOfRun_.isEmpty()) {
    firstBoxOfRun_ = text.section(QLatin1Char('\n'), 0, 0).trimmed();
  }
  silence_->stop();  // a box is not the Kelvo's silence; the next byte restarts it
  boxes_->Show(this, text);
}

bool MainWindow::Confirm(const QString& text) {
  if (closing_) return false;
  return boxes_->Ask(this, text);
}

QString MainWindow::Status(int line) const {
  if (line < 1 || line > 4) return QString();
  return lblStatus_[static_cast<std::size_t>(line - 1)]->text();
}

void MainWindow::SetStatus(int line, const QString& text) {
  if (line < 1 || line > 4) return;
  lblStatus_[static_cast<std::size_t>(line - 1)]->setText(text);
}

void MainWindow::ShowProgress(const Progress& progress) {
  if (syncRunning_) statusBar_->ShowProgress(progress);
}

void MainWindow::Yield(YieldMode mode) {
  if (yieldHook_) yieldHook_();
  // Once a break is asked for, nothing may sleep: the waits must see it and
  // unwind, even when the line has been closed under them.
  if (mode == YieldMode::WaitForEvents && !closing_ && !session_.BreakRequested) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  } else {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
}

void MainWindow::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void MainWindow::SetSyncEnabled(bool enabled) {
  btnSync_->setEnabled(enabled);
}
void MainWindow::SetBreakEnabled(bool enabled) {
  btnBreak_->setEnabled(enabled);
}

void MainWindow::SetMessageBoxes(MessageBoxes* boxes) {
  boxes_ = boxes != nullptr ? boxes : &realBoxes_;
}

QString MainWindow::StorePlace() const {
  if (options_->ChosenStore() == StoreKind::Maildir) return options_->MailFolder();
  const ImapOptions account = options_->Imap();
  return QStringLiteral("%1@%2").arg(account.user, account.host);
}

std::optional<QString> MainWindow::AccessTokenOf(const ImapOptions& account, bool refused) {
  const QString fix = QStringLiteral(
      "Set PasswordCommand under [Imap] in Zandor.ini to a command that prints a fresh access "
      "token (see the README), or remove Login=xoauth2 to log in with a password.");
  if (refused) {
    ShowMessage(QStringLiteral("The IMAP server refused the access token.\n\r") + fix);
    return std::nullopt;
  }
  if (account.passwordCommand.trimmed().isEmpty()) {
    ShowMessage(QStringLiteral("Logging in with an access token needs a command that prints "
                               "one.\n\r") +
                fix);
    return std::nullopt;
  }
  CommandPassword token = RunPasswordCommand(account.passwordCommand);
  if (const auto* failed = std::get_if<CommandFailure>(&token)) {
    ShowMessage(QStringLiteral("No access token could be had: %1.\n\r").arg(failed->reason) + fix);
    return std::nullopt;
  }
  return std::get<QString>(token);
}

std::optional<QString> MainWindow::PasswordOf(const ImapOptions& account, bool refused) {
  if (account.login == ImapLogin::XOAuth2) return AccessTokenOf(account, refused);
  const QString key = KeyringKey(account);
  if (!refused) {
    if (const auto known = passwords_.find(key); known != passwords_.end()) return known->second;
    const KeyringRead kept = keyring_->Read(key);
    keyringAvailable_ = kept.available;
    if (kept.password) return passwords_[key] = *kept.password;
  }
  const QString question = PasswordQuestion(account);
  std::optional<QString> typed = askPassword_(
      this, refused ? QStringLiteral("The server refused the password.\n") + question : question);
  if (typed) {
    passwords_[key] = *typed;
    typedKey_ = key;
  }
  return typed;
}

void MainWindow::OfferToKeep(const ImapOptions& account, const QString& password) {
  const QString key = KeyringKey(account);
  if (typedKey_ != key) return;
  typedKey_.clear();
  if (!keyringAvailable_ ||
      !boxes_->Ask(this, QStringLiteral("Keep the password of %1 on %2 in the desktop keyring?")
                             .arg(account.user, account.host))) {
    return;
  }
  if (const std::optional<QString> why = keyring_->Write(key, password)) {
    ShowMessage(QStringLiteral("The password could not be kept in the keyring: %1").arg(*why));
  }
}

StoreStatus MainWindow::LogInWithoutFreezing(MailStore& store, const QString& host) {
  // The server may take up to the session's timeout to answer: the window
  // keeps drawing meanwhile, and takes no input, so nothing starts twice.
  const QString note = statusBar_->Note();
  statusBar_->SetNote(QStringLiteral("Connecting to %1...").arg(host));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  std::optional<StoreStatus> reached;
  const std::unique_ptr<QThread> worker(
      QThread::create([&store, &reached] { reached.emplace(store.CheckHoldsMail()); }));
  QEventLoop loop;
  connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  worker->wait();
  QApplication::restoreOverrideCursor();
  statusBar_->SetNote(note);
  return std::move(*reached);
}

MailStore* MainWindow::CurrentImapStore(bool report) {
  const ImapOptions account = options_->Imap();
  if (store_ && storeAccount_ == account) return store_.get();
  store_.reset();
  storeRoot_.clear();
  storeAccount_.reset();
  for (bool refused = false;; refused = true) {
    const std::optional<QString> password = PasswordOf(account, refused);
    if (!password) return nullptr;
    std::unique_ptr<MailStore> store = imapFactory_(account, *password);
    const StoreStatus reached = LogInWithoutFreezing(*store, account.host);
    if (reached) {
      store_ = std::move(store);
      storeAccount_ = account;
      OfferToKeep(account, *password);
      return store_.get();
    }
    passwords_.erase(KeyringKey(account));
    if (reached.kind() != FailureKind::Refused) {
      if (report) {
        ShowMessage(QStringLiteral("The IMAP server cannot be used: %1.\n\r"
                                   "Check the IMAP account under Options, then press Sync again.")
                        .arg(reached.reason()));
      }
      return nullptr;
    }
  }
}

MailStore* MainWindow::CurrentStore(bool report) {
  if (options_->ChosenStore() == StoreKind::Imap) return CurrentImapStore(report);
  storeAccount_.reset();
  const QString root = options_->MailFolder();
  if (!QFileInfo(root).isDir()) {
    store_.reset();
    storeRoot_.clear();
    if (report) ShowMessage(MissingMailFolderText(root));
    return nullptr;
  }
  if (!store_ || storeRoot_ != root) {
    store_ = storeFactory_(root);
    storeRoot_ = root;
  }
  return store_.get();
}

void MainWindow::RebuildTree() {
  const QString root = StorePlace();
  // A folder that is still missing was reported already; say it again only
  // when the user has chosen another one.
  MailStore* store = CurrentStore(root != reportedMissingFolder_);
  if (store == nullptr) {
    reportedMissingFolder_ = root;
    folderView_->Clear();
    ShowFirstStartHintIfEmpty();
    return;
  }
  reportedMissingFolder_.clear();
  RebuildFolderTree(*this, *store, settings_);
  ShowFirstStartHintIfEmpty();
}

void MainWindow::Sync() {
  if (syncRunning_) return;
  MailStore* store = CurrentStore(true);
  if (store == nullptr) return;
  syncRunning_ = true;
  firstBoxOfRun_.clear();
  skippedOfRun_ = 0;
  details_->clear();
  runStarted_ = clock_.Now();
  if (!runLogFolder_.isEmpty()) {
    if (const std::optional<QString> why = log_.Start(runLogFolder_, runStarted_)) {
      details_->addItem(QStringLiteral("This run is not logged: %1").arg(*why));
    }
  }
  ShowWhere();
  statusBar_->SetNote(QString());
  statusBar_->StartRun(runStarted_);
  RestartSilence();
  tick_->start();
  const SyncEnvironment environment{
      *this,  [this] { return options_->Current(); }, line_, *store, settings_, clock_, tables_,
      locale_};
  const SyncEnd end = RunSynchronisation(session_, environment);
  silence_->stop();
  silenceTick_->stop();
  tick_->stop();
  syncRunning_ = false;
  statusBar_->FinishRun();
  if (end == SyncEnd::Refused) {
    // A question answered No touched nothing.
    statusBar_->SetNote(QStringLiteral("Synchronisation cancelled"));
    log_.Add(QStringLiteral("Cancelled: a question was answered No"));
  } else {
    KeepOutcome(end, *store);
    // A server that refused a login again (a password changed, a token
    // expired) or could not be reached again would fail every later run the
    // same way: the next Sync logs in afresh, asking when it is refused.
    if (storeAccount_ && (end == SyncEnd::StoreFailed || session_.StoreUnusable)) {
      store_.reset();
      storeAccount_.reset();
    }
    for (int i = 1; i <= 4; ++i) log_.Add(QStringLiteral("[%1] %2").arg(i).arg(Status(i)));
    log_.Add(statusBar_->Note());
    if (!log_.Path().isEmpty()) details_->addItem(QStringLiteral("Log: ") + log_.Path());
    details_->scrollToBottom();
    TellDesktop(end);
  }
  log_.Finish();
  if (treeStale_ && !closing_) RebuildTree();
  treeStale_ = false;
  ShowFirstStartHintIfEmpty();
}

void MainWindow::TellDesktop(SyncEnd end) {
  // Only a run long enough to look away from, and only when looked away.
  constexpr int kWorthTellingSeconds = 5;
  if (closing_ || isActiveWindow() || runStarted_.secsTo(clock_.Now()) < kWorthTellingSeconds) {
    return;
  }
  static_cast<void>(end);
  if (notify_) notify_(QStringLiteral("Kelvo Mail Sync"), statusBar_->Note());
}

void MainWindow::Break() {
  RequestBreak(session_);
}

void MainWindow::ShowOptions() {
  options_->show();
  options_->raise();
  options_->activateWindow();
}

void MainWindow::ShowAbout() {
  about_->show();
  about_->raise();
  about_->activateWindow();
}

void MainWindow::OnActivated(QWidget* window, QWidget* previous) {
  if (window != this) return;
  // Back from the options or the about box only; the first show has its own
  // rebuild, and a synchronisation rebuilds the tree itself in its send phase.
  if (previous != options_ && previous != about_) return;
  if (syncRunning_) return;
  ShowWhere();
  RebuildTree();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  // A mail folder missing at the start is no reason for a box: the hint in
  // place of the tree says it (a first start has no mail folder yet), and
  // Sync names it again.
  QTimer::singleShot(0, this, [this] {
    if (syncRunning_) return;
    reportedMissingFolder_ = StorePlace();
    RebuildTree();
  });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (syncRunning_) {
    if (!closing_ && !boxes_->Ask(this, QStringLiteral("A synchronisation is running. Stop it "
                                                       "and quit?"))) {
      event->ignore();
      return;
    }
    // Stopped as Break does; the run unwinds, then the program ends.
    closing_ = true;
    RequestBreak(session_);
    line_.Close();
  }
  KeepGeometry();
  // The program ends with this window: the options and the about box go too.
  options_->hide();
  about_->hide();
  event->accept();
}

}  // namespace zandor
