#pragma once

#include <QString>
#include <optional>

namespace zandor {

// The numeric value of a text, read leniently: blanks, tabs and line feeds
// anywhere are ignored; reading stops at the first character that cannot
// continue a decimal number (one sign, digits, one decimal point, an exponent);
// a leading &H or &O reads a hexadecimal or octal number; a text with no
// number reads as 0. "&H1A" is 26, "1 2 3" is 123, "2.5e1x" is 25, "-" is 0.
double ReadLenientNumber(const QString& text);

// Rounds to the nearest integer, halves to the even one (2.5 -> 2, 3.5 -> 4).
double RoundHalfToEven(double value);

// The dialog's min: replaces each argument by its absolute value and returns
// the smaller of the two.
qint16 MinOfAbsolutes(qint16& a, qint16& b);

// The part limit of "Split no more then": the number the parts text reads as,
// rounded down; nullopt when that does not fit in 16 bits.
std::optional<int> ReadPartLimit(const QString& partsText);

// value as a 16-bit signed integer, or nullopt when it does not fit.
std::optional<qint16> ToInt16(double value);

}  // namespace zandor
