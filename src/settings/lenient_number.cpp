#include "settings/lenient_number.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace zandor {
namespace {

bool IsIgnored(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

// The text without the characters that reading ignores.
QString Squeezed(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (const QChar c : text) {
    if (!IsIgnored(c)) out += c;
  }
  return out;
}

int DigitValue(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  return -1;
}

double ReadRadix(const QString& digits, int radix) {
  double value = 0;
  for (const QChar c : digits) {
    const int digit = DigitValue(c);
    if (digit < 0 || digit >= radix) break;
    value = value * radix + digit;
  }
  return value;
}

}  // namespace

double ReadLenientNumber(const QString& text) {
  const QString s = Squeezed(text);
  if (s.size() >= 2 && s[0] == QLatin1Char('&')) {
    const QChar prefix = s[1].toUpper();
    if (prefix == QLatin1Char('H')) return ReadRadix(s.mid(2), 16);
    if (prefix == QLatin1Char('O')) return ReadRadix(s.mid(2), 8);
    return 0;
  }

  // The longest prefix that is a decimal number: [sign] digits [. digits] [e [sign] digits].
  qsizetype i = 0;
  const qsizetype n = s.size();
  if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) ++i;
  const qsizetype mantissaStart = i;
  while (i < n && s[i].isDigit() && s[i].unicode() < 128) ++i;
  if (i < n && s[i] == QLatin1Char('.')) {
    ++i;
    while (i < n && s[i].isDigit() && s[i].unicode() < 128) ++i;
  }
  const QString mantissa = s.mid(mantissaStart, i - mantissaStart);
  if (mantissa.isEmpty() || mantissa == QStringLiteral(".")) return 0;
  qsizetype end = i;
  if (i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
    qsizetype j = i + 1;
    if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-'))) ++j;
    const qsizetype expDigits = j;
    while (j < n && s[j].isDigit() && s[j].unicode() < 128) ++j;
    if (j > expDigits) end = j;  // an exponent without digits is not part of the number
  }
  bool ok = false;
  const double value = s.left(end).toDouble(&ok);
  if (ok) return value;
  // Out of double's range: QString refuses it; keep its sign and size.
  const bool negative = s.startsWith(QLatin1Char('-'));
  // Only the exponent's own sign tells too small from too large; a '-' after
  // the number is not part of it.
  const bool tiny = s.mid(i, end - i).contains(QLatin1Char('-'));
  if (tiny) return negative ? -0.0 : 0.0;
  return negative ? -std::numeric_limits<double>::infinity()
                  : std::numeric_limits<double>::infinity();
}

double RoundHalfToEven(double value) {
  if (!std::isfinite(value)) return value;
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction > 0.5) return floor + 1;
  if (fraction < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

qint16 MinOfAbsolutes(qint16& a, qint16& b) {
  // The absolute value of -32768 does not fit; the dialog never passes it.
  a = static_cast<qint16>(std::abs(a));
  b = static_cast<qint16>(std::abs(b));
  return a < b ? a : b;
}

std::optional<qint16> ToInt16(double value) {
  if (!std::isfinite(value) || value < -32768.0 || value > 32767.0) return std::nullopt;
  return static_cast<qint16>(value);
}

std::optional<int> ReadPartLimit(const QString& partsText) {
  const double whole = std::floor(ReadLenientNumber(partsText));
  if (!(whole >= -32768.0 && whole <= 32767.0)) return std::nullopt;
  return static_cast<int>(whole);
}

}  // namespace zandor
