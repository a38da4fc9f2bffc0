#pragma once

#include <QSocketNotifier>
#include <array>
#include <functional>
#include <memory>

namespace zandor {

// A signal that asks the program to stop: Ctrl-C (SIGINT, counted), or an
// ending asked by the system (SIGTERM from kill, systemctl stop or a logout;
// SIGHUP when the terminal or the session goes), which is always taken as
// the first Ctrl-C: the part in flight is completed and its mark kept.
struct Interrupt {
  int signal = 0;  // SIGINT, SIGTERM or SIGHUP
  int count = 1;   // the Ctrl-C so far; 1 for the others
  const char* Name() const;
};

// Turns those signals into a call on the event loop's thread: the signal
// handler only writes the signal's number to a pipe (all it may safely do),
// and the pipe's notifier calls onInterrupt inside the next pass of the event
// loop. Ctrl-C is taken for the first `handledCtrlC` of them (0: never); the
// next one ends the program as usual. SIGTERM and SIGHUP are taken as long
// as the notifier lives. The destructor puts the earlier handlers back. Only
// one may exist at a time.
class InterruptNotifier {
 public:
  InterruptNotifier(int handledCtrlC, std::function<void(const Interrupt&)> onInterrupt);
  ~InterruptNotifier();
  InterruptNotifier(const InterruptNotifier&) = delete;
  InterruptNotifier& operator=(const InterruptNotifier&) = delete;

  bool Installed() const { return installed_[0] || installed_[1] || installed_[2]; }

 private:
  void Take(int signal);

  int readFd_ = -1;
  int writeFd_ = -1;
  std::array<bool, 3> installed_{};  // SIGINT, SIGTERM, SIGHUP
  std::unique_ptr<QSocketNotifier> notifier_;
  int handled_;
  int count_ = 0;
  std::function<void(const Interrupt&)> onInterrupt_;
};

}  // namespace zandor
