#pragma once

#include <QString>
#include <optional>

namespace zandor::sim {

// A file descriptor that closes itself.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = other.Release();
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void Reset();

 private:
  int fd_ = -1;
};

// The Kelvo's end of a line: the descriptor it reads and writes (raw,
// non-blocking) and the path the PC opens.
struct DeviceEnd {
  UniqueFd fd;
  QString path;
};

// A new pseudo-terminal: the master side is the Kelvo's end, the slave's path
// is what the PC opens. Nobody holds the slave open, so the master sees the
// PC open and close it (a hang-up reads as closed).
std::optional<DeviceEnd> OpenPseudoTerminal(QString& error);

// A real serial port at 38400 baud, 8 data bits, no parity, 1 stop bit,
// RTS/CTS flow control, raw.
std::optional<DeviceEnd> OpenSerialPort(const QString& path, QString& error);

}  // namespace zandor::sim
