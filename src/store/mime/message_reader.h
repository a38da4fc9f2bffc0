#pragma once

// Reading messages with GMime: the decoded header texts, the body text and
// the dates. Every result is Unicode; nothing here crashes on a broken
// message, it reads as failed instead.

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <optional>

#include "store/mime/gmime_ptr.h"
#include "store/store_result.h"

namespace zandor::mime {

// Lenient reading as mail clients do it: encoded words inside words, loose
// addresses; undeclared 8-bit text tried as UTF-8, then as the legacy code
// page of the locale's language.
ParserOptionsPtr MakeParserOptions(const QLocale& locale);

// A date as mail headers write it ("Tue, 3 Mar 2026 10:00:00 +0100"), in
// milliseconds since the epoch; nullopt when it cannot be read.
std::optional<qint64> ParseMailDate(const QByteArray& text);

// The decoded header texts a message shows.
struct HeaderTexts {
  QString subject;
  QString senderName;  // display name of From, else its address
  QString to;          // display names (else addresses) joined by "; "
  QString cc;
  QString bcc;
};
StoreResult<HeaderTexts> ParseHeaderTexts(const QByteArray& headerBlock,
                                          GMimeParserOptions* options);

// The body of the message file as text: the first text/plain part that is not
// an attachment, else the first such text/html part reduced to text, else
// empty; line ends as CR LF.
StoreResult<QString> ReadBodyText(const QByteArray& path, GMimeParserOptions* options);
// The same of a whole message held in memory (one fetched from a server).
StoreResult<QString> BodyTextOf(const QByteArray& message, GMimeParserOptions* options);

// The unfolded value of the first field of that name (case-insensitive), or
// nullopt when the header has none.
std::optional<QByteArray> FirstHeaderValue(const QByteArray& block, const QByteArray& name);

// Every line end (LF, CR LF, lone CR) as CR LF.
QString WithCrLf(const QString& text);

}  // namespace zandor::mime
