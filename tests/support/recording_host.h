#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <deque>
#include <functional>
#include <vector>

#include "session/host.h"
#include "session/plain_folder_view.h"
#include "session/sync_session.h"

namespace zandor::testing {

class InProcessLine;

// A Host that records what the phases show and lets a test act inside the
// yields, where &Break and the line's events run in the program.
//
// Yield() pumps the attached InProcessLine (so the device's bytes and the
// line's events arrive only there), then runs the break triggers and the
// yield hook. Boxes and breaks are also noted in the line's transcript
// ("--  box: Comm Err 1", "--  &Break"). A wait on a device that stays silent
// would never end: after 100,000 yields the host reports a test failure and
// presses &Break itself.
class RecordingHost final : public Host {
 public:
  using YieldHook = std::function<void(RecordingHost& host, int yieldNumber)>;

  explicit RecordingHost(InProcessLine* line = nullptr, SyncSession* session = nullptr)
      : line_(line), session_(session) {}

  void ShowMessage(const QString& text) override;
  bool Confirm(const QString& text) override;
  QString Status(int line) const override { return status_.at(static_cast<std::size_t>(line - 1)); }
  void SetStatus(int line, const QString& text) override;
  void Yield(YieldMode mode = YieldMode::Poll) override;
  void SetBusy(bool) override {}
  void SetSyncEnabled(bool enabled) override { syncEnabled_ = enabled; }
  void SetBreakEnabled(bool enabled) override { breakEnabled_ = enabled; }
  FolderView& Folders() override { return tree_; }

  // Answers of the next confirmations, in order; then Yes.
  void QueueConfirm(bool answer) { confirmAnswers_.push_back(answer); }
  // Runs during every yield, after the line was pumped and the triggers ran.
  void SetYieldHook(YieldHook hook) { hook_ = std::move(hook); }
  // Presses &Break during the first yield in which the condition holds.
  void BreakWhen(std::function<bool(const RecordingHost&)> condition) {
    breakWhen_ = std::move(condition);
  }
  // Presses &Break once the PC has waited for this many yields in a row.
  void BreakWhenSilent(int waitingYieldsInARow) { breakWhenSilent_ = waitingYieldsInARow; }
  // &Break: sets BreakRequested on the attached session, nothing else.
  void PressBreak();

  const QStringList& Boxes() const { return boxes_; }
  const QStringList& Confirmations() const { return confirmations_; }
  // The texts that status line n held, in order (empty texts included).
  QStringList StatusHistory(int line) const;
  QStringList StatusLines() const { return {status_.begin(), status_.end()}; }
  bool SyncEnabled() const { return syncEnabled_; }
  bool BreakEnabled() const { return breakEnabled_; }
  PlainFolderView& Tree() { return tree_; }
  const PlainFolderView& Tree() const { return tree_; }

 private:
  void Note(const QString& text);

  InProcessLine* line_;
  SyncSession* session_;
  PlainFolderView tree_;
  std::array<QString, 4> status_;
  std::vector<std::pair<int, QString>> statusChanges_;
  QStringList boxes_, confirmations_;
  std::deque<bool> confirmAnswers_;
  YieldHook hook_;
  std::function<bool(const RecordingHost&)> breakWhen_;
  int breakWhenSilent_ = 0;
  int waitingInARow_ = 0;
  int yields_ = 0;
  bool syncEnabled_ = true, breakEnabled_ = false;
};

}  // namespace zandor::testing
