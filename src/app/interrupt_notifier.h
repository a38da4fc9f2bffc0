#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace zandor {

// Turns Ctrl-C (SIGINT) into a call on the event loop's thread: the signal
// handler only writes one byte to a pipe (all it may safely do), and the
// pipe's notifier calls onInterrupt inside the next pass of the event loop.
// The handler is installed for one Ctrl-C: a second one ends the program as
// usual. The destructor puts the earlier handler back. Only one may exist at
// a time.
class InterruptNotifier {
 public:
  explicit InterruptNotifier(std::function<void()> onInterrupt);
  ~InterruptNotifier();
  InterruptNotifier(const InterruptNotifier&) = delete;
  InterruptNotifier& operator=(const InterruptNotifier&) = delete;

  bool Installed() const { return installed_; }

 private:
  int readFd_ = -1;
  int writeFd_ = -1;
  bool installed_ = false;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::function<void()> onInterrupt_;
};

}  // namespace zandor
