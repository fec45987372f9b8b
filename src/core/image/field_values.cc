#include "core/image/field_values.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <span>

#include "core/image/codecs.h"
#include "core/image/number_pool.h"

namespace vyn {
namespace {

using E = FieldEncoding;

template <std::size_t N>
std::span<const std::uint8_t, N> Bytes(const ParameterImage& image, const FieldInfo& field) {
  return std::span<const std::uint8_t, N>(image.data() + field.address, N);
}

template <std::size_t N>
std::span<std::uint8_t, N> Bytes(ParameterImage& image, const FieldInfo& field) {
  return std::span<std::uint8_t, N>(image.data() + field.address, N);
}

std::span<const std::uint8_t> Field(const ParameterImage& image, const FieldInfo& field) {
  return std::span<const std::uint8_t>(image.data() + field.address, field.width);
}

std::string HexByteText(std::uint8_t value) { return "0x" + HexPairText(value); }

std::string JoinBytes(std::span<const std::uint8_t> bytes, char separator, bool hex) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i) text += separator;
    text += hex ? HexPairText(bytes[i]) : ByteText(bytes[i]);
  }
  return text;
}

std::uint32_t ReadSerialLe(std::span<const std::uint8_t, 4> bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::string PoolSummary(const ParameterImage& image) {
  int entries = 0;
  int position = kNumberPoolRange.first;
  while (position <= kNumberPoolRange.last && image[position] != 0) {
    position += image[position] + 1;
    ++entries;
  }
  const int used = std::min(position, kNumberPoolRange.last + 1) - kNumberPoolRange.first;
  return std::to_string(entries) + " entries, " + std::to_string(used) + " bytes";
}

// A whole decimal number (or "0x" hex where `allow_hex`), nothing else around it.
bool ParseInteger(const std::string& text, long long& value, bool allow_hex = false) {
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  int base = 10;
  if (allow_hex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    begin += 2;
    base = 16;
  }
  if (begin == end || *begin == '+') return false;
  auto [ptr, error] = std::from_chars(begin, end, value, base);
  return error == std::errc() && ptr == end;
}

bool ParseReal(const std::string& text, double& value) {
  if (text.empty()) return false;
  auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && ptr == text.data() + text.size();
}

// Splits "a<sep>b<sep>..." into exactly `count` parts.
bool SplitParts(const std::string& text, char separator, std::size_t count,
                std::vector<std::string>& parts) {
  parts.clear();
  std::size_t start = 0;
  while (true) {
    const std::size_t found = text.find(separator, start);
    parts.push_back(text.substr(start, found == std::string::npos ? found : found - start));
    if (found == std::string::npos) break;
    start = found + 1;
  }
  return parts.size() == count;
}

bool IsPrintableAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

FieldParseResult ParseNumber(const FieldInfo& field, const std::string& text, long long& value,
                             bool allow_hex = false) {
  if (!ParseInteger(text, value, allow_hex)) return FieldParseResult::kBadValue;
  if (value < field.min_value || value > field.max_value) return FieldParseResult::kOutOfRange;
  return FieldParseResult::kOk;
}

}  // namespace

