#include "support/in_process_line.h"

#include <algorithm>

namespace zandor::testing {

using namespace Qt::StringLiterals;

std::optional<OpenFailure> InProcessLine::Open(const QString& path, const LineSettings& settings) {
  path_ = path;
  settings_ = settings;
  open_ = true;
  ++openCount_;
  lostReported_ = false;
  inFlight_.clear();
  readable_.clear();
  device_.LineOpened();
  return std::nullopt;
}

void InProcessLine::Close() {
  if (!open_) return;
  open_ = false;
  inFlight_.clear();
  readable_.clear();
  device_.LineClosed();
}

void InProcessLine::Write(const QByteArray& bytes) {
  transcript_.Write(bytes);
  writtenSinceDrain_ = true;
  if (!open_ || device_.HungUp()) return;
  device_.Receive(bytes);
  QByteArray answer = device_.TakeOutput();
  if (!answer.isEmpty()) inFlight_.push_back({pumps_ + delay_, std::move(answer)});
}

QByteArray InProcessLine::ReadAll() {
  QByteArray bytes;
  bytes.swap(readable_);
  if (!bytes.isEmpty()) transcript_.Read(bytes);
  return bytes;
}

void InProcessLine::DiscardInput() {
  ++discardInputCount_;
  readable_.clear();
  inFlight_.clear();
}

void InProcessLine::RaiseEvent(LineEvent event, int atPump) {
  events_.push_back({atPump == 0 ? pumps_ + 1 : atPump, std::move(event)});
}

void InProcessLine::Pump() {
  ++pumps_;
  qsizetype room = chunkSize_ > 0 ? chunkSize_ : std::numeric_limits<qsizetype>::max();
  while (!inFlight_.empty() && inFlight_.front().readyAt <= pumps_ && room > 0) {
    InFlight& front = inFlight_.front();
    const qsizetype take = std::min(room, front.bytes.size());
    readable_ += front.bytes.left(take);
    front.bytes.remove(0, take);
    room -= take;
    if (front.bytes.isEmpty()) inFlight_.pop_front();
  }

  std::vector<LineEvent> due;
  for (auto it = events_.begin(); it != events_.end();) {
    if (it->atPump <= pumps_) {
      due.push_back(it->event);
      it = events_.erase(it);
    } else {
      ++it;
    }
  }
  for (const LineEvent& event : due) Raise(event);

  if (open_ && device_.HungUp() && !lostReported_) {
    lostReported_ = true;
    Raise({LineEvent::Kind::DeviceLost, 0, u"Input/output error"_s});
  }
}

void InProcessLine::Raise(const LineEvent& event) {
  if (event.kind == LineEvent::Kind::DeviceLost) {
    transcript_.Note(u"device lost: "_s + event.detail);
  } else {
    transcript_.Note(u"line event %1"_s.arg(event.code));
  }
  if (handler_) handler_(event);
}

}  // namespace zandor::testing
