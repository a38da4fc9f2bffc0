#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>

#include "front/printable_text.h"
#include "sync/sync_driver.h"
#include "ui/desktop_notifier.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"
#include "ui/sync_status_bar.h"

// The window as the host of a synchronisation: the boxes, the status lines,
// the progress, the waits, and the run itself from Sync to its outcome.

namespace zandor {

void MainWindow::FollowSilence() {
  const bool counting = syncRunning_ && kelvoOwes_ && questionsOpen_ == 0;
  if (counting == silenceCounting_) return;
  silenceCounting_ = counting;
  silence_->stop();
  // The tick runs while the hint shows; the hint goes with the silence.
  if (silenceTick_->isActive()) {
    silenceTick_->stop();
    statusBar_->SetNote(QString());
  }
  if (!counting) return;
  sinceAsked_.start();
  silence_->start();
}

MainWindow::QuestionOpen::QuestionOpen(MainWindow& window) : window_(window) {
  ++window_.questionsOpen_;
  window_.FollowSilence();
}

MainWindow::QuestionOpen::~QuestionOpen() {
  --window_.questionsOpen_;
  window_.FollowSilence();
}

bool MainWindow::Ask(const QString& text) {
  const QuestionOpen open(*this);
  return boxes_->Ask(this, text);
}

void MainWindow::Report(const RunItem& item) {
  tally_.Add(item);
  const QString text = RunItemText(item);
  details_->addItem(PrintableText(text));
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
  outcome.tally = tally_;
  StoreResult<FolderRef> drafts = store.GetDefaultFolder(DefaultFolder::Drafts);
  //: The Drafts folder, named when the mail store cannot give its name
  outcome.receivedInto = drafts ? drafts->Name : tr("Drafts");
  statusBar_->SetNote(LastRunText(outcome));
  KeepLastRun(settings_, outcome);
}

void MainWindow::ShowMessage(const QString& text) {
  if (closing_) return;
  if (syncRunning_ && firstBoxOfRun_.isEmpty()) {
    firstBoxOfRun_ = text.section(QLatin1Char('\n'), 0, 0).trimmed();
  }
  const QuestionOpen open(*this);
  boxes_->Show(this, text);
}

bool MainWindow::Confirm(const QString& text) {
  if (closing_) return false;
  if (pluggedInRun_) return true;  // agreed to in Options for such runs
  return Ask(text);
}

QString MainWindow::Status(int line) const {
  if (line < 1 || line > 4) return QString();
  return lblStatus_[static_cast<std::size_t>(line - 1)]->text();
}

void MainWindow::SetStatus(int line, const QString& text) {
  if (line < 1 || line > 4) return;
  lblStatus_[static_cast<std::size_t>(line - 1)]->setText(PrintableText(text));
}

void MainWindow::ShowProgress(const Progress& progress) {
  if (syncRunning_) statusBar_->ShowProgress(progress);
}

void MainWindow::Yield(YieldMode mode) {
  if (yieldHook_) yieldHook_();
  if (mode == YieldMode::WaitForEvents) log_.Flush();  // while the Kelvo is busy
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

void MainWindow::RunAside(const std::function<void()>& work) {
  const std::unique_ptr<QThread> worker(QThread::create(work));
  QEventLoop loop;
  connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  // A run takes Break meanwhile (Sync is off); outside one the window takes
  // no input, so that nothing starts twice.
  loop.exec(syncRunning_ || startingRun_ ? QEventLoop::AllEvents
                                         : QEventLoop::ExcludeUserInputEvents);
  worker->wait();
}

void MainWindow::Sync() {
  if (syncRunning_) return;
  const auto closeIfAsked = qScopeGuard([this] {
    if (closeAfterRun_) QTimer::singleShot(0, this, &QWidget::close);
  });
  // The login takes Break; the run keeps its store, whatever the options do
  // meanwhile.
  session_.BreakRequested = false;
  session_.BreakReason.clear();
  startingRun_ = true;
  SetSyncEnabled(false);
  SetBreakEnabled(true);
  const std::shared_ptr<MailStore> store = CurrentStore(true);
  startingRun_ = false;
  SetSyncEnabled(true);
  SetBreakEnabled(false);
  if (store == nullptr) return;
  if (session_.BreakRequested) {
    statusBar_->SetNote(tr("Synchronisation stopped by Break before it began"));
    return;
  }
  syncRunning_ = true;
  firstBoxOfRun_.clear();
  tally_ = {};
  details_->clear();
  runStarted_ = clock_.Now();
  if (!runLogFolder_.isEmpty()) {
    if (const std::optional<QString> why = log_.Start(runLogFolder_, runStarted_)) {
      //: %1 is why the run log cannot be written
      details_->addItem(PrintableText(tr("This run is not logged: %1").arg(*why)));
    }
  }
  ShowWhere();
  statusBar_->SetNote(QString());
  statusBar_->StartRun(runStarted_);
  tick_->start();
  const SyncEnvironment environment{
      *this,  [this] { return CurrentOptions(); }, line_, *store, settings_, clock_, tables_,
      locale_};
  const SyncEnd end = RunSynchronisation(session_, environment);
  tick_->stop();
  syncRunning_ = false;
  FollowSilence();
  statusBar_->FinishRun();
  if (end == SyncEnd::Refused) {
    // A question answered No touched nothing.
    statusBar_->SetNote(tr("Synchronisation cancelled"));
    //: A line of the run log; No is the answer button of the question
    log_.Add(tr("Cancelled: a question was answered No"));
  } else {
    KeepOutcome(end, *store);
    // A server that refused a login again (a password changed, a token
    // expired) or could not be reached again would fail every later run the
    // same way: the next Sync logs in afresh, asking when it is refused.
    if (store_ == store && storeChoice_->kind == StoreKind::Imap &&
        (end == SyncEnd::StoreFailed || session_.StoreUnusable)) {
      store_.reset();
      storeChoice_.reset();
    }
    for (int i = 1; i <= 4; ++i) log_.Add(QStringLiteral("[%1] %2").arg(i).arg(Status(i)));
    log_.Add(statusBar_->Note());
    if (!log_.Path().isEmpty())
      //: %1 is the path of the run log
      details_->addItem(PrintableText(tr("Log: %1").arg(log_.Path())));
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
  //: The notification's title, as the main window's
  if (notify_) notify_(tr("Kelvo Mail Sync"), statusBar_->Note());
}

void MainWindow::Break() {
  RequestBreak(session_);
}

void MainWindow::StopAndClose() {
  if (!syncRunning_ && !startingRun_) {
    close();
    return;
  }
  closeAfterRun_ = true;
  // The login has no part in flight; the run keeps the mark of its own.
  if (startingRun_) {
    RequestBreak(session_);
  } else {
    RequestBreakAfterExchange(session_);
  }
}

}  // namespace zandor
