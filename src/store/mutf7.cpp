#include "store/mutf7.h"

namespace zandor {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+,";

int SextetOf(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'A' && u <= u'Z') return u - u'A';
  if (u >= u'a' && u <= u'z') return u - u'a' + 26;
  if (u >= u'0' && u <= u'9') return u - u'0' + 52;
  if (u == u'+') return 62;
  if (u == u',') return 63;
  return -1;
}

bool IsDirect(char16_t u) {
  return u >= 0x20 && u <= 0x7e && u != u'&';
}

// Decodes the base64 run between '&' and '-' into UTF-16 code units.
bool DecodeRun(QStringView run, QString& out) {
  if (run.isEmpty()) return false;  // "&-" is handled by the caller
  quint32 bits = 0;
  int bitCount = 0;
  QString units;
  for (QChar c : run) {
    const int sextet = SextetOf(c);
    if (sextet < 0) return false;
    bits = (bits << 6) | static_cast<quint32>(sextet);
    bitCount += 6;
    if (bitCount >= 16) {
      bitCount -= 16;
      units.append(QChar(static_cast<char16_t>((bits >> bitCount) & 0xffffu)));
    }
  }
  // Leftover bits are padding: fewer than 6 and all zero.
  if (bitCount >= 6 || (bits & ((1u << bitCount) - 1u)) != 0) return false;
  if (units.isEmpty()) return false;
  // Characters that stand for themselves must not be encoded.
  for (QChar u : units) {
    if (IsDirect(u.unicode()) || u == QLatin1Char('&')) return false;
  }
  // Surrogates must pair up.
  for (qsizetype i = 0; i < units.size(); ++i) {
    if (units[i].isHighSurrogate()) {
      if (i + 1 >= units.size() || !units[i + 1].isLowSurrogate()) return false;
      ++i;
    } else if (units[i].isLowSurrogate()) {
      return false;
    }
  }
  out.append(units);
  return true;
}

}  // namespace

std::optional<QString> DecodeModifiedUtf7(const QString& text) {
  QString out;
  out.reserve(text.size());
  qsizetype i = 0;
  while (i < text.size()) {
    const char16_t u = text[i].unicode();
    if (u == u'&') {
      const qsizetype end = text.indexOf(QLatin1Char('-'), i + 1);
      if (end < 0) return std::nullopt;
      if (end == i + 1) {
        out.append(QLatin1Char('&'));
      } else if (!DecodeRun(QStringView(text).mid(i + 1, end - i - 1), out)) {
        return std::nullopt;
      }
      i = end + 1;
    } else if (IsDirect(u)) {
      out.append(text[i]);
      ++i;
    } else {
      return std::nullopt;
    }
  }
  return out;
}

QString EncodeModifiedUtf7(const QString& name) {
  QString out;
  qsizetype i = 0;
  while (i < name.size()) {
    const char16_t u = name[i].unicode();
    if (u == u'&') {
      out.append(QStringLiteral("&-"));
      ++i;
      continue;
    }
    if (IsDirect(u)) {
      out.append(name[i]);
      ++i;
      continue;
    }
    out.append(QLatin1Char('&'));
    quint32 bits = 0;
    int bitCount = 0;
    while (i < name.size() && !IsDirect(name[i].unicode()) && name[i] != QLatin1Char('&')) {
      bits = (bits << 16) | name[i].unicode();
      bitCount += 16;
      while (bitCount >= 6) {
        bitCount -= 6;
        out.append(QLatin1Char(kAlphabet[(bits >> bitCount) & 0x3fu]));
      }
      ++i;
    }
    if (bitCount > 0) out.append(QLatin1Char(kAlphabet[(bits << (6 - bitCount)) & 0x3fu]));
    out.append(QLatin1Char('-'));
  }
  return out;
}

QString DisplayFolderName(const QString& element) {
  return DecodeModifiedUtf7(element).value_or(element);
}

}  // namespace zandor
