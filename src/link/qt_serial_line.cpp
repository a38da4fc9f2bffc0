#include "link/qt_serial_line.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <cerrno>

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(QtSerialLine)
};

// The major numbers of the pseudo-terminal slaves (/dev/pts/N).
constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kLastPtySlaveMajor = 143;

QSerialPort::Parity ParityOf(char parity) {
  switch (parity) {
    case 'E':
      return QSerialPort::EvenParity;
    case 'O':
      return QSerialPort::OddParity;
    case 'M':
      return QSerialPort::MarkParity;
    case 'S':
      return QSerialPort::SpaceParity;
    default:
      return QSerialPort::NoParity;
  }
}

QSerialPort::DataBits DataBitsOf(int bits) {
  switch (bits) {
    case 5:
      return QSerialPort::Data5;
    case 6:
      return QSerialPort::Data6;
    case 7:
      return QSerialPort::Data7;
    default:
      return QSerialPort::Data8;
  }
}

// QSerialPort reports a port held by another program (its lock file, or
// EBUSY) and a port the user may not open alike, as PermissionError; the
// file's access rights tell them apart.
OpenProblem Diagnose(QSerialPort::SerialPortError error, const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  if (::access(name.constData(), F_OK) != 0 && errno == ENOENT) return OpenProblem::NotFound;
  switch (error) {
    case QSerialPort::DeviceNotFoundError:
      return OpenProblem::NotFound;
    case QSerialPort::PermissionError:
      if (::access(name.constData(), R_OK | W_OK) == 0) return OpenProblem::Busy;
      return errno == ENOENT ? OpenProblem::NotFound : OpenProblem::PermissionDenied;
    case QSerialPort::UnsupportedOperationError:
      return OpenProblem::Settings;
    default:
      return OpenProblem::Other;
  }
}

}  // namespace

std::vector<LineEvent> LineErrorsBetween(const LineCounters& before, const LineCounters& after) {
  const struct {
    int LineCounters::*counter;
    int code;
  } kinds[] = {{&LineCounters::brk, 1001},
               {&LineCounters::frame, 1004},
               {&LineCounters::overrun, 1006},
               {&LineCounters::bufOverrun, 1008},
               {&LineCounters::parity, 1009}};
  std::vector<LineEvent> events;
  for (const auto& kind : kinds) {
    if (after.*kind.counter != before.*kind.counter) {
      events.push_back(LineEvent{LineEvent::Kind::Error, kind.code, QString()});
    }
  }
  return events;
}

OpenFailure DescribeOpenFailure(OpenProblem problem, const QString& systemText) {
  switch (problem) {
    case OpenProblem::NotFound:
      //: Why the serial port could not be opened; a hint sentence follows
      return {Text::tr("no such device"),
              Text::tr("Check that the Kelvo's cable or USB adapter is plugged in and that "
                       "the path of this port under Options is right.")};
    case OpenProblem::PermissionDenied:
      //: Why the serial port could not be opened
      return {Text::tr("permission denied"),
              Text::tr("Add your user to the dialout group (sudo adduser $USER dialout), "
                       "then log out and log in again.")};
    case OpenProblem::Busy:
      //: Why the serial port could not be opened
      return {Text::tr("the port is in use by another program"),
              Text::tr("Close the program that holds the port, then press Sync again.")};
    case OpenProblem::Settings:
      //: Why the serial port could not be opened; %1 is the system's reason
      return {Text::tr("the line settings could not be applied (%1)").arg(systemText),
              Text::tr("Check that the path of this port under Options is a serial port.")};
    case OpenProblem::Other:
      break;
  }
  return {systemText, QString()};
}

bool IsPseudoTerminal(const QString& path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) return false;
  if (!S_ISCHR(info.st_mode)) return false;
  const unsigned major = ::major(info.st_rdev);
  return major >= kFirstPtySlaveMajor && major <= kLastPtySlaveMajor;
}

QtSerialLine::QtSerialLine() {
  QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] { OnReadyRead(); });
  QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                   [this](QSerialPort::SerialPortError error) { OnError(error); });
}

QtSerialLine::~QtSerialLine() {
  Close();
}

std::optional<OpenFailure> QtSerialLine::Open(const QString& path, const LineSettings& settings) {
  Close();
  if (path.trimmed().isEmpty()) return DescribeOpenFailure(OpenProblem::NotFound, QString());

  // The order the Kelvo's link needs: speed and framing, flow control, buffer.
  port_.setPortName(path);
  port_.setBaudRate(settings.baudRate);
  port_.setParity(ParityOf(settings.parity));
  port_.setDataBits(DataBitsOf(settings.dataBits));
  port_.setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
  port_.setFlowControl(settings.rtsCtsFlowControl ? QSerialPort::HardwareControl
                                                  : QSerialPort::NoFlowControl);
  // A full read buffer stops reading, so that RTS holds the Kelvo back.
  port_.setReadBufferSize(settings.inputBufferSize);

  bool opened = port_.open(QIODevice::ReadWrite);
  if (!opened && port_.error() == QSerialPort::UnsupportedOperationError &&
      settings.rtsCtsFlowControl && IsPseudoTerminal(path)) {
    // A pseudo-terminal has no RTS and CTS wires; some refuse the setting.
    port_.setFlowControl(QSerialPort::NoFlowControl);
    opened = port_.open(QIODevice::ReadWrite);
  }
  if (!opened) {
    const OpenFailure failure =
        DescribeOpenFailure(Diagnose(port_.error(), path), port_.errorString());
    port_.clearError();
    return failure;
  }
  port_.clearError();
  pseudoTerminal_ = IsPseudoTerminal(path);
  counters_ = ReadCounters();
  return std::nullopt;
}

