#pragma once

#include <QDateTime>
#include <utility>

namespace zandor {

// The time of day, injected so that tests never depend on the real clock.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual QDateTime Now() const = 0;  // local time
};

class SystemClock final : public Clock {
 public:
  QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands still until told otherwise.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(QDateTime now) : now_(std::move(now)) {}
  QDateTime Now() const override { return now_; }
  void Set(QDateTime now) { now_ = std::move(now); }
  void Advance(qint64 seconds) { now_ = now_.addSecs(seconds); }

 private:
  QDateTime now_;
};

}  // namespace zandor
