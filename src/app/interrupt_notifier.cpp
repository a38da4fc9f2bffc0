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

InterruptNotifier::InterruptNotifier(std::function<void()> onInterrupt)
    : onInterrupt_(std::move(onInterrupt)) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  readFd_ = fds[0];
  writeFd_ = fds[1];
  notifier_ = std::make_unique<QSocketNotifier>(readFd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
    char buffer[16];
    while (::read(readFd_, buffer, sizeof buffer) > 0) {
    }
    if (onInterrupt_) onInterrupt_();
  });

  wakeFd = writeFd_;
  struct sigaction action {};
  action.sa_handler = OnSigint;
  sigemptyset(&action.sa_mask);
  // One Ctrl-C breaks; the next one ends the program the usual way.
  action.sa_flags = static_cast<int>(SA_RESTART | SA_RESETHAND);
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