void QtSerialLine::Close() {
  ++generation_;
  if (port_.isOpen()) port_.close();
  port_.clearError();
  counters_.reset();
  lost_ = false;
  pseudoTerminal_ = false;
}

bool QtSerialLine::IsOpen() const {
  return port_.isOpen() && !lost_;
}

void QtSerialLine::Write(const QByteArray& bytes) {
  if (!IsOpen() || bytes.isEmpty()) return;
  port_.write(bytes);
  // Hands the bytes to the driver now, as much as it takes without blocking;
  // the rest goes out from the event loop. A byte written just before the
  // line is torn down thus leaves at once instead of waiting for a yield.
  port_.flush();
}

QByteArray QtSerialLine::ReadAll() {
  if (!port_.isOpen()) return {};
  return port_.readAll();
}

void QtSerialLine::DiscardInput() {
  if (IsOpen()) port_.clear(QSerialPort::Input);
}

void QtSerialLine::DiscardOutput() {
  // On a pseudo-terminal, a byte the driver took is already in the other
  // side's input, and discarding the output would take it from there: the
  // closing bytes written just before the tear-down would never arrive.
  // Nothing is in flight on a pseudo-terminal, so there is nothing to discard
  // (what QSerialPort still queues goes with Close).
  if (IsOpen() && !pseudoTerminal_) port_.clear(QSerialPort::Output);
}

void QtSerialLine::DrainOutput(int maxMilliseconds) {
  const QDeadlineTimer deadline(maxMilliseconds);
  // First what QSerialPort still queues, then what the driver holds.
  while (IsOpen() && port_.bytesToWrite() > 0 && !deadline.hasExpired()) {
    port_.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
  }
  int queued = 0;
  while (IsOpen() && ::ioctl(port_.handle(), TIOCOUTQ, &queued) == 0 && queued > 0 &&
         !deadline.hasExpired()) {
    ::usleep(1000);
  }
}

void QtSerialLine::SetEventHandler(EventHandler handler) {
  handler_ = std::move(handler);
}

std::optional<LineCounters> QtSerialLine::ReadCounters() const {
  const int fd = port_.handle();
  if (fd < 0) return std::nullopt;
  serial_icounter_struct raw{};
  if (::ioctl(fd, TIOCGICOUNT, &raw) != 0) return std::nullopt;
  return LineCounters{raw.brk, raw.frame, raw.overrun, raw.buf_overrun, raw.parity};
}

void QtSerialLine::OnReadyRead() {
  if (!counters_ || lost_) return;
  const std::optional<LineCounters> now = ReadCounters();
  if (!now) return;
  for (const LineEvent& event : LineErrorsBetween(*counters_, *now)) Post(event);
  counters_ = now;
}

bool QtSerialLine::HasHungUp() const {
  pollfd probe{port_.handle(), POLLIN | POLLOUT, 0};
  if (probe.fd < 0) return true;
  if (::poll(&probe, 1, 0) < 0) return errno != EINTR;
  return (probe.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void QtSerialLine::OnError(QSerialPort::SerialPortError error) {
  // Errors of a failed open are reported by Open itself; clearError() reports
  // NoError, which must not come back here.
  if (error == QSerialPort::NoError || !port_.isOpen() || lost_) return;
  switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::UnknownError: {
      // A read of nothing or an EAGAIN is harmless; a line that hung up
      // (pseudo-terminal closed, adapter unplugged) is gone for good.
      if (!HasHungUp()) break;
      lost_ = true;
      //: Shown in brackets when the line to the Kelvo was lost: the serial device went away
      Post(LineEvent{LineEvent::Kind::DeviceLost, 0, Text::tr("the line was hung up")});
      // Closing here would delete QSerialPort's notifier from inside its own
      // event, so the port is closed from the next pass of the event loop.
      const quint64 generation = generation_;
      QMetaObject::invokeMethod(
          &port_,
          [this, generation] {
            if (generation == generation_ && port_.isOpen()) port_.close();
          },
          Qt::QueuedConnection);
      break;
    }
    case QSerialPort::UnsupportedOperationError:
      // The driver refused a setting or a control operation of an open port.
      Post(LineEvent{LineEvent::Kind::Error, 1011, port_.errorString()});
      break;
    default:
      break;
  }
  port_.clearError();
}

void QtSerialLine::Post(const LineEvent& event) {
  const quint64 generation = generation_;
  QMetaObject::invokeMethod(
      &port_,
      [this, generation, event] {
        if (generation != generation_ || !handler_) return;
        const EventHandler handler = handler_;  // the handler may replace itself
        handler(event);
      },
      Qt::QueuedConnection);
}

}  // namespace zandor
