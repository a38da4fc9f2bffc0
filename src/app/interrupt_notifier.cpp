#include "app/interrupt_notifier.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace zandor {
namespace {

// The pipe's writing end, for the signal handler: a signal handler can reach
// nothing but static data.
volatile sig_atomic_t wakeFd = -1;
struct sigaction previousAction {};

extern "C" void OnSigint(int) {
  const int savedErrno = errno;
  const int fd = wakeFd;
  if (fd >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
  }
  errno = savedErrno;
}

}  // namespace

InterruptNotifier::InterruptNotifier(int handled, std::function<void(int count)> onInterrupt)
    : handled_(handled), onInterrupt_(std::move(onInterrupt)) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  readFd_ = fds[0];
  writeFd_ = fds[1];
  notifier_ = std::make_unique<QSocketNotifier>(readFd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
    char buffer[16];
    ssize_t got = 0;
    while ((got = ::read(readFd_, buffer, sizeof buffer)) > 0) {
      for (ssize_t i = 0; i < got && count_ < handled_; ++i) {
        // The last one handled gives the next Ctrl-C back to the system.
        if (++count_ == handled_ && installed_) {
          ::sigaction(SIGINT, &previousAction, nullptr);
          installed_ = false;
        }
        if (onInterrupt_) onInterrupt_(count_);
      }
    }
  });

  wakeFd = writeFd_;
  struct sigaction action {};
  action.sa_handler = OnSigint;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  installed_ = ::sigaction(SIGINT, &action, &previousAction) == 0;
}

InterruptNotifier::~InterruptNotifier() {
  if (installed_) ::sigaction(SIGINT, &previousAction, nullptr);
  wakeFd = -1;
  notifier_.reset();
  if (readFd_ >= 0) ::close(readFd_);
  if (writeFd_ >= 0) ::close(writeFd_);
}

}  // namespace zandor
