// Fuzzes the lenient reading of stored numbers and the two helpers that turn
// its value into a list position or a parts count.
//
// Input: one config byte (bit 0: the text is Latin-1 rather than UTF-8; the
// other bits seed where blanks are inserted), then the text.
//
// Checked: the value is never NaN; inserting blanks, tabs and line feeds
// anywhere gives the same value, and so does appending anything after an 'x';
// a plain decimal number reads as strtod reads it; RoundHalfToEven gives the
// nearest integer, halves to the even one; ToInt16 refuses exactly what does
// not fit and otherwise truncates.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "settings/lenient_number.h"

namespace {

using zandor::fuzz::Input;

bool SameValue(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return false;
  return a == b && std::signbit(a) == std::signbit(b);
}

// The text with blanks inserted at places a small generator picks.
QString WithBlanks(const QString& text, std::uint32_t seed) {
  static const char16_t kBlanks[] = {u' ', u'\t', u'\n'};
  QString out;
  std::uint32_t state = seed * 2654435761u + static_cast<std::uint32_t>(text.size());
  auto next = [&state] {
    state = state * 1103515245u + 12345u;
    return state >> 16;
  };
  for (qsizetype i = 0; i <= text.size(); ++i) {
    if (next() % 3 == 0) out += QChar(kBlanks[next() % 3]);
    if (i < text.size()) out += text[i];
  }
  return out;
}

// The value strtod gives for a text that is only a plain decimal number (sign,
// digits, at most one point, an exponent with digits), or nullopt.
std::optional<double> PlainDecimal(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  if (bytes.isEmpty() || bytes.size() > 400 || text.size() != bytes.size()) return std::nullopt;
  qsizetype i = 0;
  if (bytes[i] == '+' || bytes[i] == '-') ++i;
  qsizetype digits = 0;
  while (i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9') ++i, ++digits;
  if (i < bytes.size() && bytes[i] == '.') {
    ++i;
    while (i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < bytes.size() && (bytes[i] == 'e' || bytes[i] == 'E')) {
    ++i;
    if (i < bytes.size() && (bytes[i] == '+' || bytes[i] == '-')) ++i;
    qsizetype expDigits = 0;
    while (i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != bytes.size()) return std::nullopt;
  const std::string copy = bytes.toStdString();
  return std::strtod(copy.c_str(), nullptr);
}

void CheckRounding(double value) {
  const double rounded = zandor::RoundHalfToEven(value);
  if (!std::isfinite(value)) {
    ZANDOR_FUZZ_CHECK(SameValue(rounded, value) || (std::isnan(value) && std::isnan(rounded)));
    return;
  }
  ZANDOR_FUZZ_CHECK(std::isfinite(rounded));
  ZANDOR_FUZZ_CHECK(rounded == std::trunc(rounded));
  const double distance = std::fabs(rounded - value);
  ZANDOR_FUZZ_CHECK(distance <= 0.5);
  if (distance == 0.5) ZANDOR_FUZZ_CHECK(std::fmod(rounded, 2.0) == 0);
}

void CheckInt16(double value) {
  const std::optional<qint16> narrow = zandor::ToInt16(value);
  const bool fits = std::isfinite(value) && value >= -32768.0 && value <= 32767.0;
  ZANDOR_FUZZ_CHECK(narrow.has_value() == fits);
  if (narrow) ZANDOR_FUZZ_CHECK(static_cast<double>(*narrow) == std::trunc(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input(data, size);
  const std::uint8_t config = input.Byte();
  const QByteArray bytes = input.Rest();
  const QString text = (config & 1) != 0 ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);

  const double value = zandor::ReadLenientNumber(text);
  ZANDOR_FUZZ_CHECK(!std::isnan(value));
  ZANDOR_FUZZ_CHECK(SameValue(zandor::ReadLenientNumber(WithBlanks(text, config >> 1)), value));
  // Reading stops at the first character that cannot go on: what follows it,
  // a sign included, changes nothing.
  ZANDOR_FUZZ_CHECK(SameValue(zandor::ReadLenientNumber(text + QStringLiteral("x-5")), value));
  if (const std::optional<double> expected = PlainDecimal(text)) {
    // Below the normal range a reader may keep a subnormal or give zero; both
    // read as 0 wherever the value is used.
    constexpr double kTiny = std::numeric_limits<double>::min();
    if (std::fabs(*expected) < kTiny) {
      ZANDOR_FUZZ_CHECK(std::fabs(value) < kTiny);
    } else {
      ZANDOR_FUZZ_CHECK(SameValue(value, *expected));
    }
  }

  CheckRounding(value);
  CheckInt16(value);
  CheckInt16(zandor::RoundHalfToEven(value));
  // Raw bit patterns too: infinities, NaN and subnormals reach the helpers
  // only this way.
  if (bytes.size() >= 8) {
    double raw = 0;
    std::memcpy(&raw, bytes.constData(), sizeof raw);
    CheckRounding(raw);
    CheckInt16(raw);
  }
  return 0;
}