std::string FieldValueText(const ParameterImage& image, const FieldInfo& field, bool short_layout) {
  const std::uint8_t first = image[field.address];
  switch (field.encoding) {
    case E::kByte:
    case E::kFlag:
    case E::kList:
    case E::kTimer:
      return ByteText(first);
    case E::kWord16:
      return Word16Text(Bytes<2>(image, field));
    case E::kWord24:
      return std::to_string(first << 16 | image[field.address + 1] << 8 | image[field.address + 2]);
    case E::kWord32:
      return Word32Text(Bytes<4>(image, field));
    case E::kSerial32Le:
      return std::to_string(ReadSerialLe(Bytes<4>(image, field)));
    case E::kSigned8:
      return std::to_string(static_cast<std::int8_t>(first));
    case E::kSigned32:
      return std::to_string(static_cast<std::int32_t>(ReadWord32(Bytes<4>(image, field))));
    case E::kLedFlag:
      return first != 0 ? "1" : "0";
    case E::kText:
      return ImageText(Field(image, field));
    case E::kIpv4:
      return JoinBytes(Field(image, field), '.', false);
    case E::kMac:
      return JoinBytes(Field(image, field), '-', true);
    case E::kVersion:
      return VersionText(Bytes<6>(image, field));
    case E::kTenthVolt:
      return TenthVoltText(first);
    case E::kDuplex:
      return DuplexText(ReadWord32(Bytes<4>(image, field)), field.duplex_form);
    case E::kTensOfSeconds:
      return std::to_string(first * 10);
    case E::kYear2000:
      return std::to_string(first + 2000);
    case E::kPin: {
      char text[8];
      std::snprintf(text, sizeof text, "%04u", unsigned{ReadWord16(Bytes<2>(image, field))});
      return text;
    }
    case E::kTelephoneSlot:
      return short_layout ? DecodeDialDigits(Bytes<8>(image, field), DialKind::kTelephone)
                          : PoolFetch(image, first);
    case E::kAlarmCode:
      return DecodeDialDigits(Bytes<8>(image, field), DialKind::kAlarmCode);
    case E::kTransmitterCode:
      return DecodeTransmitterCode(first, image[field.address + 1]);
    case E::kAlarmDefinition:
    case E::kBits:
      return HexByteText(first);
    case E::kNumberPool:
      return PoolSummary(image);
  }
  return {};
}

bool FieldValueIsNumber(const FieldInfo& field) {
  switch (field.encoding) {
    case E::kByte:
    case E::kWord16:
    case E::kWord24:
    case E::kWord32:
    case E::kSerial32Le:
    case E::kSigned8:
    case E::kSigned32:
    case E::kFlag:
    case E::kLedFlag:
    case E::kList:
    case E::kTimer:
    case E::kTensOfSeconds:
    case E::kYear2000:
      return true;
    default:
      return false;
  }
}

