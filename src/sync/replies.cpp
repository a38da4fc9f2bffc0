#include "sync/replies.h"

#include <QCoreApplication>

#include "link/field_forms.h"
#include "link/protocol.h"

namespace zandor {
namespace {

struct Text {
  Q_DECLARE_TR_FUNCTIONS(Replies)
};

const QByteArray kAck(1, protocol::Ack);

// The texts of the communications event codes above 1000 that the line knows.
QString LineErrorText(int code) {
  switch (code) {
    case 1001:
      return Text::tr("A Break signal was received");
    case 1004:
      return Text::tr("Framing Error. The hardware detected a framing error");
    case 1006:
      return Text::tr(
          "Port Overrun. A character was not read from the hardware before the next character "
          "arrived and was lost");
    case 1008:
      return Text::tr("Receive Buffer Overflow. There is no room in the receive buffer");
    case 1009:
      return Text::tr("Parity Error. The hardware detected a parity error");
    case 1010:
      return Text::tr(
          "Transmit Buffer Full. The transmit buffer was full while trying to queue a character");
    case 1011:
      return Text::tr("Unexpected error retrieving Device Control Block (DCB) for the port");
    default:
      return Text::tr("Unkown error");
  }
}

// The bytes of a reply; a break ends the wait with Abort, and with its box
// when the user asked for it (a line fault has had its own box).
QByteArray Received(SyncContext& context, Reply reply) {
  if (reply.Ended()) {
    context.link.Write(protocol::Abort);
    if (reply.end == Reply::End::Break) {
      const QString& reason = context.session.BreakReason;
      context.host.ShowMessage(reason.isEmpty() ? Text::tr("      User Break      ") : reason);
    }
    return {};
  }
  if (reply.end == Reply::End::TooMany) return {};
  return std::move(reply.bytes);
}

}  // namespace

void SessionWaits::LineFault(const LineEvent& event) {
  if (event.kind == LineEvent::Kind::DeviceLost) {
    const QString detail =
        event.detail.isEmpty() ? QString() : QStringLiteral(" (") + event.detail + QLatin1Char(')');
    //: %1 is empty or " (what the system said)"
    host_.ShowMessage(Text::tr("The Kelvo is no longer connected%1. The synchronisation was "
                               "stopped; check the cable and "
                               "try again.")
                          .arg(detail));
  } else {
    //: %1 is the error's number, %2 what it means
    host_.ShowMessage(Text::tr("Serial port error #%1\n\r%2")
                          .arg(QString::number(event.code), LineErrorText(event.code)));
  }
  session_.BreakRequested = true;
}

QByteArray AwaitReply(SyncContext& context) {
  return Received(context, context.link.ReadReply());
}

QByteArray AwaitExact(SyncContext& context, int n) {
  return Received(context, context.link.ReadExact(n));
}

QByteArray AwaitLengthField(SyncContext& context) {
  return Received(context, ReadLengthField(context.link));
}

namespace {

// What went wrong at each step that can fail, in plain words; the code stays
// first, as support and the manual know it.
QString CommErrorMeaning(int number) {
  switch (number) {
    case 1:
      return Text::tr("The Kelvo did not accept the start of a message or of a removal.");
    case 2:
      return Text::tr(
          "The Kelvo did not accept a field of a message, or the number of a message to remove.");
    case 3:
    case 4:
    case 5:
      return Text::tr("The Kelvo did not accept a field of the message being sent.");
    case 6:
      return Text::tr("The Kelvo did not confirm a message, or the end of the messages.");
    case 10:
    case 11:
      return Text::tr(
          "The Kelvo did not accept the name given to a message written on it: it keeps the "
          "message and offers it again next time.");
    case 12:
      return Text::tr("The Kelvo sent something that has no place at this step.");
    case 13:
      return Text::tr("A message written on the Kelvo did not arrive whole.");
    case 20:
    case 21:
      return Text::tr(
          "The Kelvo's list of the messages it holds did not arrive whole, so nothing is removed "
          "from the mail.");
    default:
      return Text::tr("The Kelvo answered out of step.");
  }
}

void ShowCommErrorBox(SyncContext& context, int number) {
  context.host.ShowMessage(
      Text::tr("Comm Err %1\n\r%2 Check the cable and that the Kelvo is ready to "
               "synchronise, then synchronise again: nothing already sent goes twice.")
          .arg(number)
          .arg(CommErrorMeaning(number)));
}

}  // namespace

void ShowCommError(SyncContext& context, int number) {
  // A wait a break ended has said why (the user's break, a lost line): the
  // empty answer it leaves is no fault of the Kelvo's.
  if (context.session.BreakRequested) return;
  ShowCommErrorBox(context, number);
}

AckOutcome ExpectAck(SyncContext& context, int errorNumber) {
  const QByteArray reply = AwaitReply(context);
  if (context.session.BreakRequested) return AckOutcome::Broken;
  if (reply == kAck) return AckOutcome::Acked;
  ShowCommError(context, errorNumber);
  return AckOutcome::Refused;
}

bool ExpectAckEvenAfterBreak(SyncContext& context, int errorNumber) {
  if (AwaitReply(context) == kAck) return true;
  ShowCommErrorBox(context, errorNumber);
  return false;
}

}  // namespace zandor
