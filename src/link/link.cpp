#include "link/link.h"

#include "link/protocol.h"

namespace zandor {

namespace {

const QString& UserBreakText() {
  static const QString text = QStringLiteral("      User Break      ");
  return text;
}

// The texts of the communications event codes above 1000 that the line knows.
QString LineErrorText(int code) {
  switch (code) {
    case 1001:
      return QStringLiteral("A Break signal was received");
    case 1004:
      return QStringLiteral("Framing Error. The hardware detected a framing error");
    case 1006:
      return QStringLiteral(
          "Port Overrun. A character was not read from the hardware before the next character "
          "arrived and was lost");
    case 1008:
      return QStringLiteral("Receive Buffer Overflow. There is no room in the receive buffer");
    case 1009:
      return QStringLiteral("Parity Error. The hardware detected a parity error");
    case 1010:
      return QStringLiteral(
          "Transmit Buffer Full. The transmit buffer was full while trying to queue a character");
    case 1011:
      return QStringLiteral("Unexpected error retrieving Device Control Block (DCB) for the port");
    default:
      return QStringLiteral("Unkown error");
  }
}

}  // namespace

Link::Link(SyncSession& session, SerialLine& line, Host& host)
    : session_(session), line_(line), host_(host) {
  line_.SetEventHandler([this](const LineEvent& event) { HandleLineEvent(event); });
}

Link::~Link() {
  line_.SetEventHandler({});
}

void Link::Write(const QByteArray& bytes) {
  line_.Write(bytes);
}

QByteArray Link::ReadReply() {
  while (!session_.BreakRequested) {
    QByteArray result = line_.ReadAll();
    // After a read that brought something the Kelvo sends nothing more until we
    // answer, so the yield must not wait for another event.
    host_.Yield(result.isEmpty() ? Host::YieldMode::WaitForEvents : Host::YieldMode::Poll);
    if (!result.isEmpty()) return result;
  }
  Break();
  return {};
}

QByteArray Link::ReadExact(int n) {
  QByteArray buffer;
  while (!session_.BreakRequested) {
    const QByteArray piece = line_.ReadAll();
    buffer += piece;
    if (buffer.size() > n) return {};  // too many: the caller reports its own error
    // Waiting for the next event is right only while bytes are still missing;
    // a count already reached (n == 0) must not block on a silent line.
    const bool stillMissing = buffer.size() < n;
    host_.Yield(piece.isEmpty() && stillMissing ? Host::YieldMode::WaitForEvents
                                                : Host::YieldMode::Poll);
    if (buffer.size() == n) return buffer;
  }
  Break();
  return {};
}

void Link::HandleLineEvent(const LineEvent& event) {
  switch (event.kind) {
    case LineEvent::Kind::Notice:
      return;
    case LineEvent::Kind::Error:
      if (event.code <= 1000) return;  // the line's notices are not errors
      host_.ShowMessage(QStringLiteral("Serial port error #") + QString::number(event.code) +
                        QStringLiteral("\n\r") + LineErrorText(event.code));
      session_.BreakRequested = true;
      return;
    case LineEvent::Kind::DeviceLost: {
      const QString detail = event.detail.isEmpty()
                                 ? QString()
                                 : QStringLiteral(" (") + event.detail + QLatin1Char(')');
      host_.ShowMessage(QStringLiteral("The Kelvo is no longer connected") + detail +
                        QStringLiteral(". The synchronisation was stopped; check the cable and "
                                       "try again."));
      session_.BreakRequested = true;
      return;
    }
  }
}

void Link::Break() {
  Write(protocol::Abort);
  host_.ShowMessage(UserBreakText());
}

}  // namespace zandor
