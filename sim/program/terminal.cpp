#include "terminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

namespace zandor::sim {
namespace {

QString SystemError() {
  return QString::fromLocal8Bit(::strerror(errno));
}

}  // namespace

void UniqueFd::Reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::optional<DeviceEnd> OpenPseudoTerminal(QString& error) {
  UniqueFd master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!master.Valid() || ::grantpt(master.Get()) != 0 || ::unlockpt(master.Get()) != 0) {
    error = QStringLiteral("cannot open a pseudo-terminal: ") + SystemError();
    return std::nullopt;
  }
  char name[128];
  if (::ptsname_r(master.Get(), name, sizeof name) != 0) {
    error = QStringLiteral("cannot name the pseudo-terminal: ") + SystemError();
    return std::nullopt;
  }
  // Both sides raw: the slave until the PC sets it up, the master always, so
  // that every byte value passes both ways unchanged.
  termios raw{};
  if (::tcgetattr(master.Get(), &raw) == 0) {
    ::cfmakeraw(&raw);
    ::tcsetattr(master.Get(), TCSANOW, &raw);
  }
  {
    UniqueFd slave(::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (slave.Valid() && ::tcgetattr(slave.Get(), &raw) == 0) {
      ::cfmakeraw(&raw);
      ::cfsetspeed(&raw, B38400);
      ::tcsetattr(slave.Get(), TCSANOW, &raw);
    }
  }
  // Closing the slave again leaves the master in the state it is in whenever
  // no PC holds the line: it reads as hung up until the PC opens the slave.
  return DeviceEnd{std::move(master), QString::fromLocal8Bit(name)};
}

std::optional<DeviceEnd> OpenSerialPort(const QString& path, QString& error) {
  UniqueFd fd(
      ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.Valid()) {
    error = QStringLiteral("cannot open %1: %2").arg(path, SystemError());
    return std::nullopt;
  }
  termios tio{};
  if (::tcgetattr(fd.Get(), &tio) != 0) {
    error = QStringLiteral("%1 is not a serial port: %2").arg(path, SystemError());
    return std::nullopt;
  }
  ::cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
  tio.c_cflag |= CS8 | CREAD | CLOCAL | CRTSCTS;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  ::cfsetspeed(&tio, B38400);
  if (::tcsetattr(fd.Get(), TCSANOW, &tio) != 0) {
    error = QStringLiteral("cannot set %1 to 38400 8N1 with RTS/CTS: %2").arg(path, SystemError());
    return std::nullopt;
  }
  ::tcflush(fd.Get(), TCIOFLUSH);
  return DeviceEnd{std::move(fd), path};
}

}  // namespace zandor::sim
