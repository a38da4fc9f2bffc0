#include "support/recording_host.h"

#include <gtest/gtest.h>

#include "support/in_process_line.h"

namespace zandor::testing {

using namespace Qt::StringLiterals;

void RecordingHost::ShowMessage(const QString& text) {
  boxes_ << text;
  Note(u"box: "_s + text);
}

bool RecordingHost::Confirm(const QString& text) {
  confirmations_ << text;
  if (confirmAnswers_.empty()) return true;
  const bool answer = confirmAnswers_.front();
  confirmAnswers_.pop_front();
  return answer;
}

void RecordingHost::SetStatus(int line, const QString& text) {
  status_.at(static_cast<std::size_t>(line - 1)) = text;
  statusChanges_.emplace_back(line, text);
}

void RecordingHost::Yield(YieldMode mode) {
  ++yields_;
  waitingInARow_ = mode == YieldMode::WaitForEvents ? waitingInARow_ + 1 : 0;
  if (line_ != nullptr) line_->Pump();
  if (breakWhen_ && breakWhen_(*this)) {
    breakWhen_ = nullptr;
    PressBreak();
  }
  if (breakWhenSilent_ > 0 && waitingInARow_ == breakWhenSilent_) PressBreak();
  if (hook_) hook_(*this, yields_);
  if (yields_ == 100000) {
    ADD_FAILURE() << "still waiting: the device is silent and nobody pressed &Break";
    PressBreak();
  }
}

void RecordingHost::PressBreak() {
  Note(u"&Break"_s);
  if (session_ != nullptr) session_->BreakRequested = true;
}

QStringList RecordingHost::StatusHistory(int line) const {
  QStringList history;
  for (const auto& [number, text] : statusChanges_) {
    if (number == line) history << text;
  }
  return history;
}

void RecordingHost::Note(const QString& text) {
  if (line_ == nullptr) return;
  QString oneLine = text;
  line_->Transcript().Note(
      oneLine.replace(u'\n', QLatin1String("\\n")).replace(u'\r', QLatin1String("\\r")));
}

}  // namespace zandor::testing
