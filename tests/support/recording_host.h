#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "support/tree_model.h"
#include "session/host.h"
#include "session/sync_session.h"

namespace zandor::testing {

class InProcessLine;

// A Host that records what the phases show and lets a test act inside the
// yields, where &Break and the line's events run in the program.
//
// Yield() pumps the attached InProcessLine (so the device's bytes and the
// line's events arrive only there), then runs the break triggers and the
// yield hook. Every box, confirmation, status change and break goes into
// Events() in order; with a line attached, boxes and breaks are also noted in
// its transcript ("--  box: Comm Err 1", "--  &Break").
//
// A wait on a device that stays silent would never end: after YieldLimit()
// yields the host reports a test failure and presses &Break itself.
class RecordingHost final : public Host {
 public:
  struct StatusChange {
    int line = 0;
    QString text;
  };
  using YieldHook = std::function<void(RecordingHost& host, int yieldNumber)>;

  RecordingHost() = default;
  explicit RecordingHost(InProcessLine* line, SyncSession* session = nullptr)
      : line_(line), session_(session) {}

  void AttachLine(InProcessLine* line) { line_ = line; }
  void AttachSession(SyncSession* session) { session_ = session; }

  // Host.
  void ShowMessage(const QString& text) override;
  bool Confirm(const QString& text) override;
  QString Status(int line) const override;
  void SetStatus(int line, const QString& text) override;
  void Yield(YieldMode mode = YieldMode::Poll) override;
  void SetBusy(bool busy) override;
  void SetSyncEnabled(bool enabled) override;
  void SetBreakEnabled(bool enabled) override;
  FolderView& Folders() override { return tree_; }

  // Scripting.
  // Answers of the next confirmations, in order; then the default answer.
  void QueueConfirm(bool answer) { confirmAnswers_.push_back(answer); }
  void SetDefaultConfirm(bool answer) { defaultConfirm_ = answer; }
  // Runs during every yield, after the line was pumped and the triggers ran.
  void SetYieldHook(YieldHook hook) { hook_ = std::move(hook); }
  // Presses &Break during yield n (counted from 1 over the host's life).
  void BreakAtYield(int n) { breakAtYield_ = n; }
  // Presses &Break during the first yield in which the condition holds.
  void BreakWhen(std::function<bool(const RecordingHost&)> condition) {
    breakWhen_ = std::move(condition);
  }
  // Presses &Break once the PC has read nothing for this many yields in a row:
  // a silent device.
  void BreakWhenSilent(int waitingYieldsInARow) { breakWhenSilent_ = waitingYieldsInARow; }
  // &Break: sets BreakRequested on the attached session, nothing else.
  void PressBreak();
  void SetYieldLimit(int limit) { yieldLimit_ = limit; }
  int YieldLimit() const { return yieldLimit_; }

  // What was recorded.
  const QStringList& Boxes() const { return boxes_; }
  const QStringList& Confirmations() const { return confirmations_; }
  const std::vector<StatusChange>& StatusChanges() const { return statusChanges_; }
  // The texts that status line n held, in order (empty texts included).
  QStringList StatusHistory(int line) const;
  // The four status lines as they stand.
  QStringList StatusLines() const;
  // "box: <text>", "confirm: <text>", "status <n>: <text>", "break", "busy on",
  // "sync enabled", ... in the order they happened.
  const QStringList& Events() const { return events_; }
  int YieldCount() const { return yields_; }
  // Yields that were allowed to wait for the next event.
  int WaitingYieldCount() const { return waitingYields_; }
  int BreakPresses() const { return breakPresses_; }
  bool Busy() const { return busy_; }
  bool SyncEnabled() const { return syncEnabled_; }
  bool BreakEnabled() const { return breakEnabled_; }
  TreeModel& Tree() { return tree_; }
  const TreeModel& Tree() const { return tree_; }

 private:
  void Note(const QString& text);

  InProcessLine* line_ = nullptr;
  SyncSession* session_ = nullptr;
  TreeModel tree_;
  QString status_[4];
  QStringList boxes_;
  QStringList confirmations_;
  std::vector<StatusChange> statusChanges_;
  QStringList events_;
  std::deque<bool> confirmAnswers_;
  bool defaultConfirm_ = true;
  YieldHook hook_;
  int breakAtYield_ = 0;
  std::function<bool(const RecordingHost&)> breakWhen_;
  int breakWhenSilent_ = 0;
  int waitingInARow_ = 0;
  int yields_ = 0;
  int waitingYields_ = 0;
  int yieldLimit_ = 100000;
  bool limitReported_ = false;
  int breakPresses_ = 0;
  bool busy_ = false;
  bool syncEnabled_ = true;
  bool breakEnabled_ = false;
};

}  // namespace zandor::testing
