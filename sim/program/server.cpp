#include "server.h"

#include <poll.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QFileInfo>
#include <cerrno>
#include <chrono>
#include <thread>

namespace zandor::sim {
namespace {

// How often a line that no PC holds is looked at again when the opening is
// not announced (no inotify, or the PC opened it before the watch was set).
constexpr std::chrono::milliseconds kClosedProbe{100};
constexpr std::int64_t kReadChunk = 4096;

// A watch for the PC's opening of the slave: without it the Kelvo would see
// the PC's first bytes only at the next probe, up to a tenth of a second late.
UniqueFd WatchOpening(const QString& path) {
  UniqueFd watch(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
  if (watch.Valid() &&
      ::inotify_add_watch(watch.Get(), path.toLocal8Bit().constData(), IN_OPEN) < 0)
    watch.Reset();
  return watch;
}

void DrainWatch(const UniqueFd& watch) {
  alignas(inotify_event) char events[4096];
  while (watch.Valid() && ::read(watch.Get(), events, sizeof events) > 0) {
  }
}

// poll() with a wait exact to the nanosecond; no wait at all blocks.
int PollFor(pollfd* fds, nfds_t count, std::optional<std::chrono::nanoseconds> wait) {
  if (!wait) return ::ppoll(fds, count, nullptr, nullptr);
  const timespec until{static_cast<time_t>(wait->count() / 1'000'000'000),
                       static_cast<long>(wait->count() % 1'000'000'000)};
  return ::ppoll(fds, count, &until, nullptr);
}

}  // namespace

Server::Server(const SimOptions& options, KelvoDevice& device, SimTrace& trace, Log log,
               Announce announce)
    : options_(options),
      device_(device),
      trace_(trace),
      log_(std::move(log)),
      announce_(std::move(announce)),
      inputPace_(options.pace),
      outputPace_(options.pace) {
  completed_ = device_.CompletedSynchronisations();
  saved_ = device_.ToJson();
}

bool Server::Start() {
  QString error;
  std::optional<DeviceEnd> end = options_.mode == SimOptions::Mode::Port
                                     ? OpenSerialPort(options_.portPath, error)
                                     : OpenPseudoTerminal(error);
  if (!end) {
    log_(error);
    return false;
  }
  end_ = std::move(*end);
  if (options_.mode == SimOptions::Mode::Pty) {
    opening_ = WatchOpening(end_.path);  // before anyone learns the path
    announce_(end_.path);
    waitingForPc_ = true;  // until the PC opens the slave
  } else {
    LineOpened();
  }
  return true;
}

bool Server::Save() {
  if (options_.dataPath.isEmpty()) return true;
  const QJsonObject now = device_.ToJson();
  if (now == saved_ && QFileInfo::exists(options_.dataPath)) return true;
  if (const std::optional<QString> error = device_.SaveFile(options_.dataPath)) {
    log_(QStringLiteral("cannot save %1: %2").arg(options_.dataPath, *error));
    return false;
  }
  saved_ = now;
  return true;
}

void Server::LineOpened() {
  waitingForPc_ = false;
  midPiece_ = false;
  batchDue_.reset();
  device_.LineOpened();
  pending_.clear();
  trace_.Note(QStringLiteral("line opened"));
  log_(QStringLiteral("the PC opened the line"));
}

void Server::LineClosed(const QString& why) {
  device_.LineClosed();
  pending_.clear();
  trace_.Note(QStringLiteral("line closed: ") + why);
  log_(QStringLiteral("the line was closed (%1)").arg(why));
  Save();
}

void Server::Feed(const QByteArray& bytes) {
  trace_.FromPc(bytes);
  device_.Receive(bytes);
  AfterDevice();
}

void Server::AfterDevice() {
  const QByteArray reply = device_.TakeOutput();
  if (!reply.isEmpty()) {
    midPiece_ = false;
    trace_.FromKelvo(reply);
    pending_ += reply;
  }
  const QStringList& violations = device_.Violations();
  for (; violationsSeen_ < violations.size(); ++violationsSeen_) {
    trace_.Note(QStringLiteral("violation: ") + violations[violationsSeen_]);
    log_(QStringLiteral("the PC broke the dialogue: ") + violations[violationsSeen_]);
  }
  if (device_.CompletedSynchronisations() != completed_) {
    completed_ = device_.CompletedSynchronisations();
    trace_.Note(QStringLiteral("synchronisation %1 complete").arg(completed_));
    log_(QStringLiteral("synchronisation %1 complete; the Kelvo holds %2 messages")
             .arg(completed_)
             .arg(device_.Held().size()));
    Save();
  }
}

bool Server::ProbeClosed() const {
  pollfd probe{end_.fd.Get(), POLLIN, 0};
  if (::poll(&probe, 1, 0) < 0) return false;
  return (probe.revents & POLLHUP) != 0 && (probe.revents & POLLIN) == 0;
}

bool Server::ReadLine(Pacer::Clock::time_point now) {
  const std::int64_t allowed = std::min(kReadChunk, inputPace_.Allowance(now));
  if (allowed <= 0) return true;
  if (midPiece_) {
    // The rest of a piece is handed on half a burst at a time, as a UART's
    // FIFO does: one wake a burst, not one a byte, and a late wake still reads
    // at the line's rate. Its first byte went at once, so that the transcript
    // stamps the piece when it began.
    int queued = 0;
    if (::ioctl(end_.fd.Get(), FIONREAD, &queued) == 0 && queued > allowed) {
      const std::chrono::nanoseconds wait =
          inputPace_.WaitFor(std::min<std::int64_t>(queued, Pacer::kBurst / 2), now);
      if (wait.count() > 0) {
        batchDue_ = now + wait;
        return true;
      }
    }
  }
  char buffer[kReadChunk];
  const ssize_t n = ::read(end_.fd.Get(), buffer, static_cast<std::size_t>(allowed));
  if (n > 0) {
    midPiece_ = true;
    inputPace_.Spend(n, now);
    Feed(QByteArray(buffer, static_cast<qsizetype>(n)));
    return true;
  }
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
  return false;  // EOF or EIO: the other side is gone
}

void Server::Drain() {
  char buffer[kReadChunk];
  for (;;) {
    const ssize_t n = ::read(end_.fd.Get(), buffer, sizeof buffer);
    if (n <= 0) return;
    Feed(QByteArray(buffer, static_cast<qsizetype>(n)));
  }
}

void Server::WriteLine(Pacer::Clock::time_point now) {
  if (pending_.isEmpty()) return;
  const std::int64_t allowed = std::min<std::int64_t>(pending_.size(), outputPace_.Allowance(now));
  if (allowed <= 0) return;
  const ssize_t n = ::write(end_.fd.Get(), pending_.constData(), static_cast<std::size_t>(allowed));
  if (n > 0) {
    outputPace_.Spend(n, now);
    pending_.remove(0, n);
  }
}

bool Server::ReopenAfterHangUp() {
  trace_.Note(QStringLiteral("the Kelvo hung up"));
  log_(QStringLiteral("the Kelvo hung up"));
  Save();
  pending_.clear();
  end_.fd.Reset();  // the PC's end reads as hung up from now on
  if (options_.mode == SimOptions::Mode::Port) {
    // A real line has no hang-up of its own: the port goes away for a moment.
    std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  if (!Start()) return false;
  if (options_.mode == SimOptions::Mode::Pty) device_.LineOpened();
  return true;
}

int Server::Run(int stopFd) {
  using std::chrono::nanoseconds;
  for (;;) {
    const Pacer::Clock::time_point now = Pacer::Clock::now();
    pollfd fds[2] = {{stopFd, POLLIN, 0}, {end_.fd.Get(), 0, 0}};
    std::optional<nanoseconds> wait;
    nfds_t count = 2;
    if (waitingForPc_) {
      // A line nobody holds reads as hung up at once: wait for its opening.
      fds[1] = {opening_.Get(), POLLIN, 0};
      count = opening_.Valid() ? 2 : 1;
      wait = kClosedProbe;
    } else {
      if (batchDue_ && now >= *batchDue_) batchDue_.reset();
      const nanoseconds inputWait =
          batchDue_ ? nanoseconds(*batchDue_ - now) : inputPace_.Wait(now);
      if (inputWait.count() == 0) {
        fds[1].events |= POLLIN;
      } else {
        wait = inputWait;
      }
      if (!pending_.isEmpty()) {
        const nanoseconds outputWait = outputPace_.Wait(now);
        if (outputWait.count() == 0) {
          fds[1].events |= POLLOUT;
        } else if (!wait || outputWait < *wait) {
          wait = outputWait;
        }
      }
    }
    if (PollFor(fds, count, wait) < 0 && errno != EINTR) {
      log_(QStringLiteral("poll failed"));
      return 1;
    }
    if (fds[0].revents != 0) return Save() ? 0 : 1;

    if (waitingForPc_) {
      DrainWatch(opening_);
      if (!ProbeClosed()) LineOpened();
      continue;
    }

    const short revents = fds[1].revents;
    const Pacer::Clock::time_point after = Pacer::Clock::now();
    bool gone = false;
    if (revents & POLLIN) {
      gone = !ReadLine(after);
    } else if (revents & (POLLHUP | POLLERR | POLLNVAL)) {
      // What the PC wrote before it closed the line (the closing bytes) is
      // still there even when pacing held the reading back: take it first.
      Drain();
      gone = true;
    }
    if (device_.HungUp()) {
      if (!ReopenAfterHangUp()) return 1;
      continue;
    }
    WriteLine(Pacer::Clock::now());
    if (gone) {
      if (options_.mode == SimOptions::Mode::Port) {
        log_(QStringLiteral("the port %1 went away").arg(end_.path));
        Save();
        return 1;
      }
      LineClosed(QStringLiteral("the PC closed it"));
      waitingForPc_ = true;
    }
  }
}

}  // namespace zandor::sim
