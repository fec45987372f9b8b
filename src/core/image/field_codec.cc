#include "core/image/field_codec.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "core/image/codecs.h"
#include "core/image/number_pool.h"

namespace vyn {
namespace {

using E = FieldEncoding;
using R = FieldParseResult;

std::span<const std::uint8_t> Bytes(const ParameterImage& image, const FieldInfo& field) {
  return std::span<const std::uint8_t>(image).subspan(field.address, field.width);
}

std::span<std::uint8_t> Bytes(ParameterImage& image, const FieldInfo& field) {
  return std::span<std::uint8_t>(image).subspan(field.address, field.width);
}

template <std::size_t N>
std::span<const std::uint8_t, N> Fixed(const ParameterImage& image, const FieldInfo& field) {
  return Bytes(image, field).first<N>();
}

template <std::size_t N>
std::span<std::uint8_t, N> Fixed(ParameterImage& image, const FieldInfo& field) {
  return Bytes(image, field).first<N>();
}

std::uint8_t First(const ParameterImage& image, const FieldInfo& field) {
  return image[field.address];
}

// ---- read and write

double ReadByte(const ParameterImage& image, const FieldInfo& field) { return First(image, field); }
bool WriteByte(ParameterImage& image, const FieldInfo& field, double value) {
  image[field.address] = static_cast<std::uint8_t>(static_cast<long long>(value));
  return true;
}

bool WriteListKey(ParameterImage& image, const FieldInfo& field, double value) {
  if (field.list_mode == ListMode::kNonZeroIsYes) value = value != 0;
  return WriteByte(image, field, value);
}

double ReadSigned8(const ParameterImage& image, const FieldInfo& field) {
  return static_cast<std::int8_t>(First(image, field));
}

double ReadLedFlag(const ParameterImage& image, const FieldInfo& field) {
  return First(image, field) != 0 ? 1 : 0;
}
bool WriteLedFlag(ParameterImage& image, const FieldInfo& field, double value) {
  image[field.address] = value != 0 ? 0x80 : 0;
  return true;
}

double ReadTensOfSeconds(const ParameterImage& image, const FieldInfo& field) {
  return First(image, field) * 10;
}
bool WriteTensOfSeconds(ParameterImage& image, const FieldInfo& field, double seconds) {
  return WriteByte(image, field, static_cast<double>(static_cast<long long>(seconds) / 10));
}

double ReadYear(const ParameterImage& image, const FieldInfo& field) {
  return First(image, field) + 2000;
}
bool WriteYear(ParameterImage& image, const FieldInfo& field, double year) {
  return WriteByte(image, field, year - 2000);
}

// Whole numbers of N bytes in the byte order codecs.h gives them.
template <std::size_t N, auto Read>
double ReadNumber(const ParameterImage& image, const FieldInfo& field) {
  return Read(Fixed<N>(image, field));
}
template <std::size_t N, typename T, auto Write>
bool WriteNumber(ParameterImage& image, const FieldInfo& field, double value) {
  Write(Fixed<N>(image, field), static_cast<T>(static_cast<long long>(value)));
  return true;
}
constexpr auto ReadWord16At = ReadNumber<2, ReadWord16>;
constexpr auto ReadWord24At = ReadNumber<3, ReadWord24>;
constexpr auto ReadWord32At = ReadNumber<4, ReadWord32>;
constexpr auto ReadWord32LeAt = ReadNumber<4, ReadWord32Le>;
constexpr auto WriteWord16At = WriteNumber<2, std::uint16_t, WriteWord16>;
constexpr auto WriteWord24At = WriteNumber<3, std::uint32_t, WriteWord24>;
constexpr auto WriteWord32At = WriteNumber<4, std::uint32_t, WriteWord32>;
constexpr auto WriteWord32LeAt = WriteNumber<4, std::uint32_t, WriteWord32Le>;

double ReadSigned32At(const ParameterImage& image, const FieldInfo& field) {
  return static_cast<std::int32_t>(ReadWord32(Fixed<4>(image, field)));
}

double ReadTenthVolt(const ParameterImage& image, const FieldInfo& field) {
  return DecodeTenthVolt(First(image, field));
}
bool WriteTenthVolt(ParameterImage& image, const FieldInfo& field, double volts) {
  const std::optional<std::uint8_t> stored = EncodeTenthVolt(volts);
  if (stored) image[field.address] = *stored;
  return stored.has_value();
}

double ReadDuplex(const ParameterImage& image, const FieldInfo& field) {
  return DecodeDuplex(ReadWord32(Fixed<4>(image, field)), field.duplex_form);
}
bool WriteDuplex(ParameterImage& image, const FieldInfo& field, double value) {
  if (value < 0 && field.duplex_form == DuplexForm::kTime) return false;
  WriteWord32(Fixed<4>(image, field), EncodeDuplex(value, field.duplex_form));
  return true;
}

// ---- text

std::string IntegerText(const ParameterImage& image, const FieldInfo& field, bool) {
  return std::to_string(static_cast<long long>(CodecOf(field).read(image, field)));
}

std::string HexByteText(const ParameterImage& image, const FieldInfo& field, bool) {
  return "0x" + HexPairText(First(image, field));
}

std::string PinText(const ParameterImage& image, const FieldInfo& field, bool) {
  char text[8];
  std::snprintf(text, sizeof text, "%04u", unsigned{ReadWord16(Fixed<2>(image, field))});
  return text;
}

std::string TenthVoltFieldText(const ParameterImage& image, const FieldInfo& field, bool) {
  return TenthVoltText(First(image, field));
}

std::string DuplexFieldText(const ParameterImage& image, const FieldInfo& field, bool) {
  return DuplexText(ReadWord32(Fixed<4>(image, field)), field.duplex_form);
}

std::string TextFieldText(const ParameterImage& image, const FieldInfo& field, bool) {
  return ImageText(Bytes(image, field));
}

std::string JoinBytes(std::span<const std::uint8_t> bytes, char separator, bool hex) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i) text += separator;
    text += hex ? HexPairText(bytes[i]) : ByteText(bytes[i]);
  }
  return text;
}

