#include "pacer.h"

#include <algorithm>
#include <limits>

namespace zandor::sim {

Pacer::Pacer(int baud) {
  if (baud > 0) byteTime_ = std::chrono::nanoseconds(10'000'000'000LL / baud);
}

std::int64_t Pacer::Allowance(Clock::time_point now) const {
  if (byteTime_.count() == 0) return std::numeric_limits<std::int32_t>::max();
  if (now < nextFree_) return 0;
  return std::min<std::int64_t>(kBurst, 1 + (now - nextFree_) / byteTime_);
}

void Pacer::Spend(std::int64_t count, Clock::time_point now) {
  if (byteTime_.count() == 0 || count <= 0) return;
  // After a pause the line may catch up by one burst, no more.
  const Clock::time_point start = std::max(nextFree_, now - (kBurst - 1) * byteTime_);
  nextFree_ = start + count * byteTime_;
}

std::chrono::nanoseconds Pacer::WaitFor(std::int64_t count, Clock::time_point now) const {
  const Clock::time_point ready =
      nextFree_ + (std::clamp<std::int64_t>(count, 1, kBurst) - 1) * byteTime_;
  if (byteTime_.count() == 0 || now >= ready) return std::chrono::nanoseconds(0);
  return std::chrono::duration_cast<std::chrono::nanoseconds>(ready - now);
}

std::chrono::nanoseconds Pacer::Wait(Clock::time_point now) const {
  return WaitFor(1, now);
}

}  // namespace zandor::sim
