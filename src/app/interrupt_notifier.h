#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace zandor {

// Turns Ctrl-C (SIGINT) into a call on the event loop's thread: the signal
// handler only writes one byte to a pipe (all it may safely do), and the
// pipe's notifier calls onInterrupt inside the next pass of the event loop.
// onInterrupt receives the number of Ctrl-C so far. The handler stays for
// the first `handled` of them; the next one ends the program as usual. The
// destructor puts the earlier handler back. Only one may exist at a time.
class InterruptNotifier {
 public:
  InterruptNotifier(int handled, std::function<void(int count)> onInterrupt);
  ~InterruptNotifier();
  InterruptNotifier(const InterruptNotifier&) = delete;
  InterruptNotifier& operator=(const InterruptNotifier&) = delete;

  bool Installed() const { return installed_; }

 private:
  int readFd_ = -1;
  int writeFd_ = -1;
  bool installed_ = false;
  std::unique_ptr<QSocketNotifier> notifier_;
  int handled_;
  int count_ = 0;
  std::function<void(int count)> onInterrupt_;
};

}  // namespace zandor