std::string Ipv4Text(const ParameterImage& image, const FieldInfo& field, bool) {
  return JoinBytes(Bytes(image, field), '.', false);
}

std::string MacText(const ParameterImage& image, const FieldInfo& field, bool) {
  return JoinBytes(Bytes(image, field), '-', true);
}

std::string VersionFieldText(const ParameterImage& image, const FieldInfo& field, bool) {
  return VersionText(Fixed<6>(image, field));
}

std::string TelephoneText(const ParameterImage& image, const FieldInfo& field, bool short_layout) {
  return short_layout ? DecodeDialDigits(Fixed<8>(image, field), DialKind::kTelephone)
                      : PoolFetch(image, First(image, field));
}

std::string AlarmCodeText(const ParameterImage& image, const FieldInfo& field, bool) {
  return DecodeDialDigits(Fixed<8>(image, field), DialKind::kAlarmCode);
}

std::string TransmitterCodeText(const ParameterImage& image, const FieldInfo& field, bool) {
  return DecodeTransmitterCode(First(image, field), image[field.address + 1]);
}

std::string PoolSummary(const ParameterImage& image, const FieldInfo&, bool) {
  int entries = 0;
  int position = kNumberPoolRange.first;
  while (position <= kNumberPoolRange.last && image[position] != 0) {
    position += image[position] + 1;
    ++entries;
  }
  const int used = std::min(position, kNumberPoolRange.last + 1) - kNumberPoolRange.first;
  return std::to_string(entries) + " entries, " + std::to_string(used) + " bytes";
}

// ---- parse

