#pragma once

#include <QString>
#include <optional>

namespace zandor {

// The part limit of "Split no more then": the number at the start of the
// parts text, rounded down to a whole number. It is read the way the options
// dialog reads the same text when it stores it: blanks, tabs and line feeds
// are ignored anywhere, then one sign, digits, a decimal point, an exponent,
// or &H / &O for a hexadecimal or octal number; a text with no number (empty
// included) reads as 0. nullopt when the number does not fit in 16 bits.
std::optional<int> ReadPartLimit(const QString& partsText);

}  // namespace zandor
