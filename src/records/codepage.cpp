#include "records/codepage.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <utility>

namespace zandor {
namespace {

// The upper half of a single-byte code page, both ways. Its lower half is
// ASCII in both code pages we use.
class CodePage {
 public:
  explicit CodePage(const char* name) {
    QByteArray upper(128, Qt::Uninitialized);
    for (int i = 0; i < 128; ++i) upper[i] = static_cast<char>(128 + i);
    QStringDecoder decoder(name);
    const QString decoded = decoder.isValid() ? decoder.decode(upper) : QString();
    for (std::size_t i = 0; i < upper_.size(); ++i) {
      // Without the code page (a Qt without ICU) the upper half holds nothing
      // we can name: such characters leave as '?' and arrive as U+FFFD.
      const auto index = static_cast<qsizetype>(i);
      upper_[i] = decoded.size() == 128 ? decoded[index].unicode() : char16_t{0xFFFD};
      byCharacter_[i] = {upper_[i], static_cast<unsigned char>(128 + i)};
    }
    std::sort(byCharacter_.begin(), byCharacter_.end());
  }

  QByteArray Encode(const QString& text) const {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
      const char16_t u = text[i].unicode();
      if (u == 0) {
        // A NUL would end the field on the wire and cut the dialogue short.
        out.append('?');
        continue;
      }
      if (u < 128) {
        out.append(static_cast<char>(u));
        continue;
      }
      if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        ++i;  // outside both code pages: one '?' for the whole code point
        out.append('?');
        continue;
      }
      out.append(static_cast<char>(Upper(u)));
    }
    return out;
  }

  QString Decode(const QByteArray& bytes) const {
    QString out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
      const auto c = static_cast<unsigned char>(bytes[i]);
      out[i] = QChar(c < 128 ? char16_t{c} : upper_[c - 128u]);
    }
    return out;
  }

 private:
  unsigned char Upper(char16_t u) const {
    const auto found =
        std::lower_bound(byCharacter_.begin(), byCharacter_.end(), std::pair{u, uchar{0}});
    if (found == byCharacter_.end() || found->first != u || u == 0xFFFD) return '?';
    return found->second;
  }

  std::array<char16_t, 128> upper_{};
  std::array<std::pair<char16_t, unsigned char>, 128> byCharacter_{};
};

// Built on first use and never changed afterwards.
const CodePage& CodePageOf(ConversionMode mode) {
  static const CodePage western("windows-1252");
  static const CodePage cyrillic("windows-1251");
  return mode == ConversionMode::Western ? western : cyrillic;
}

}  // namespace

QByteArray EncodeHostText(const QString& text, ConversionMode mode) {
  return CodePageOf(mode).Encode(text);
}

QString DecodeHostText(const QByteArray& bytes, ConversionMode mode) {
  return CodePageOf(mode).Decode(bytes);
}

QString DecodeReceivedText(const QByteArray& bytes, ConversionMode mode,
                           const ConversionTables& tables) {
  const auto& codes = tables.deviceSymbols;
  const QString symbols = DecodeHostText(
      QByteArray(reinterpret_cast<const char*>(codes.data()), qsizetype(codes.size())),
      ConversionMode::Western);
  QString text = DecodeHostText(bytes, mode);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c >= 16 && c <= 31) text[i] = symbols[c - 16];
  }
  return text;
}

}  // namespace zandor
