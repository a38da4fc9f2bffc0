#include "pty_pair.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <cerrno>

namespace zandor::testing {

PtyPair::PtyPair() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0) return;
  if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    Close();
    return;
  }
  termios raw{};
  if (::tcgetattr(master_, &raw) == 0) {
    ::cfmakeraw(&raw);
    ::tcsetattr(master_, TCSANOW, &raw);
  }
  slavePath_ = QString::fromLocal8Bit(::ptsname(master_));
}

PtyPair::~PtyPair() {
  Close();
}

void PtyPair::Write(const QByteArray& bytes) {
  qsizetype done = 0;
  QDeadlineTimer deadline(10000);
  while (done < bytes.size() && master_ >= 0 && !deadline.hasExpired()) {
    const ssize_t n =
        ::write(master_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (n > 0) {
      done += n;
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      return;
    } else {
      // The slave's buffer is full: let the line under test read.
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
  }
}

qsizetype PtyPair::WriteSome(const QByteArray& bytes) {
  if (master_ < 0 || bytes.isEmpty()) return 0;
  const ssize_t n = ::write(master_, bytes.constData(), static_cast<size_t>(bytes.size()));
  return n > 0 ? n : 0;
}

QByteArray PtyPair::ReadAtLeast(int count, int waitMs) {
  QByteArray got;
  PumpUntil(
      [&] {
        char buffer[4096];
        for (;;) {
          const ssize_t n = ::read(master_, buffer, sizeof buffer);
          if (n <= 0) break;
          got.append(buffer, n);
        }
        return got.size() >= count;
      },
      waitMs);
  return got;
}

void PtyPair::Close() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

bool PumpUntil(const std::function<bool()>& done, int waitMs) {
  QDeadlineTimer deadline(waitMs);
  while (!done()) {
    if (deadline.hasExpired()) return done();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ::poll(nullptr, 0, 1);
  }
  return true;
}

}  // namespace zandor::testing