FieldParseResult ParseFieldValue(ParameterImage& image, const FieldInfo& field,
                                 const std::string& text) {
  if (field.never_written) return FieldParseResult::kNotWritable;
  long long value = 0;
  FieldParseResult result = FieldParseResult::kOk;
  std::uint8_t* bytes = image.data() + field.address;
  switch (field.encoding) {
    case E::kByte:
    case E::kFlag:
    case E::kTimer:
    case E::kSigned8:
    case E::kList:
      if ((result = ParseNumber(field, text, value)) != FieldParseResult::kOk) return result;
      if (field.encoding == E::kList && field.list_mode == ListMode::kNonZeroIsYes) {
        value = value != 0;
      }
      bytes[0] = static_cast<std::uint8_t>(value);
      return result;
    case E::kLedFlag:
      if ((result = ParseNumber(field, text, value)) != FieldParseResult::kOk) return result;
      bytes[0] = value ? 0x80 : 0;
      return result;
    case E::kAlarmDefinition:
    case E::kBits:
      if ((result = ParseNumber(field, text, value, true)) != FieldParseResult::kOk) {
        return result;
      }
      bytes[0] = static_cast<std::uint8_t>(value);
      return result;
    case E::kTensOfSeconds:
      if ((result = ParseNumber(field, text, value)) != FieldParseResult::kOk) return result;
      bytes[0] = static_cast<std::uint8_t>(value / 10);
      return result;
    case E::kYear2000:
      if ((result = ParseNumber(field, text, value)) != FieldParseResult::kOk) return result;
      bytes[0] = static_cast<std::uint8_t>(value - 2000);
      return result;
    case E::kWord16:
    case E::kPin:
      if ((result = ParseNumber(field, text, value)) != FieldParseResult::kOk) return result;
      WriteWord16(Bytes<2>(image, field), static_cast<std::uint16_t>(value));
      return result;
    case E::kWord24:
      if ((result = ParseNumber(field, text, value)) != FieldParseResult::kOk) return result;
      bytes[0] = static_cast<std::uint8_t>(value >> 16);
      bytes[1] = static_cast<std::uint8_t>(value >> 8);
      bytes[2] = static_cast<std::uint8_t>(value);
      return result;
    case E::kWord32:
    case E::kSigned32:
      if ((result = ParseNumber(field, text, value)) != FieldParseResult::kOk) return result;
      WriteWord32(Bytes<4>(image, field), static_cast<std::uint32_t>(value));
      return result;
    case E::kSerial32Le:
      if ((result = ParseNumber(field, text, value)) != FieldParseResult::kOk) return result;
      for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
      return result;
    case E::kText: {
      const std::string stored = field.keep_spaces ? text : RemoveSpaces(text);
      if (!IsPrintableAscii(stored)) return FieldParseResult::kBadValue;
      if (static_cast<int>(stored.size()) > field.max_chars) return FieldParseResult::kTooLong;
      WriteImageText(std::span<std::uint8_t>(bytes, field.width), stored);
      return result;
    }
    case E::kIpv4:
    case E::kMac: {
      const bool mac = field.encoding == E::kMac;
      std::vector<std::string> parts;
      if (!SplitParts(text, mac ? '-' : '.', field.width, parts)) {
        return FieldParseResult::kBadValue;
      }
      std::vector<std::uint8_t> octets;
      for (const std::string& part : parts) {
        if (mac) {
          if (part.size() != 2 || !AcceptsHexKey(part[0]) || !AcceptsHexKey(part[1])) {
            return FieldParseResult::kBadValue;
          }
          octets.push_back(HexPairValue(part));
        } else {
          if (!ParseInteger(part, value)) return FieldParseResult::kBadValue;
          if (value < 0 || value > 255) return FieldParseResult::kOutOfRange;
          octets.push_back(static_cast<std::uint8_t>(value));
        }
      }
      std::copy(octets.begin(), octets.end(), bytes);
      return result;
    }
    case E::kTenthVolt: {
      double volts = 0;
      if (!ParseReal(text, volts)) return FieldParseResult::kBadValue;
      const std::optional<std::uint8_t> stored = EncodeTenthVolt(volts);
      if (!stored) return FieldParseResult::kOutOfRange;
      bytes[0] = *stored;
      return result;
    }
    case E::kDuplex: {
      double number = 0;
      if (!ParseReal(text, number)) return FieldParseResult::kBadValue;
      if (number < 0 && field.duplex_form == DuplexForm::kTime) {
        return FieldParseResult::kOutOfRange;
      }
      WriteWord32(Bytes<4>(image, field), EncodeDuplex(number, field.duplex_form));
      return result;
    }
    case E::kAlarmCode:
      if (text.size() > 16) return FieldParseResult::kTooLong;
      if (!std::all_of(text.begin(), text.end(), AcceptsAlarmCodeKey)) {
        return FieldParseResult::kBadValue;
      }
      {
        const DialField field_bytes = EncodeDialDigits(text, DialKind::kAlarmCode);
        std::copy(field_bytes.begin(), field_bytes.end(), bytes);
      }
      return result;
    case E::kTransmitterCode: {
      if (!text.empty() &&
          (text.size() != 4 || !std::all_of(text.begin(), text.end(), AcceptsHexKey))) {
        return FieldParseResult::kBadValue;
      }
      const std::array<std::uint8_t, 2> code = EncodeTransmitterCode(text);
      bytes[0] = code[0];
      bytes[1] = code[1];
      return result;
    }
    case E::kVersion:
      return FieldParseResult::kNotWritable;
    case E::kTelephoneSlot:
    case E::kNumberPool:
      return FieldParseResult::kNeedsPool;
  }
  return FieldParseResult::kBadValue;
}

int TimeZoneGroupFor(int time_zone_value) {
  if (time_zone_value < 2) return 0;
  if (time_zone_value <= 6) return 1;
  if (time_zone_value <= 13) return 2;
  return time_zone_value;
}

std::vector<InvalidByte> ValidateImage(const ParameterImage& image, const ListMembership& in_list) {
  std::vector<InvalidByte> invalid;
  for (const FieldInfo& field : FieldCatalogue()) {
    const std::uint8_t value = image[field.address];
    bool bad = false;
    if (field.encoding == E::kList && field.list_reported && !field.alternate) {
      bad = !in_list(field, value);
    } else if (field.name == "TestAlarmInterval") {
      bad = value == 0;
    } else if (field.name == "TimeZoneGroup") {
      const int group = static_cast<std::int8_t>(value);
      bad = group < field.min_value || group > field.max_value;
    }
    if (bad) invalid.push_back({field.address, value, &field});
  }
  return invalid;
}

}  // namespace vyn
