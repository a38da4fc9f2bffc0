#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace zandor {

// How the port is set up before it is opened. The Kelvo always talks at
// 38400 baud, no parity, 8 data bits, 1 stop bit, with RTS/CTS flow control.
struct LineSettings {
  qint32 baudRate = 38400;
  char parity = 'N';
  int dataBits = 8;
  int stopBits = 1;
  bool rtsCtsFlowControl = true;
  qint64 inputBufferSize = 4096;
  qint64 outputBufferSize = 4096;
};

// Why a port could not be opened, in words a user can act on.
struct OpenFailure {
  QString reason;  // the system's reason, e.g. "Permission denied"
  QString fix;     // what to do about it, empty when nothing is known
};

// What the line reports on its own, outside any read or write.
struct LineEvent {
  enum class Kind {
    Error,       // a line error; code is its communications event code (above 1000)
    Notice,      // a notice that is not an error; code is 1000 or less
    DeviceLost,  // the device vanished (cable pulled, adapter unplugged)
  };
  Kind kind = Kind::Error;
  int code = 0;
  QString detail;  // for DeviceLost: what the system said
};

// One serial line to the Kelvo. Bytes travel unchanged in both directions,
// 0x00 included. Every call returns at once: nothing here blocks or sleeps.
// All calls come from the one thread that owns the line.
class SerialLine {
 public:
  using EventHandler = std::function<void(const LineEvent&)>;

  virtual ~SerialLine() = default;

  // Applies the settings in the order the Kelvo's link needs (speed and
  // framing, flow control, buffer sizes), then opens the device at path.
  // Returns an empty optional on success. On failure the line stays closed.
  virtual std::optional<OpenFailure> Open(const QString& path, const LineSettings& settings) = 0;
  // Closes the line; harmless when it is closed already.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  // Queues bytes for the line in one piece. Reports nothing; a failure shows up
  // as a LineEvent.
  virtual void Write(const QByteArray& bytes) = 0;
  // Everything received and not yet read; empty when nothing waits.
  virtual QByteArray ReadAll() = 0;
  // Drop whatever waits in the input or output buffer.
  virtual void DiscardInput() = 0;
  virtual void DiscardOutput() = 0;
  // Waits until the bytes written have left the port (a USB adapter's queue,
  // a line held by flow control), but no longer than the bound: the one call
  // that may block. A discard after it drops only what could not leave.
  virtual void DrainOutput(int maxMilliseconds) { static_cast<void>(maxMilliseconds); }

  // The handler is called from inside Host::Yield() (an event-loop pass) when
  // the line reports an event; never from inside Write or ReadAll. Replaces any
  // earlier handler; an empty function removes it.
  virtual void SetEventHandler(EventHandler handler) = 0;
};

}  // namespace zandor
