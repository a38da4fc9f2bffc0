#pragma once

#include <QByteArray>
#include <QString>

namespace zandor {

// File names and entry ids are bytes; most are UTF-8, but a Linux file name
// may hold any byte but '/' and NUL. These two functions convert without loss:
// valid UTF-8 reads as its text, and each byte of an invalid sequence reads as
// the lone surrogate U+DC80..U+DCFF, which no valid UTF-8 can give. So two
// names that differ in any byte stay two texts, and the text writes back as
// the very bytes it was read from.
QString TextOfBytes(const QByteArray& bytes);
QByteArray BytesOfText(const QString& text);

}  // namespace zandor