// A whole decimal number (or "0x" hex where `allow_hex`), nothing else around it.
bool ParseInteger(const std::string& text, long long& value, bool allow_hex) {
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

R ParseNumber(ParameterImage& image, const FieldInfo& field, const std::string& text) {
  const FieldCodec& codec = CodecOf(field);
  double value = 0;
  if (codec.syntax == NumberSyntax::kReal) {
    if (!ParseReal(text, value)) return R::kBadValue;
  } else {
    long long whole = 0;
    if (!ParseInteger(text, whole, codec.syntax == NumberSyntax::kIntegerOrHex)) {
      return R::kBadValue;
    }
    if (whole < field.min_value || whole > field.max_value) return R::kOutOfRange;
    value = static_cast<double>(whole);
  }
  return codec.write(image, field, value) ? R::kOk : R::kOutOfRange;
}

bool IsPrintableAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

R ParseText(ParameterImage& image, const FieldInfo& field, const std::string& text) {
  const std::string stored = field.keep_spaces ? text : RemoveSpaces(text);
  if (!IsPrintableAscii(stored)) return R::kBadValue;
  if (static_cast<int>(stored.size()) > field.max_chars) return R::kTooLong;
  WriteImageText(Bytes(image, field), stored);
  return R::kOk;
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

R ParseIpv4(ParameterImage& image, const FieldInfo& field, const std::string& text) {
  std::vector<std::string> parts;
  if (!SplitParts(text, '.', field.width, parts)) return R::kBadValue;
  std::vector<std::uint8_t> octets;
  for (const std::string& part : parts) {
    long long value = 0;
    if (!ParseInteger(part, value, false)) return R::kBadValue;
    if (value < 0 || value > 255) return R::kOutOfRange;
    octets.push_back(static_cast<std::uint8_t>(value));
  }
  std::copy(octets.begin(), octets.end(), Bytes(image, field).begin());
  return R::kOk;
}

R ParseMac(ParameterImage& image, const FieldInfo& field, const std::string& text) {
  std::vector<std::string> parts;
  if (!SplitParts(text, '-', field.width, parts)) return R::kBadValue;
  std::vector<std::uint8_t> octets;
  for (const std::string& part : parts) {
    if (part.size() != 2 || !AcceptsHexKey(part[0]) || !AcceptsHexKey(part[1])) {
      return R::kBadValue;
    }
    octets.push_back(HexPairValue(part));
  }
  std::copy(octets.begin(), octets.end(), Bytes(image, field).begin());
  return R::kOk;
}

R ParseAlarmCode(ParameterImage& image, const FieldInfo& field, const std::string& text) {
  if (text.size() > 16) return R::kTooLong;
  if (!std::all_of(text.begin(), text.end(), AcceptsAlarmCodeKey)) return R::kBadValue;
  const DialField digits = EncodeDialDigits(text, DialKind::kAlarmCode);
  std::copy(digits.begin(), digits.end(), Bytes(image, field).begin());
  return R::kOk;
}

R ParseTransmitterCode(ParameterImage& image, const FieldInfo& field, const std::string& text) {
  if (!text.empty() &&
      (text.size() != 4 || !std::all_of(text.begin(), text.end(), AcceptsHexKey))) {
    return R::kBadValue;
  }
  const std::array<std::uint8_t, 2> code = EncodeTransmitterCode(text);
  std::copy(code.begin(), code.end(), Bytes(image, field).begin());
  return R::kOk;
}

R NotWritable(ParameterImage&, const FieldInfo&, const std::string&) { return R::kNotWritable; }

R ThroughThePool(ParameterImage&, const FieldInfo&, const std::string&) { return R::kNeedsPool; }

// ---- the table

constexpr long long kMinInt32 = std::numeric_limits<std::int32_t>::min();
constexpr long long kMaxInt32 = std::numeric_limits<std::int32_t>::max();

struct Row {
  FieldEncoding encoding;
  FieldCodec codec;
};

// Number-valued encodings: their text is the number, their parse goes through the syntax, the
// range and the write.
constexpr FieldCodec Number(double (*read)(const ParameterImage&, const FieldInfo&),
                            bool (*write)(ParameterImage&, const FieldInfo&, double),
                            long long min_value, long long max_value,
                            std::string (*text)(const ParameterImage&, const FieldInfo&,
                                                bool) = IntegerText,
                            NumberSyntax syntax = NumberSyntax::kInteger, bool number_text = true) {
  return {read, write, text, ParseNumber, syntax, min_value, max_value, number_text, true};
}

// Encodings whose value is a text of their own form.
constexpr FieldCodec Text(std::string (*text)(const ParameterImage&, const FieldInfo&, bool),
                          FieldParseResult (*parse)(ParameterImage&, const FieldInfo&,
                                                    const std::string&),
                          bool raw_form) {
  return {nullptr, nullptr, text, parse, NumberSyntax::kNone, 0, 0xFF, false, raw_form};
}

constexpr Row kRows[] = {
    {E::kByte, Number(ReadByte, WriteByte, 0, 0xFF)},
    {E::kWord16, Number(ReadWord16At, WriteWord16At, 0, 0xFFFF)},
    {E::kWord24, Number(ReadWord24At, WriteWord24At, 0, 0xFFFFFF)},
    {E::kWord32, Number(ReadWord32At, WriteWord32At, 0, 0xFFFFFFFFLL)},
    {E::kSerial32Le, Number(ReadWord32LeAt, WriteWord32LeAt, 0, 0xFFFFFFFFLL)},
    {E::kSigned8, Number(ReadSigned8, WriteByte, -128, 127)},
    {E::kSigned32, Number(ReadSigned32At, WriteWord32At, kMinInt32, kMaxInt32)},
    {E::kFlag, Number(ReadByte, WriteByte, 0, 1)},
    {E::kLedFlag, Number(ReadLedFlag, WriteLedFlag, 0, 1)},
    {E::kList, Number(ReadByte, WriteListKey, 0, 0xFF)},
    {E::kText, Text(TextFieldText, ParseText, false)},
    {E::kIpv4, Text(Ipv4Text, ParseIpv4, true)},
    {E::kMac, Text(MacText, ParseMac, true)},
    {E::kVersion, Text(VersionFieldText, NotWritable, false)},
    {E::kTimer, Number(ReadByte, WriteByte, 0, 0xFF)},
    {E::kTenthVolt, Number(ReadTenthVolt, WriteTenthVolt, 0, 0xFF, TenthVoltFieldText,
                           NumberSyntax::kReal, false)},
    {E::kDuplex,
     Number(ReadDuplex, WriteDuplex, 0, 0xFF, DuplexFieldText, NumberSyntax::kReal, false)},
    {E::kTensOfSeconds, Number(ReadTensOfSeconds, WriteTensOfSeconds, 0, 2550)},
    {E::kYear2000, Number(ReadYear, WriteYear, 2000, 2255)},
    {E::kPin, Number(ReadWord16At, WriteWord16At, 0, 9999, PinText, NumberSyntax::kInteger, false)},
    {E::kTelephoneSlot, Text(TelephoneText, ThroughThePool, false)},
    {E::kAlarmCode, Text(AlarmCodeText, ParseAlarmCode, true)},
    {E::kTransmitterCode, Text(TransmitterCodeText, ParseTransmitterCode, true)},
    {E::kAlarmDefinition,
     Number(ReadByte, WriteByte, 0, 0xFF, HexByteText, NumberSyntax::kIntegerOrHex, false)},
    {E::kBits,
     Number(ReadByte, WriteByte, 0, 0xFF, HexByteText, NumberSyntax::kIntegerOrHex, false)},
    {E::kNumberPool, Text(PoolSummary, ThroughThePool, false)},
};

constexpr bool EveryEncodingHasOneRow() {
  for (int e = 0; e < kFieldEncodingCount; ++e) {
    int rows = 0;
    for (const Row& row : kRows) rows += static_cast<int>(row.encoding) == e;
    if (rows != 1) return false;
  }
  return std::size(kRows) == kFieldEncodingCount;
}
static_assert(EveryEncodingHasOneRow(), "one codec row per encoding");

}  // namespace

const FieldCodec& CodecFor(FieldEncoding encoding) {
  static const std::array<const FieldCodec*, kFieldEncodingCount> by_encoding = [] {
    std::array<const FieldCodec*, kFieldEncodingCount> table{};
    for (const Row& row : kRows) table[static_cast<std::size_t>(row.encoding)] = &row.codec;
    return table;
  }();
  return *by_encoding[static_cast<std::size_t>(encoding)];
}

bool FieldValueInRange(const FieldInfo& field, double value) {
  return value >= static_cast<double>(field.min_value) &&
         value <= static_cast<double>(field.max_value);
}

}  // namespace vyn
