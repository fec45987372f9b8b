#pragma once

// Reading typed numbers as the editor reads them.

#include <optional>
#include <string>
#include <string_view>

namespace vyn {

// A whole number: an optional sign and decimal digits, nothing else, within 32 bits.
std::optional<long long> ParseInteger(std::string_view text);
// The number rule of the editor's boxes: the text as a whole number, 0 when it is not one.
long long IntegerOrZero(std::string_view text);
// A decimal number with `separator` as the decimal separator and an optional exponent.
std::optional<double> ParseDecimal(std::string_view text, char separator);
// Blanks removed from both ends.
std::string_view TrimBlanks(std::string_view text);

// The conversion errors that end a store: "'%s' is not a valid integer value" (65226) and
// "'%s' is not a valid floating point value" (65227).
inline constexpr int kNotAnIntegerMessage = 65226;
inline constexpr int kNotADecimalMessage = 65227;

}  // namespace vyn
