#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace zandor::mime {

// A message written on the Kelvo, as it is filed in the store.
struct OutgoingMessage {
  QString subject;
  QString body;
  QStringList recipients;  // as the user typed them: addresses or display texts
  QDateTime date;          // local time, for the Date header
  QString messageIdLocalPart;
};

// The message as a file: a text/plain; charset=utf-8 MIME message with Date,
// From "Kelvo <kelvo@localhost>", To, Subject (encoded words where needed),
// Message-ID and MIME-Version, the body with LF line ends in the transfer
// encoding that suits it (7bit, quoted-printable or base64).
QByteArray ComposeMessage(const OutgoingMessage& message);

// The Date header form of a local time: "Tue, 03 Mar 2026 10:00:00 +0100".
QByteArray MailDateText(const QDateTime& time);

}  // namespace zandor::mime
