// Numbers as the windows write and read them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cad {

// The user's decimal separator for number texts, in UTF-8 (it may take more than
// one byte, as the Arabic "٫" does). The windows set it once from the regional
// settings; the core itself has no locale of its own.
void setDecimalSeparator(std::string separator);
const std::string& decimalSeparator();

// General number text: at most 15 significant digits, no trailing zeros, no
// separator for whole values, the given decimal separator.
std::string numberText(double value, std::string_view separator);
std::string numberText(double value);  // with the user's separator

// The number at the start of a text, read alike under every regional setting:
// leading blanks skipped, "." as decimal point, reading stops at the first
// character that cannot continue the number; no number = 0.
double leadingNumber(const std::string& text);

// Nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

// Rounds half to even into the given width; values outside it (or not finite)
// have no such number.
std::optional<int16_t> toInt16(double value);
std::optional<int32_t> toInt32(double value);

// A number written in regional notation (the given decimal separator, no digit
// grouping), blanks around it allowed. Anything else is not a number.
std::optional<double> readRegionalNumber(const std::string& text, std::string_view separator);

}  // namespace cad
