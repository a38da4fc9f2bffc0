#include "front/interrupt_notifier.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace zandor {
namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

// The pipe's writing end, for the signal handler: a signal handler can reach
// nothing but static data.
volatile sig_atomic_t wakeFd = -1;
std::array<struct sigaction, 3> previousActions{};

extern "C" void OnStopSignal(int signal) {
  const int savedErrno = errno;
  const int fd = wakeFd;
  if (fd >= 0) {
    const auto byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
  }
  errno = savedErrno;
}

}  // namespace

const char* Interrupt::Name() const {
  switch (signal) {
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "Ctrl-C";
  }
}

InterruptNotifier::InterruptNotifier(int handledCtrlC,
                                     std::function<void(const Interrupt&)> onInterrupt)
    : handled_(handledCtrlC), onInterrupt_(std::move(onInterrupt)) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  readFd_ = fds[0];
  writeFd_ = fds[1];
  notifier_ = std::make_unique<QSocketNotifier>(readFd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
    char buffer[16];
    ssize_t got = 0;
    while ((got = ::read(readFd_, buffer, sizeof buffer)) > 0) {
      for (ssize_t i = 0; i < got; ++i) Take(buffer[i]);
    }
  });

  wakeFd = writeFd_;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    if (kSignals[i] == SIGINT && handled_ <= 0) continue;
    installed_[i] = ::sigaction(kSignals[i], &action, &previousActions[i]) == 0;
  }
}

void InterruptNotifier::Take(int signal) {
  if (signal != SIGINT) {
    if (onInterrupt_) onInterrupt_(Interrupt{signal, 1});
    return;
  }
  if (count_ >= handled_) return;
  // The last one handled gives the next Ctrl-C back to the system.
  if (++count_ == handled_ && installed_[0]) {
    ::sigaction(SIGINT, &previousActions[0], nullptr);
    installed_[0] = false;
  }
  if (onInterrupt_) onInterrupt_(Interrupt{SIGINT, count_});
}

InterruptNotifier::~InterruptNotifier() {
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    if (installed_[i]) ::sigaction(kSignals[i], &previousActions[i], nullptr);
  }
  wakeFd = -1;
  notifier_.reset();
  if (readFd_ >= 0) ::close(readFd_);
  if (writeFd_ >= 0) ::close(writeFd_);
}

}  // namespace zandor
