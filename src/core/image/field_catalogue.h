#pragma once

// The catalogue of every named field of the parameter image: where it lies, how it is encoded
// and what it means. The text list, vynctl, the editor and the default-configuration generator
// all read this one table; no other code keeps field addresses of its own.
//
// Naming: a field keeps the unit's own name where it has one ("TestAlarmInterval"); fields
// the unit leaves unnamed get a descriptive PascalCase name ("DtmfToneDuration"). Members of
// a family carry a dot and their number or letter: "TransmitterCode.3", "Protocol.A",
// "CallSequence.2.4" (sequence 2, step 4), "SequenceNumber.Smoke", "AlarmTypeDefinition.
// DoorAlarm", "Advanced.46" for the advanced rows that only the settings file describes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/codecs.h"
#include "core/image/parameter_image.h"

namespace vyn {

enum class FieldEncoding {
  kByte,             // unsigned 8-bit
  kWord16,           // 16-bit big-endian
  kWord24,           // 24-bit big-endian (the serial number)
  kWord32,           // 32-bit big-endian unsigned
  kSerial32Le,       // 32-bit little-endian (the PCB serial, the one exception)
  kSigned8,          // two's complement byte
  kSigned32,         // 32-bit big-endian two's complement
  kFlag,             // 1 on, 0 off
  kLedFlag,          // 0 off, 0x80 on; any non-zero byte reads as on
  kList,             // a key of a list section of the settings file
  kText,             // ASCII up to a 0 byte
  kIpv4,             // four octets, first at the lowest address
  kMac,              // six bytes in hex pairs
  kVersion,          // version record
  kTimer,            // timer code, see `timer_kind`
  kTenthVolt,        // units of 0.1 V, 0.0-7.5 V
  kDuplex,           // 32-bit duplex value, see `duplex_form`
  kTensOfSeconds,    // units of 10 s
  kYear2000,         // year minus 2000
  kPin,              // 16-bit number shown as four digits
  kTelephoneSlot,    // pool index in the full layout, 16 dial digits in the short layout
  kAlarmCode,        // 16 dial digits, alarm-code letters
  kTransmitterCode,  // four hex digits, first pair in the lower byte
  kAlarmDefinition,  // alarm type definition bit field
  kBits,             // a set of single-bit switches, shown in hex
  kNumberPool,       // the length-prefixed number texts
};
inline constexpr int kFieldEncodingCount = static_cast<int>(FieldEncoding::kNumberPool) + 1;

// How a list-valued byte relates to its list.
enum class ListMode {
  kCode,             // the byte is an item's key
  kStopAtSeparator,  // as kCode, the list ending before its first "---" entry
  kPosition,         // the byte is used directly as the list position (TimeZoneIndex)
  kNonZeroIsYes,     // read as on/off: any non-zero byte selects key 1 (DiallingInSpeaker)
};

struct FieldInfo {
  std::string name;
  std::uint16_t address = 0;
  std::uint16_t width = 1;
  FieldEncoding encoding = FieldEncoding::kByte;
  // Text-list label of the KEMB GmbH and KEMB UK editions (or the meaning where the text list
  // has no line), and the label of every other edition where it differs. The list prints it
  // before its colon and underscores, unless its row words the line itself ("Number" under the
  // SIP heading).
  std::string label;
  std::string label_other;

  // kList
  std::string list_section;
  ListMode list_mode = ListMode::kCode;
  bool list_reported = true;  // a byte outside the list is reported on load

  TimerKind timer_kind = TimerKind::kHoursDaysMinutes;  // kTimer
  DuplexForm duplex_form = DuplexForm::kAttack;         // kDuplex
  bool keep_spaces = false;  // kText: written as entered instead of with spaces removed
  int max_chars = 0;         // kText: longest text, at most width - 1

  // Accepted range of the value in its display form (numbers only).
  long long min_value = 0;
  long long max_value = 0;
  // The load validation reports a value outside the range (TestAlarmInterval's 0, a
  // TimeZoneGroup beyond -12..12), as it reports list values that are not in their list.
  bool load_checks_range = false;

