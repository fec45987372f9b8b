#pragma once

// VynIni: the reader of the settings file "Values.ini", which carries the texts and codes of
// every choice list, the rows of the advanced table, the printed record's header and logo
// layout, the location-code tables, and the two values the program writes itself. Every
// operation reads the file once, afresh; nothing is cached.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/choice_list.h"
#include "core/settings/profile_file.h"

namespace vyn {

inline constexpr std::string_view kSetupSection = "Setup";
inline constexpr std::string_view kConfigDirectoryKey = "ConfigDirectory";
inline constexpr std::string_view kAppVersionKey = "AppVersion";

inline constexpr std::string_view kAlarmTypeSection = "AlarmType";
inline constexpr std::string_view kProtocolSection = "Protocol";
inline constexpr std::string_view kSequenceNumberSection = "SequenceNumber";
inline constexpr std::string_view kCallSequenceSection = "CallSequence";
inline constexpr std::string_view kAccountToUseSection = "AccountToUse";
inline constexpr std::string_view kYesNoSection = "YesNo";
inline constexpr std::string_view kTimezoneSection = "Timezone";
inline constexpr std::string_view kWarningFunctionSection = "WarningFunction";
inline constexpr std::string_view kLoudspeakerVolumeSection = "LoudspeakerVolume";
inline constexpr std::string_view kPrecallTypeSection = "PrecallType";
inline constexpr std::string_view kServiceCallTypeSection = "ServiceCallType";
inline constexpr std::string_view kLineVolumeSection = "LineVolume";

inline constexpr std::string_view kValueAdvancedSection = "ValueAdvanced";
inline constexpr std::string_view kPrintSection = "Print";
inline constexpr std::string_view kLocationCodesBS8521Section = "LocationCodesBS8521";
inline constexpr std::string_view kLocationCodesTT92Section = "LocationCodesTT92";

// The list sections and how many entries each list holds at most.
struct ListSection {
  std::string_view name;
  int capacity;
};
inline constexpr ListSection kListSections[] = {
    {kAlarmTypeSection, 100},   {kProtocolSection, 20},        {kSequenceNumberSection, 10},
    {kCallSequenceSection, 10}, {kAccountToUseSection, 20},    {kYesNoSection, 5},
    {kTimezoneSection, 100},    {kWarningFunctionSection, 10}, {kLoudspeakerVolumeSection, 10},
    {kPrecallTypeSection, 10},  {kServiceCallTypeSection, 7},  {kLineVolumeSection, 20},
};
// The capacity of a list section (names match without regard to case); 0 for other names.
int ListCapacity(std::string_view section);

// Ends every value table; also the highest key a list section is read to, so a section
// without "<END>" cannot make FillList read without bound.
inline constexpr int kValueTableEnd = 999;
inline constexpr std::string_view kListEnd = "<END>";
inline constexpr std::string_view kListEmpty = "<EMPTY>";
inline constexpr std::string_view kListSeparator = "---";

// The advanced table as the settings file describes it.
inline constexpr int kAdvancedEntryLast = 511;
struct AdvancedRow {
  std::string addr;  // the parameter's device address in decimal
  std::string desc;
  std::string value;  // always "0" until an image is shown
  std::string unit;
};
struct AdvancedTable {
  std::array<std::string, 4> headings;  // Addr, Desc, Value, Unit
  std::vector<AdvancedRow> rows;        // only the entries with an address, in key order
};

// The printed record's header and logo placement, in millimetres (text size in points).
struct PrintLayout {
  std::string logo_name;  // relative to the executable's folder; empty when not given
  int logo_pos_x = 20;
  int logo_pos_y = 15;
  int logo_size_x = 22;
  int logo_size_y = 22;
  int header_center_x = 105;
  std::optional<int> header_pos_x;  // when given, the title starts here instead of centred
  int header_pos_y = 23;
  int header_text_size = 18;
};

inline constexpr int kLocationCodeLast = 256;
struct LocationCodeEntry {
  int code;
  std::string meaning;
};

class VynIni {
 public:
  explicit VynIni(std::string file_name) : file_(std::move(file_name)) {}

  void SetFileName(std::string file_name) { file_ = ProfileFile(std::move(file_name)); }
  const std::string& FileName() const { return file_.Path(); }
  bool Exists() const { return file_.Exists(); }
  // Why the file cannot serve as the settings file, in words: what ProfileFile::Problem says,
  // or "holds none of the program's lists" for a file without any list section (empty,
  // garbage, or cut off before its first list). Empty when it can.
  std::string Problem() const;
  // The list sections (kListSections) the file does not have, in their order.
  std::vector<std::string_view> MissingListSections() const;

  // Clears `list` and `value_table`, then appends the section's entries in key order "0", "1",
  // ... (missing keys read as "<EMPTY>" and are skipped) until "<END>", until the list holds
  // `capacity` entries, or after the last key below kValueTableEnd. With `stop_at_separator`
  // a value beginning "---" ends the list as well. `value_table` receives each entry's key and
  // then kValueTableEnd. The first entry is selected. Returns the number of entries: 0 when the
  // section is missing, the list then being empty and the table holding only the end mark.
  int FillList(ChoiceList& list, std::string_view section, std::vector<int>& value_table,
               int capacity, bool stop_at_separator) const;

  // The position whose key is `code`; -1 when the end mark (or the end of the table) comes
  // first.
  static int PositionOfValue(const std::vector<int>& value_table, int code);
  // The key at `position`; nullopt for -1 (nothing chosen) and for positions at or past the
  // end mark, where there is no value to store.
  static std::optional<int> ValueAtPosition(const std::vector<int>& value_table, int position);

  // The value, or an empty text when the key or the file is missing.
  std::string ReadText(std::string_view section, std::string_view key) const;
  // Writes the value, creating the file, section and key when needed; false when the file could
  // not be written (it is then left as it was).
  bool WriteText(std::string_view section, std::string_view key, std::string_view value) const;

  // The headings Addr, Desc, Value, Unit and, for n = 1 to 511, one row per non-empty "Addr_n".
  AdvancedTable ValueAdvanced() const;

  // The Print keys over their defaults; a missing key, a value that is not a whole number, or
  // -1 keeps the default, and so does a size that is not positive.
  PrintLayout ReadPrintLayout() const;

  // Codes 0 to 256 of a location-code section whose value is neither empty nor "<END>".
  std::vector<LocationCodeEntry> LocationCodes(std::string_view section) const;

 private:
  ProfileFile file_;
};

}  // namespace vyn
