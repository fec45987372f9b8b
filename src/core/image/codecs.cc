#include "core/image/codecs.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vyn {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// 0-9 for "0"-"9", 10-15 for "A"-"F" and "a"-"f", 0 for anything else.
std::uint8_t HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  return 0;
}

constexpr std::uint8_t kEndNibble = 0xA;
constexpr std::size_t kDialDigits = 16;

char DialLetter(std::uint8_t nibble, DialKind kind) {
  switch (nibble) {
    case 0xB:
      return 'W';
    case 0xC:
      return kind == DialKind::kTelephone ? 'C' : 'A';
    case 0xD:
      return 'T';
    case 0xE:
      return '*';
    default:
      return '#';
  }
}

std::uint8_t DialNibble(char c, DialKind kind) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  switch (c) {
    case 'W':
    case 'w':
      return 0xB;
    case 'T':
    case 't':
      return 0xD;
    case '*':
      return 0xE;
    case '#':
      return 0xF;
    case 'C':
    case 'c':
      return kind == DialKind::kTelephone ? 0xC : 0;
    case 'A':
    case 'a':
      return kind == DialKind::kAlarmCode ? 0xC : 0;
    default:
      return 0;
  }
}

// Copy, backspace, paste and cut must pass every filter so that editing keys keep working.
bool IsEditingKey(char c) { return c == 3 || c == 8 || c == 22 || c == 24; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsOneOf(char c, const char* accepted) {
  for (const char* p = accepted; *p != '\0'; ++p) {
    if (*p == c) return true;
  }
  return false;
}

// Converted duplex values may fall outside the stored number's range (a negative attack, a
// huge threshold); they are held at the ends of the range instead of overflowing.
std::uint32_t ClampToWord32(double value) {
  if (!(value > 0.0)) return 0;  // also NaN
  constexpr double kMax = std::numeric_limits<std::uint32_t>::max();
  if (value >= kMax) return std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(value);  // fraction dropped
}

constexpr double kDuplexScale = 16777215.0;  // 2^24 - 1

}  // namespace

std::string DecodeTransmitterCode(std::uint8_t first, std::uint8_t second) {
  if (first == 0 && second == 0) return "";
  return HexPairText(first) + HexPairText(second);
}

std::array<std::uint8_t, 2> EncodeTransmitterCode(const std::string& text) {
  const std::string first = text.substr(0, std::min<std::size_t>(text.size(), 2));
  const std::string second = text.size() > 2 ? text.substr(2, 2) : "";
  return {HexPairValue(first), HexPairValue(second)};
}

std::string HexPairText(std::uint8_t value) {
  return {kHexDigits[value >> 4], kHexDigits[value & 0x0F]};
}

std::uint8_t HexPairValue(const std::string& text) {
  const std::uint8_t high = text.size() > 0 ? HexDigitValue(text[0]) : 0;
  const std::uint8_t low = text.size() > 1 ? HexDigitValue(text[1]) : 0;
  return static_cast<std::uint8_t>(high * 16 + low);
}

std::string DecodeDialDigits(std::span<const std::uint8_t, 8> field, DialKind kind) {
  std::string text;
  for (std::size_t i = 0; i < kDialDigits; ++i) {
    const std::uint8_t byte = field[i / 2];
    const std::uint8_t nibble = (i % 2 == 0) ? byte >> 4 : byte & 0x0F;
    if (nibble == kEndNibble) break;
    text += nibble <= 9 ? static_cast<char>('0' + nibble) : DialLetter(nibble, kind);
  }
  return text;
}

DialField EncodeDialDigits(const std::string& text, DialKind kind) {
  DialField field;
  field.fill(0xAA);
  const std::size_t length = std::min(text.size(), kDialDigits);
  for (std::size_t i = 0; i < length; i += 2) {
    const std::uint8_t high = DialNibble(text[i], kind);
    const std::uint8_t low = i + 1 < length ? DialNibble(text[i + 1], kind) : kEndNibble;
    field[i / 2] = static_cast<std::uint8_t>(high << 4 | low);
  }
  // An even length shorter than 16 needs no end nibble of its own: the next byte keeps 0xAA,
  // whose high nibble is the end mark.
  return field;
}

std::string ByteText(std::uint8_t value) { return std::to_string(value); }

std::string Word16Text(std::span<const std::uint8_t, 2> bytes) {
  return std::to_string(ReadWord16(bytes));
}

