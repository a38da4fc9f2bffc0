#pragma once

#include <QSerialPort>
#include <QString>
#include <optional>
#include <vector>

#include "link/serial_line.h"

namespace zandor {

// The line error counters a serial driver keeps (Linux: TIOCGICOUNT). Pseudo-
// terminals and some USB adapters keep none.
struct LineCounters {
  int brk = 0;
  int frame = 0;
  int overrun = 0;
  int bufOverrun = 0;
  int parity = 0;
};

// The line errors for the counters that grew from one reading to the next,
// one event per kind, in the order: break received (1001), framing (1004),
// overrun (1006), receive buffer overflow (1008), parity (1009).
std::vector<LineEvent> LineErrorsBetween(const LineCounters& before, const LineCounters& after);

// Why an open failed, as far as it can be told apart.
enum class OpenProblem {
  NotFound,          // no such device
  PermissionDenied,  // the user may not open it
  Busy,              // another program holds it
  Settings,          // opened, but the line settings could not be applied
  Other,
};

// The words for an open failure: the reason, and the fix where one is known.
// systemText is what the system said; it is kept for Settings and Other.
OpenFailure DescribeOpenFailure(OpenProblem problem, const QString& systemText);

// True for the slave side of a pseudo-terminal (/dev/pts/N).
bool IsPseudoTerminal(const QString& path);

// The serial line over QSerialPort: real ports and pseudo-terminals alike.
//
// Open applies 38400 N 8 1 and RTS/CTS, limits the read buffer to the input
// buffer size, opens the port for reading and writing, and leaves the
// discards to the caller. QSerialPort has no setting for its output buffer:
// Write hands the bytes to the driver at once without waiting (what the
// driver does not take yet stays queued and goes out from the event loop as
// the line drains), so nothing written is ever dropped and the output size of
// LineSettings is not enforced. A pseudo-terminal that refuses the flow
// control setting is opened without it; on a pseudo-terminal DiscardOutput
// leaves alone what the driver took, which the other side already holds.
//
// Reading happens only in QSerialPort's read notifier; ReadAll hands out what
// it has gathered and never blocks. Line errors come from the driver's
// counters, read whenever data arrives, and from QSerialPort's own errors. A
// device that vanishes (a hang-up, an unplugged adapter) is reported once as
// DeviceLost and the port is closed. Every event reaches the handler from a
// posted event of the event loop, never from inside a call of this class.
class QtSerialLine final : public SerialLine {
 public:
  QtSerialLine();
  ~QtSerialLine() override;
  QtSerialLine(const QtSerialLine&) = delete;
  QtSerialLine& operator=(const QtSerialLine&) = delete;

  std::optional<OpenFailure> Open(const QString& path, const LineSettings& settings) override;
  void Close() override;
  bool IsOpen() const override;
  void Write(const QByteArray& bytes) override;
  QByteArray ReadAll() override;
  void DiscardInput() override;
  void DiscardOutput() override;
  void DrainOutput(int maxMilliseconds) override;
  void SetEventHandler(EventHandler handler) override;

 private:
  void OnReadyRead();
  void OnError(QSerialPort::SerialPortError error);
  bool HasHungUp() const;
  void Post(const LineEvent& event);
  std::optional<LineCounters> ReadCounters() const;

  QSerialPort port_;
  EventHandler handler_;
  std::optional<LineCounters> counters_;
  bool lost_ = false;
  bool pseudoTerminal_ = false;
  // Bumped by Open and Close, so that events of an earlier opening are dropped.
  quint64 generation_ = 0;
};

}  // namespace zandor
