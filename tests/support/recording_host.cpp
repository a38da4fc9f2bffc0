#include "support/recording_host.h"

#include <gtest/gtest.h>

#include "support/in_process_line.h"

namespace zandor::testing {

void RecordingHost::ShowMessage(const QString& text) {
  boxes_ << text;
  events_ << QStringLiteral("box: ") + text;
  Note(QStringLiteral("box: ") + text);
}

bool RecordingHost::Confirm(const QString& text) {
  confirmations_ << text;
  events_ << QStringLiteral("confirm: ") + text;
  if (confirmAnswers_.empty()) return defaultConfirm_;
  const bool answer = confirmAnswers_.front();
  confirmAnswers_.pop_front();
  return answer;
}

QString RecordingHost::Status(int line) const {
  if (line < 1 || line > 4) {
    ADD_FAILURE() << "status line " << line << " does not exist";
    return {};
  }
  return status_[line - 1];
}

void RecordingHost::SetStatus(int line, const QString& text) {
  if (line < 1 || line > 4) {
    ADD_FAILURE() << "status line " << line << " does not exist";
    return;
  }
  status_[line - 1] = text;
  statusChanges_.push_back({line, text});
  events_ << QStringLiteral("status %1: ").arg(line) + text;
}

void RecordingHost::Yield(YieldMode mode) {
  ++yields_;
  if (mode == YieldMode::WaitForEvents) {
    ++waitingYields_;
    ++waitingInARow_;
  } else {
    waitingInARow_ = 0;
  }
  if (line_ != nullptr) line_->Pump();
  if (breakAtYield_ == yields_) PressBreak();
  if (breakWhen_ && breakWhen_(*this)) {
    breakWhen_ = nullptr;
    PressBreak();
  }
  if (breakWhenSilent_ > 0 && waitingInARow_ == breakWhenSilent_) PressBreak();
  if (hook_) hook_(*this, yields_);
  if (yields_ >= yieldLimit_ && !limitReported_) {
    limitReported_ = true;
    ADD_FAILURE() << "still waiting after " << yields_
                  << " yields: the device is silent and nobody pressed &Break";
    PressBreak();
  }
}

void RecordingHost::PressBreak() {
  ++breakPresses_;
  events_ << QStringLiteral("break");
  Note(QStringLiteral("&Break"));
  if (session_ == nullptr) {
    ADD_FAILURE() << "&Break pressed with no session attached to the host";
    return;
  }
  session_->BreakRequested = true;
}

void RecordingHost::SetBusy(bool busy) {
  busy_ = busy;
  events_ << (busy ? QStringLiteral("busy on") : QStringLiteral("busy off"));
}

void RecordingHost::SetSyncEnabled(bool enabled) {
  syncEnabled_ = enabled;
  events_ << (enabled ? QStringLiteral("sync enabled") : QStringLiteral("sync disabled"));
}

void RecordingHost::SetBreakEnabled(bool enabled) {
  breakEnabled_ = enabled;
  events_ << (enabled ? QStringLiteral("break enabled") : QStringLiteral("break disabled"));
}

QStringList RecordingHost::StatusHistory(int line) const {
  QStringList history;
  for (const StatusChange& change : statusChanges_) {
    if (change.line == line) history << change.text;
  }
  return history;
}

QStringList RecordingHost::StatusLines() const {
  return {status_[0], status_[1], status_[2], status_[3]};
}

void RecordingHost::Note(const QString& text) {
  if (line_ == nullptr) return;
  QString oneLine = text;
  oneLine.replace(QLatin1Char('\n'), QLatin1String("\\n"))
      .replace(QLatin1Char('\r'), QLatin1String("\\r"));
  line_->Transcript().Note(oneLine);
}

}  // namespace zandor::testing