std::string Word32Text(std::span<const std::uint8_t, 4> bytes) {
  return std::to_string(ReadWord32(bytes));
}

std::uint16_t ReadWord16(std::span<const std::uint8_t, 2> bytes) {
  return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

std::uint32_t ReadWord24(std::span<const std::uint8_t, 3> bytes) {
  return static_cast<std::uint32_t>(bytes[0]) << 16 | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]);
}

std::uint32_t ReadWord32(std::span<const std::uint8_t, 4> bytes) {
  return static_cast<std::uint32_t>(bytes[0]) << 24 | ReadWord24(bytes.subspan<1>());
}

std::uint32_t ReadWord32Le(std::span<const std::uint8_t, 4> bytes) {
  return static_cast<std::uint32_t>(bytes[3]) << 24 | static_cast<std::uint32_t>(bytes[2]) << 16 |
         static_cast<std::uint32_t>(bytes[1]) << 8 | static_cast<std::uint32_t>(bytes[0]);
}

void WriteWord16(std::span<std::uint8_t, 2> bytes, std::uint16_t value) {
  bytes[0] = static_cast<std::uint8_t>(value >> 8);
  bytes[1] = static_cast<std::uint8_t>(value);
}

void WriteWord24(std::span<std::uint8_t, 3> bytes, std::uint32_t value) {
  bytes[0] = static_cast<std::uint8_t>(value >> 16);
  bytes[1] = static_cast<std::uint8_t>(value >> 8);
  bytes[2] = static_cast<std::uint8_t>(value);
}

void WriteWord32(std::span<std::uint8_t, 4> bytes, std::uint32_t value) {
  bytes[0] = static_cast<std::uint8_t>(value >> 24);
  WriteWord24(bytes.subspan<1>(), value);
}

void WriteWord32Le(std::span<std::uint8_t, 4> bytes, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::string RawBytesText(std::span<const std::uint8_t> bytes) {
  std::string text = "0x";
  for (std::uint8_t b : bytes) text += HexPairText(b);
  return text;
}

bool IsRawBytesText(const std::string& text) {
  return text.size() > 2 && text.size() % 2 == 0 && text[0] == '0' &&
         (text[1] == 'x' || text[1] == 'X') &&
         std::all_of(text.begin() + 2, text.end(), AcceptsHexKey) &&
         std::none_of(text.begin() + 2, text.end(), IsEditingKey);
}

bool ParseRawBytes(const std::string& text, std::span<std::uint8_t> bytes) {
  if (!IsRawBytesText(text) || text.size() != 2 + 2 * bytes.size()) return false;
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = HexPairValue(text.substr(2 + 2 * i, 2));
  return true;
}

std::string ImageText(std::span<const std::uint8_t> field) {
  constexpr std::size_t kMaxText = 255;
  std::string text;
  for (std::size_t i = 0; i < field.size() && i < kMaxText && field[i] != 0; ++i) {
    text += static_cast<char>(field[i]);
  }
  return text;
}

void WriteImageText(std::span<std::uint8_t> field, const std::string& text) {
  if (field.empty()) return;
  const std::size_t length = std::min(text.size(), field.size() - 1);
  std::copy_n(text.begin(), length, field.begin());
  field[length] = 0;
}

std::string RemoveSpaces(const std::string& text) {
  std::string result = text;
  std::erase(result, ' ');
  return result;
}

std::string JoinNumberPair(const std::string& first, const std::string& second) {
  return first + "," + second;
}

std::pair<std::string, std::string> SplitNumberPair(const std::string& text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) return {text, ""};
  return {text.substr(0, comma), text.substr(comma + 1)};
}

TimerReading TimerCodeText(std::uint8_t code, TimerKind kind) {
  const int hours_up_to = kind == TimerKind::kHoursDaysMinutes ? 100 : 200;
  if (code <= hours_up_to) return {code, TimerUnit::kHours};
  if (code <= 200) return {code - 100, TimerUnit::kDays};
  return {code - 200, TimerUnit::kMinutes};
}

std::optional<std::uint8_t> EncodeTenthVolt(double volts) {
  if (!(volts >= 0.0 && volts <= 7.5)) return std::nullopt;  // also refuses NaN
  // Truncation of the double product: every one-decimal value 0.0-7.5 lands on its tenths.
  return static_cast<std::uint8_t>(std::trunc(volts * 10.0));
}

