#pragma once

#include <chrono>
#include <cstdint>

namespace zandor::sim {

// Meters bytes at a line rate: ten bit times a byte (start, 8 data, stop),
// with a burst of up to a UART FIFO's worth after a pause. A rate of 0 lets
// everything through at once.
class Pacer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit Pacer(int baud);

  // How many bytes may go now (a large number when unpaced).
  std::int64_t Allowance(Clock::time_point now) const;
  // Records that count bytes went at now.
  void Spend(std::int64_t count, Clock::time_point now);
  // How long until the next byte may go: zero when one may go now. Exact to
  // the nanosecond, so that a byte that comes after a pause is taken in the
  // byte time it takes on a real line, not at the next whole millisecond.
  std::chrono::nanoseconds Wait(Clock::time_point now) const;
  // How long until count bytes (at most a burst) may go together.
  std::chrono::nanoseconds WaitFor(std::int64_t count, Clock::time_point now) const;

  static constexpr std::int64_t kBurst = 16;

 private:
  std::chrono::nanoseconds byteTime_{0};
  Clock::time_point nextFree_{};
};

}  // namespace zandor::sim
