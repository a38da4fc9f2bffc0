#include "records/part_limit.h"

#include <cmath>

namespace zandor {
namespace {

bool IsIgnored(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

bool IsDigit(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int RadixDigit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  return -1;
}

double ReadRadix(const QString& s, qsizetype from, int radix) {
  double value = 0;
  for (qsizetype i = from; i < s.size(); ++i) {
    const int digit = RadixDigit(s[i]);
    if (digit < 0 || digit >= radix) break;
    value = value * radix + digit;
  }
  return value;
}

// The longest prefix of s that reads as [sign] digits [. digits] [e [sign] digits].
double ReadDecimal(const QString& s) {
  qsizetype i = 0;
  if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) ++i;
  const qsizetype mantissaStart = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  bool anyDigit = i > mantissaStart;
  if (i < s.size() && s[i] == QLatin1Char('.')) {
    const qsizetype fractionStart = ++i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    anyDigit = anyDigit || i > fractionStart;
  }
  if (!anyDigit) return 0;
  qsizetype end = i;
  if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
    qsizetype j = i + 1;
    if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-'))) ++j;
    const qsizetype exponentStart = j;
    while (j < s.size() && IsDigit(s[j])) ++j;
    if (j > exponentStart) end = j;
  }
  bool ok = false;
  const double value = s.left(end).toDouble(&ok);
  if (ok) return value;
  // Beyond the range of double: a negative exponent reads as 0, any other as
  // an infinity, which then does not fit.
  if (s.mid(i, end - i).contains(QLatin1Char('-'))) return 0;
  return s.startsWith(QLatin1Char('-')) ? -HUGE_VAL : HUGE_VAL;
}

}  // namespace

std::optional<int> ReadPartLimit(const QString& partsText) {
  QString s;
  for (const QChar c : partsText) {
    if (!IsIgnored(c)) s += c;
  }
  double value = 0;
  if (s.size() >= 2 && s[0] == QLatin1Char('&')) {
    const QChar prefix = s[1].toUpper();
    if (prefix == QLatin1Char('H')) value = ReadRadix(s, 2, 16);
    if (prefix == QLatin1Char('O')) value = ReadRadix(s, 2, 8);
  } else {
    value = ReadDecimal(s);
  }
  const double whole = std::floor(value);
  if (!(whole >= -32768.0 && whole <= 32767.0)) return std::nullopt;
  return static_cast<int>(whole);
}

}  // namespace zandor