double DecodeTenthVolt(std::uint8_t stored) { return stored * 0.1; }

std::string TenthVoltText(std::uint8_t stored) {
  return std::to_string(stored / 10) + "." + std::to_string(stored % 10);
}

std::uint32_t EncodeDuplex(double value, DuplexForm form) {
  switch (form) {
    case DuplexForm::kAttack:
      return ClampToWord32((std::pow(std::pow(10.0, value / 10.0), 1.0 / 8.0) - 1.0) *
                           kDuplexScale);
    case DuplexForm::kRelease:
      return ClampToWord32(std::pow(std::pow(10.0, value / 10.0), 1.0 / 8.0) * kDuplexScale);
    case DuplexForm::kTime:
      // The number shifted left by 3 bits: whole milliseconds.
      return ClampToWord32(std::trunc(value) * 8.0);
    case DuplexForm::kThreshold:
      return ClampToWord32(std::pow(10.0, value / 10.0) * kDuplexScale);
  }
  return 0;
}

double DecodeDuplex(std::uint32_t stored, DuplexForm form) {
  // A stored 0 reads as 0 in every form, as the table shows it; the release and threshold
  // formulas would give minus infinity.
  if (stored == 0) return 0.0;
  const double ratio = stored / kDuplexScale;
  switch (form) {
    case DuplexForm::kAttack:
      return 10.0 * std::log10(std::pow(ratio + 1.0, 8.0));
    case DuplexForm::kRelease:
      return 10.0 * std::log10(std::pow(ratio, 8.0));
    case DuplexForm::kTime:
      return stored / 8;
    case DuplexForm::kThreshold:
      return 10.0 * std::log10(ratio);
  }
  return 0.0;
}

// Printed from the whole number of thousandths so that no binary
// rounding shows in the text. The small allowance lets a value entered as 1.0005 (held as
// 1.000499999...) still round up.
std::string ThreeDecimalsText(double value) {
  const double scaled = value * 1000.0;
  // Far beyond any table value; kept from overflowing the whole-number conversion.
  if (!(std::fabs(scaled) < 1e15)) return "0";
  const double allowance = 1e-9 * std::max(1.0, std::fabs(scaled));
  const long long thousandths = static_cast<long long>(std::floor(scaled + 0.5 + allowance));
  const unsigned long long magnitude = thousandths < 0
                                           ? 0ULL - static_cast<unsigned long long>(thousandths)
                                           : static_cast<unsigned long long>(thousandths);
  std::string fraction = std::to_string(magnitude % 1000);
  fraction.insert(0, 3 - fraction.size(), '0');
  return (thousandths < 0 ? "-" : "") + std::to_string(magnitude / 1000) + "." + fraction;
}

std::string DuplexText(std::uint32_t stored, DuplexForm form) {
  if (stored == 0) return "0";
  if (form == DuplexForm::kTime) return std::to_string(stored / 8);
  return ThreeDecimalsText(DecodeDuplex(stored, form));
}

std::string VersionText(std::span<const std::uint8_t, 6> record) {
  const std::uint32_t major = static_cast<std::uint32_t>(record[0]) << 16 |
                              static_cast<std::uint32_t>(record[1]) << 8 | record[2];
  const char* suffix = record[5] == 0 ? " Alpha" : record[5] == 1 ? " Beta" : " Release";
  return std::to_string(major) + "." + std::to_string(record[3]) + "." + std::to_string(record[4]) +
         suffix;
}

bool AcceptsHexKey(char c) {
  return IsEditingKey(c) || IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool AcceptsDialKey(char c) { return IsEditingKey(c) || IsDigit(c) || IsOneOf(c, "#*CTWctw"); }

bool AcceptsAlarmCodeKey(char c) { return IsEditingKey(c) || IsDigit(c) || IsOneOf(c, "#*ATWatw"); }

bool AcceptsDigitKey(char c) { return IsEditingKey(c) || IsDigit(c); }

bool AcceptsSignedKey(char c) { return IsEditingKey(c) || IsDigit(c) || c == '+' || c == '-'; }

bool AcceptsPlusKey(char c) { return IsEditingKey(c) || IsDigit(c) || c == '+'; }

bool AcceptsCommaKey(char c) { return IsEditingKey(c) || IsDigit(c) || c == ','; }

}  // namespace vyn
