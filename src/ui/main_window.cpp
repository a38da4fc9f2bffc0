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
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "front/port_presence.h"
#include "front/printable_text.h"
#include "front/store_choice.h"
#include "front/watch_service.h"
#include "front/window_mark.h"
#include "settings/stored_options.h"
#include "sync/sync_driver.h"
#include "ui/about_dialog.h"
#include "ui/activation_history.h"
#include "ui/desktop_notifier.h"
#include "ui/options_dialog.h"
#include "ui/settings_file_watch.h"
#include "ui/sync_status_bar.h"

namespace zandor {

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
  reachServer_ = services.reachServer ? std::move(services.reachServer) : ReachImapServer;
  passwords_ = std::make_unique<WindowPasswords>(
      *this, *keyring_, askPassword_, [this](const QString& text) { return Ask(text); },
      [this](const QString& text) { ShowMessage(text); });
  setObjectName(QStringLiteral("frmMain"));
  //: The main window's title
  setWindowTitle(tr("Kelvo Mail Sync"));
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
            passwords_->Remember(account, password);
            if (storeChoice_ && storeChoice_->kind == StoreKind::Imap &&
                KeyringKey(storeChoice_->imap) == KeyringKey(account)) {
              store_.reset();
              storeChoice_.reset();
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
  if (!services.settingsFile.isEmpty()) {
    settingsWatch_ = std::make_unique<SettingsFileWatch>(
        services.settingsFile, [this] { OnSettingsFileChanged(); }, nullptr);
  }
  windowMark_ = WindowMark::Take(StateFolder());
  turnWatcher_ = [](bool on) { return TurnWatcher(on, SystemWatcherPlaces()); };
  options_->SetWatcherSwitch([this](bool on) {
    if (const std::optional<QString> why = turnWatcher_(on)) boxes_->Show(options_, *why);
  });
  WatchPluggedIn();
}

void MainWindow::OnSettingsFileChanged() {
  // A line added by hand is in force at once; Options shows it when it is
  // next opened, or at once when it is closed now.
  if (!options_->isVisible()) options_->RestoreStored();
  ShowWhere();
  WatchPluggedIn();
}

void MainWindow::WatchPluggedIn() {
  const QString path = options_->Current().portPath;
  if (!options_->PluggedIn().sync || path.isEmpty()) {
    pluggedIn_.reset();
    return;
  }
  if (pluggedIn_ && pluggedIn_->Path() == QFileInfo(path).absoluteFilePath()) return;
  pluggedIn_ = std::make_unique<PortPresence>();
  if (pluggedIn_->Watch(path)) {
    pluggedIn_.reset();
    return;
  }
  connect(pluggedIn_.get(), &PortPresence::Appeared, this, [this] {
    // Outside the notifier's call: the run waits on the event loop itself.
    QTimer::singleShot(0, this, &MainWindow::SyncPluggedIn);
  });
}

void MainWindow::SyncPluggedIn() {
  if (syncRunning_ || startingRun_ || closing_ || !pluggedIn_ || !pluggedIn_->Present()) return;
  pluggedInRun_ = true;
  Sync();
  pluggedInRun_ = false;
}

void MainWindow::ShowRunLog(const QString& path) {
  QFile log(path);
  details_->clear();
  if (!log.open(QIODevice::ReadOnly | QIODevice::Text)) {
    //: %1 is the run log's path, %2 why it cannot be read
    details_->addItem(tr("The log %1 cannot be read: %2").arg(path, log.errorString()));
  } else {
    for (const QByteArray& line : log.readAll().split('\n')) {
      if (!line.isEmpty()) details_->addItem(PrintableText(QString::fromUtf8(line)));
    }
  }
  btnDetails_->setChecked(true);
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
  // The window manager's title bar is not known before the first show: its
  // usual height is kept free, so that the status bar stays on the screen.
  const QRect available = screen->availableGeometry();
  const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const QSize size = this->size().boundedTo(available.size() - QSize(0, titleBar));
  resize(size);
  // The position is the frame's, the size the inside's.
  const QSize framed = size + QSize(0, titleBar);
  QRect placed(
      stored.isEmpty() ? available.center() - QPoint(framed.width(), framed.height()) / 2 : pos(),
      framed);
  placed.moveLeft(std::clamp(placed.left(), available.left(),
                             available.left() + available.width() - framed.width()));
  placed.moveTop(std::clamp(placed.top(), available.top(),
                            available.top() + available.height() - framed.height()));
  move(placed.topLeft());
}

void MainWindow::KeepGeometry() {
  settings_.Write(kWindowSection, GeometryKey(screen()),
                  QString::fromLatin1(saveGeometry().toBase64()));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == options_ && event->type() == QEvent::Hide) {
    ShowWhere();
    WatchPluggedIn();
    if (syncRunning_) treeStale_ = true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::BuildStatusBar() {
  statusBar_ = new SyncStatusBar(this);
  statusBar()->addWidget(statusBar_, 1);
  statusBar()->setSizeGripEnabled(true);
  statusBar_->SetNote(LastRunLine(settings_).value_or(tr("Not synchronised yet")));
  ShowWhere();

  // A Kelvo that says nothing for a while is named, with what to check, and
  // the silence counted while it lasts. Only a Kelvo that owes bytes is
  // silent, and only while no box of ours is open: Break ends the silence.
  silence_ = new QTimer(this);
  silence_->setSingleShot(true);
  silence_->setInterval(kSilenceHintSeconds * 1000);
  silenceTick_ = new QTimer(this);
  silenceTick_->setInterval(1000);
  const auto showSilence = [this] {
    const SyncOptions options = options_->Current();
    const auto seconds = static_cast<int>(sinceAsked_.elapsed() / 1000);
    statusBar_->SetNote(SilenceText(std::max(seconds, silence_->interval() / 1000), options.port,
                                    options.portPath, tr("Press Break to stop.")));
  };
  connect(silence_, &QTimer::timeout, this, [this, showSilence] {
    showSilence();
    silenceTick_->start();
  });
  connect(silenceTick_, &QTimer::timeout, this, showSilence);
  tick_ = new QTimer(this);
  tick_->setInterval(1000);
  connect(tick_, &QTimer::timeout, this, [this] { statusBar_->ShowElapsed(clock_.Now()); });
  line_.SetWatcher({[this](const QByteArray& bytes) { statusBar_->AddBytesSent(bytes.size()); },
                    {},
                    {},
                    [this](bool owes) {
                      kelvoOwes_ = owes;
                      FollowSilence();
                    }});
}

void MainWindow::SetSilenceHintAfter(int milliseconds) {
  silence_->setInterval(milliseconds);
}

void MainWindow::ShowWhere() {
  const SyncOptions options = options_->Current();
  statusBar_->SetWhere(WhereText(StorePlace(), options.port, options.portPath));
}

MainWindow::~MainWindow() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void MainWindow::BuildControls() {
  tree_ = new FolderTreeWidget(this);
  folderView_ = std::make_unique<FolderTreeView>(*tree_);
  connect(tree_, &FolderTreeWidget::NodeCheck, this, [this](const QString& key, bool checked) {
    SetFolderExcluded(settings_, key, !checked);
  });

  //: The button that starts a synchronisation
  btnSync_ = new QPushButton(tr("&Sync"), this);
  btnSync_->setObjectName(QStringLiteral("btnSync"));
  //: The button that stops a synchronisation
  btnBreak_ = new QPushButton(tr("&Break"), this);
  btnBreak_->setObjectName(QStringLiteral("btnBreak"));
  connect(btnSync_, &QPushButton::clicked, this, &MainWindow::Sync);
  connect(btnBreak_, &QPushButton::clicked, this, &MainWindow::Break);

  chkFullSync_ = new QCheckBox(tr("&Full Syncronization (duplicate messages possible)"), this);
  chkFullSync_->setObjectName(QStringLiteral("chkFullSync"));

  auto* statusFrame = new QGroupBox(this);
  statusFrame->setObjectName(QStringLiteral("fmStatus"));
  auto* statusLayout = new QVBoxLayout(statusFrame);
  // Four lines that are often empty: what room there is goes to the tree.
  statusLayout->setSpacing(0);
  statusLayout->setContentsMargins(6, 2, 6, 2);
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
  connect(hintButton_, &QPushButton::clicked, this, [this] { MendStore(); });
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
  layout->setSpacing(4);
  layout->setContentsMargins(6, 4, 6, 2);
  layout->addLayout(top, 1);
  layout->addWidget(chkFullSync_);
  layout->addWidget(statusFrame);
  layout->addWidget(BuildDetails());
  setCentralWidget(central);

  //: The menu entry that opens the options dialog
  mnuOptions_ = menuBar()->addAction(tr("&Options"));
  mnuOptions_->setObjectName(QStringLiteral("mnuOptions"));
  //: The menu entry that opens the about box
  mnuAbout_ = menuBar()->addAction(tr("&About"));
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
  //: The button that shows the list of what the run did
  btnDetails_->setText(tr("&Details"));
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
  if (syncRunning_ || startingRun_) {
    if (!closing_ && !Ask(tr("A synchronisation is running. Stop it and quit?"))) {
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
