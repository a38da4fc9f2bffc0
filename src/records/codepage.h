#pragma once

#include <QByteArray>
#include <QString>

#include "records/conversion.h"

namespace zandor {

// Store text is Unicode; on the wire every character is one byte of the host
// code page: Windows-1252 in the Western mode, Windows-1251 in both Russian
// modes. A character (a whole code point) that the code page cannot hold
// becomes one '?', so the byte count always equals the number of code points.
QByteArray EncodeHostText(const QString& text, ConversionMode mode);

// The reverse: each byte becomes the character of that code in the mode's
// code page. Every byte has a character, so decoding then encoding gives back
// the same bytes.
QString DecodeHostText(const QByteArray& bytes, ConversionMode mode);

// A received field as ConvertIncoming leaves it, as text: as DecodeHostText,
// except that codes 16..31, the Kelvo's symbols, become the characters the
// symbol table names, in every mode (Windows-1251 has no ¨, ´ or ˆ).
QString DecodeReceivedText(const QByteArray& bytes, ConversionMode mode,
                           const ConversionTables& tables);

}  // namespace zandor