  int advanced_row = 0;  // 1-56 for the rows of the advanced table, else 0
  // The advanced row takes its address from the settings file's first column; `address` is
  // the one the text list names.
  bool advanced_address_in_settings = false;
  bool product_info = false;   // describes the individual unit
  bool never_written = false;  // versions, the SIM's number: filled by the unit only
  // The text list shows the field in a line of its own (or, for the call-sequence steps, in
  // their sequence's line). The list is a fixed file format; a field it does not name says so
  // here, in its own row, and the list's test holds the two together.
  bool in_text_list = true;
  // A second reading of bytes that another field already names (the byte at 0x0B0 outside
  // the KEMB editions); left out of listings and comparisons.
  bool alternate = false;

  int last() const { return address + width - 1; }
};

// Every field, in address-map order (families in their own order).
const std::vector<FieldInfo>& FieldCatalogue();
const FieldInfo* FindField(std::string_view name);
// The primary (non-alternate) field whose bytes include `address`, or nullptr.
const FieldInfo* FieldAt(int address);
// The 56 rows of the advanced table, row 1 first.
std::vector<const FieldInfo*> AdvancedRows();
inline constexpr int kAdvancedRowCount = 56;

// The label for the market edition named `edition_name` (KEMB GmbH and KEMB UK share theirs).
const std::string& FieldLabel(const FieldInfo& field, std::string_view edition_name);

struct AddressRange {
  int first;
  int last;  // inclusive
  constexpr int size() const { return last - first + 1; }
  constexpr bool Contains(int address) const { return address >= first && address <= last; }
};

// Areas of the image with their own rules.
inline constexpr AddressRange kNumberSlotRange{0x010, 0x03F};
inline constexpr AddressRange kAlarmCodeRange{0x040, 0x06F};
inline constexpr AddressRange kNumberPoolRange{0x600, 0x76F};
inline constexpr AddressRange kShortLayoutRange{0x000, 0x1FF};

// Ranges the device write treats on their own.
inline constexpr AddressRange kMainSettingsRange{0x000, 0x0FF};
inline constexpr AddressRange kProductDataRange{0x0F7, 0x102};
inline constexpr AddressRange kPcbProductionRange{0x149, 0x152};
inline constexpr AddressRange kUpgradeRequest1Range{0x160, 0x160};
inline constexpr AddressRange kVersionBlockRange{0x163, 0x17F};
inline constexpr AddressRange kRadioClass1CalibrationRange{0x181, 0x184};
inline constexpr AddressRange kSimPinRange{0x191, 0x194};
inline constexpr AddressRange kMacAndLinkRange{0x1F0, 0x1F7};
inline constexpr AddressRange kSip2ServerUserRange{0x360, 0x3FF};
inline constexpr AddressRange kSip2PasswordRestRange{0x400, 0x43F};
inline constexpr AddressRange kAccessPasswordRange{0x440, 0x44F};
inline constexpr AddressRange kProductionRestRange{0x450, 0x453};
inline constexpr AddressRange kSip2SettingsRange{0x460, 0x466};
inline constexpr AddressRange kSipAccountsRange{0x46D, 0x4DF};
inline constexpr AddressRange kSip1AndNetworkAlarmRange{0x500, 0x5AF};
inline constexpr AddressRange kOutboundProxyStartRange{0x7A0, 0x7A1};

// The areas that describe the individual unit; `min_level` is the access level from which the
// editor lets them be changed (0: never written by the tool).
struct ProductArea {
  std::string_view name;
  AddressRange range;
  int min_level;
};
inline constexpr ProductArea kProductAreas[] = {
    {"RadioCalibration", {0x0F7, 0x0F7}, 6}, {"ProductModel", {0x0F8, 0x0F8}, 6},
    {"CountryCode", {0x0F9, 0x0F9}, 4},      {"AssemblyDate", {0x0FA, 0x0FC}, 6},
    {"SerialNumber", {0x0FD, 0x0FF}, 6},     {"PcbProductionData", {0x149, 0x152}, 6},
    {"BootVersion", {0x167, 0x16C}, 0},      {"ApplicationVersion", {0x170, 0x175}, 0},
    {"HwVersion", {0x176, 0x176}, 6},        {"RadioClass1Calibration", {0x181, 0x184}, 6},
    {"MacAddress", {0x1F0, 0x1F5}, 6},       {"AssemblyDate.Rest", {0x451, 0x453}, 6},
};

// Letters of the six call numbers, in slot order.
inline constexpr char kNumberLetters[6] = {'A', 'B', 'C', 'D', 'N', 'V'};

}  // namespace vyn
