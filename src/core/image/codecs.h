#pragma once

// The unit's field encodings in both directions, and the key filters of the input boxes.
// Every function is pure: bytes or text in, bytes or text out.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace vyn {

using DialField = std::array<std::uint8_t, 8>;

// Which letter table a dial field uses: telephone numbers write "C" for nibble 0xC, alarm codes
// (ID numbers) write "A" there because nibble 0xA is the end mark.
enum class DialKind { kTelephone, kAlarmCode };

// Transmitter ID codes: four hex digits, the first two in the lower byte.
std::string DecodeTransmitterCode(std::uint8_t first, std::uint8_t second);
std::array<std::uint8_t, 2> EncodeTransmitterCode(const std::string& text);

std::string HexPairText(std::uint8_t value);
// First two characters of `text` (missing ones count as 0).
std::uint8_t HexPairValue(const std::string& text);

std::string DecodeDialDigits(std::span<const std::uint8_t, 8> field, DialKind kind);
// A text longer than 16 characters is cut at 16: the field never grows past its 8 bytes.
DialField EncodeDialDigits(const std::string& text, DialKind kind);

std::string ByteText(std::uint8_t value);
std::string Word16Text(std::span<const std::uint8_t, 2> bytes);
std::string Word32Text(std::span<const std::uint8_t, 4> bytes);

// Byte order. Multi-byte numbers are big-endian, most significant byte first; the PCB serial
// number is the one little-endian exception. No other code puts bytes together.
std::uint16_t ReadWord16(std::span<const std::uint8_t, 2> bytes);
std::uint32_t ReadWord24(std::span<const std::uint8_t, 3> bytes);
std::uint32_t ReadWord32(std::span<const std::uint8_t, 4> bytes);
std::uint32_t ReadWord32Le(std::span<const std::uint8_t, 4> bytes);
void WriteWord16(std::span<std::uint8_t, 2> bytes, std::uint16_t value);
void WriteWord24(std::span<std::uint8_t, 3> bytes, std::uint32_t value);
void WriteWord32(std::span<std::uint8_t, 4> bytes, std::uint32_t value);
void WriteWord32Le(std::span<std::uint8_t, 4> bytes, std::uint32_t value);

// The raw form of a run of bytes: "0x" and two upper-case hex digits a byte, in address order
// ("0x00FFFFFF"). ParseRawBytes takes it back (either case), and only when it has exactly two
// digits for every byte of `bytes`; nothing is written otherwise.
std::string RawBytesText(std::span<const std::uint8_t> bytes);
bool IsRawBytesText(const std::string& text);
bool ParseRawBytes(const std::string& text, std::span<std::uint8_t> bytes);

// The characters up to the first 0 byte, at most 255 and never past the field.
std::string ImageText(std::span<const std::uint8_t> field);
// Writes `text` and its terminator into a field of `room` bytes; a longer text is cut to
// room - 1 characters so that the following field is never overwritten. Bytes after the
// terminator are left as they were.
void WriteImageText(std::span<std::uint8_t> field, const std::string& text);
std::string RemoveSpaces(const std::string& text);

std::string JoinNumberPair(const std::string& first, const std::string& second);
std::pair<std::string, std::string> SplitNumberPair(const std::string& text);

// Timer codes of the interval bytes.
enum class TimerKind {
  kHoursDaysMinutes,  // passive alarm and test alarm interval: 1-100 h, 101-200 d, 201-255 min
  kHoursMinutes       // mains failure delay: 1-200 h, 201-255 min
};
enum class TimerUnit { kHours, kDays, kMinutes };
struct TimerReading {
  int value;
  TimerUnit unit;
};
TimerReading TimerCodeText(std::uint8_t code, TimerKind kind);

// Tenth-volt form: nullopt when the value is below 0.0 or above 7.5.
std::optional<std::uint8_t> EncodeTenthVolt(double volts);
double DecodeTenthVolt(std::uint8_t stored);
std::string TenthVoltText(std::uint8_t stored);  // "7.5"

// Duplex conversions of the advanced table; the table value is a number (dB/ms, ms or dB).
enum class DuplexForm { kAttack, kRelease, kTime, kThreshold };
std::uint32_t EncodeDuplex(double value, DuplexForm form);
double DecodeDuplex(std::uint32_t stored, DuplexForm form);
// The text the table shows: three decimals rounded half up (0 for a stored 0), or the whole
// quotient for the time form.
std::string DuplexText(std::uint32_t stored, DuplexForm form);
// A number rounded half up to three decimals, always with three decimals ("1.001").
std::string ThreeDecimalsText(double value);

// Version records: 24-bit major, minor, build, release type.
std::string VersionText(std::span<const std::uint8_t, 6> record);

// Key filters: also accept the editing control characters 3, 8, 22 and 24.
bool AcceptsHexKey(char c);
bool AcceptsDialKey(char c);
bool AcceptsAlarmCodeKey(char c);
bool AcceptsDigitKey(char c);
bool AcceptsSignedKey(char c);
bool AcceptsPlusKey(char c);
bool AcceptsCommaKey(char c);

}  // namespace vyn
