#include "core/editor/form/numbers.h"

#include <cmath>
#include <cstdint>
#include <charconv>
#include <system_error>
#include <limits>

namespace vyn {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::optional<long long> ParseInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (const char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1)
      return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return value;
}

long long IntegerOrZero(std::string_view text) { return ParseInteger(text).value_or(0); }

std::optional<double> ParseDecimal(std::string_view text, char separator) {
  // Rewritten with "." for from_chars (which ignores the C locale), after checking the shape
  // ourselves so that no hexadecimal or "inf" reading slips in.
  std::string plain;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
  int digits = 0;
  while (i < text.size() && IsDigit(text[i])) {
    plain += text[i++];
    ++digits;
  }
  if (i < text.size() && text[i] == separator) {
    plain += '.';
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      plain += text[i++];
      ++digits;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    int exponent_digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
      plain += text[i++];
      ++exponent_digits;
    }
    if (exponent_digits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  double value = 0.0;
  const char* first = plain.data();
  if (*first == '+') ++first;  // from_chars takes no plus sign
  const auto [end, error] = std::from_chars(first, plain.data() + plain.size(), value);
  if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

}  // namespace vyn
