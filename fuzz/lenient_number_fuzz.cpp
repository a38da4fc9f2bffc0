// Fuzzes the lenient reading of stored numbers and the helpers that turn its
// value into a list position or a parts count.
//
// Input: one config byte (bit 0: the text is Latin-1 rather than UTF-8; the
// other bits pick where a blank, tab or line feed is inserted), then the text.
//
// Checked: the value is never NaN; inserting a blank, tab or line feed
// anywhere gives the same value, and so does appending anything after an 'x';
// a plain decimal number reads as strtod reads it; RoundHalfToEven gives the
// nearest integer, halves to the even one; ToInt16 refuses exactly what does
// not fit and otherwise truncates; ReadPartLimit is the value rounded down,
// when that fits in 16 bits.

#include <QtEndian>
#include <cfloat>
#include <cmath>

#include "fuzz_support.h"
#include "settings/lenient_number.h"

using namespace zandor;

static bool Same(double a, double b) {
  return a == b && std::signbit(a) == std::signbit(b);
}

static void CheckHelpers(double value) {
  const double rounded = RoundHalfToEven(value);
  const double distance = std::fabs(rounded - value);
  // Infinities and NaN stay what they are.
  const bool finite = std::isfinite(value);
  ZANDOR_FUZZ_CHECK(finite || Same(rounded, value) || (std::isnan(value) && std::isnan(rounded)));
  ZANDOR_FUZZ_CHECK(!finite || (rounded == std::trunc(rounded) && distance <= 0.5));
  ZANDOR_FUZZ_CHECK(!finite || distance < 0.5 || std::fmod(rounded, 2.0) == 0);
  for (const double v : {value, rounded}) {
    const std::optional<qint16> narrow = ToInt16(v);
    ZANDOR_FUZZ_CHECK(narrow.has_value() == (v >= -32768.0 && v <= 32767.0));
    ZANDOR_FUZZ_CHECK(!narrow || *narrow == std::trunc(v));
  }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input{data, size};
  const std::uint8_t config = input.Byte();
  const QByteArray bytes = input.Rest();
  const QString text = (config & 1) != 0 ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);

  const double value = ReadLenientNumber(text);
  ZANDOR_FUZZ_CHECK(!std::isnan(value));
  QString spaced = text;
  spaced.insert(text.size() * (config >> 1) / 127, QLatin1Char(" \t\n"[config % 3]));
  ZANDOR_FUZZ_CHECK(Same(ReadLenientNumber(spaced), value));
  // Reading stops at the first character that cannot go on: what follows it,
  // a sign included, changes nothing.
  ZANDOR_FUZZ_CHECK(Same(ReadLenientNumber(text + QStringLiteral("x-5")), value));

  // A plain decimal number (digits, signs, points and exponents only, all of
  // it taken by strtod) reads as strtod reads it. Below the normal range a
  // reader may keep a subnormal or give zero; both read as 0 where used.
  const std::string plain = text.toStdString();
  char* end = nullptr;
  const double expected = std::strtod(plain.c_str(), &end);
  if (!plain.empty() && plain.size() <= 400 && end == plain.c_str() + plain.size() &&
      plain.find_first_not_of("0123456789+-.eE") == std::string::npos) {
    const bool tiny = std::fabs(expected) < DBL_MIN;
    ZANDOR_FUZZ_CHECK(tiny ? std::fabs(value) < DBL_MIN : Same(value, expected));
  }

  CheckHelpers(value);
  const std::optional<int> parts = ReadPartLimit(text);
  const std::optional<qint16> whole = ToInt16(std::floor(value));
  ZANDOR_FUZZ_CHECK(parts.has_value() == whole.has_value() && (!parts || *parts == *whole));
  // Raw bit patterns too: infinities, NaN and subnormals reach the helpers
  // only this way.
  if (bytes.size() >= 8) CheckHelpers(qFromUnaligned<double>(bytes.constData()));
  return 0;
}
