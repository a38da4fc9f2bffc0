#include "store/byte_names.h"

namespace zandor {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence that starts at bytes[i], or 0.
int ValidSequenceLength(const QByteArray& bytes, qsizetype i) {
  const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  int length = 0;
  char32_t code = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (i + length > bytes.size()) return 0;
  for (int k = 1; k < length; ++k) {
    const unsigned char next = byte(i + k);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

QString TextOfBytes(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size());
  qsizetype i = 0;
  while (i < bytes.size()) {
    const int length = ValidSequenceLength(bytes, i);
    if (length == 0) {
      text.append(QChar(kEscapeBase + static_cast<unsigned char>(bytes[i])));
      ++i;
    } else {
      text.append(QString::fromUtf8(bytes.constData() + i, length));
      i += length;
    }
  }
  return text;
}

QByteArray BytesOfText(const QString& text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  qsizetype start = 0;  // the start of the run of plain text not yet converted
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    const bool escaped = unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF &&
                         !(i > 0 && text[i - 1].isHighSurrogate());
    if (!escaped) continue;
    bytes += text.mid(start, i - start).toUtf8();
    bytes += static_cast<char>(unit - kEscapeBase);
    start = i + 1;
  }
  bytes += text.mid(start).toUtf8();
  return bytes;
}

}  // namespace zandor
