#include "core/settings/vyn_ini.h"

#include <charconv>
#include <iterator>
#include <string>

#include "core/settings/text_encoding.h"

namespace vyn {
namespace {

// A whole decimal number with an optional sign, nothing else.
std::optional<int> WholeNumber(std::string_view text) {
  if (text.starts_with('+')) text.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// Reads one Print key into `field`; -1 and anything that is not a number keep the default.
bool ReadPrintKey(const ProfileSection& section, std::string_view key, int& field,
                  bool positive_only = false) {
  const std::optional<std::string> text = section.Find(key);
  if (!text) return false;
  const std::optional<int> value = WholeNumber(*text);
  if (!value || *value == -1 || (positive_only && *value <= 0)) return false;
  field = *value;
  return true;
}

}  // namespace

int ListCapacity(std::string_view section) {
  for (const ListSection& list : kListSections) {
    if (EqualsIgnoringAsciiCase(list.name, section)) return list.capacity;
  }
  return 0;
}

std::string VynIni::Problem() const {
  if (std::string problem = file_.Problem(); !problem.empty()) return problem;
  if (MissingListSections().size() == std::size(kListSections)) {
    return "holds none of the program's lists";
  }
  return "";
}

std::vector<std::string_view> VynIni::MissingListSections() const {
  std::vector<std::string_view> missing;
  for (const ListSection& list : kListSections) {
    if (!file_.ReadSection(list.name)) missing.push_back(list.name);
  }
  return missing;
}

int VynIni::FillList(ChoiceList& list, std::string_view section, std::vector<int>& value_table,
                     int capacity, bool stop_at_separator) const {
  list.Clear();
  value_table.clear();
  const std::optional<ProfileSection> entries = file_.ReadSection(section);
  if (entries) {
    for (int key = 0; key < kValueTableEnd && list.Count() < capacity; ++key) {
      const std::string value = entries->Value(std::to_string(key), kListEmpty);
      if (value == kListEnd || (stop_at_separator && value.starts_with(kListSeparator))) break;
      if (value == kListEmpty) continue;
      list.Add(value, key);
      value_table.push_back(key);
    }
  }
  value_table.push_back(kValueTableEnd);
  list.SetItemIndex(0);
  return list.Count();
}

int VynIni::PositionOfValue(const std::vector<int>& value_table, int code) {
  for (std::size_t i = 0; i < value_table.size() && value_table[i] != kValueTableEnd; ++i) {
    if (value_table[i] == code) return static_cast<int>(i);
  }
  return -1;
}

std::optional<int> VynIni::ValueAtPosition(const std::vector<int>& value_table, int position) {
  for (std::size_t i = 0; i < value_table.size() && value_table[i] != kValueTableEnd; ++i) {
    if (static_cast<int>(i) == position) return value_table[i];
  }
  return std::nullopt;
}

std::string VynIni::ReadText(std::string_view section, std::string_view key) const {
  return file_.ReadString(section, key);
}

bool VynIni::WriteText(std::string_view section, std::string_view key,
                       std::string_view value) const {
  return file_.WriteString(section, key, value) == ProfileWriteResult::kWritten;
}

AdvancedTable VynIni::ValueAdvanced() const {
  AdvancedTable table;
  const std::optional<ProfileSection> entries = file_.ReadSection(kValueAdvancedSection);
  if (!entries) return table;
  table.headings = {entries->Value("Addr"), entries->Value("Desc"), entries->Value("Value"),
                    entries->Value("Unit")};
  for (int n = 1; n <= kAdvancedEntryLast; ++n) {
    const std::string number = std::to_string(n);
    std::string addr = entries->Value("Addr_" + number);
    if (addr.empty()) continue;
    table.rows.push_back(
        {std::move(addr), entries->Value("Desc_" + number), "0", entries->Value("Unit_" + number)});
  }
  return table;
}

PrintLayout VynIni::ReadPrintLayout() const {
  PrintLayout layout;
  const std::optional<ProfileSection> keys = file_.ReadSection(kPrintSection);
  if (!keys) return layout;
  layout.logo_name = keys->Value("LogoName");
  ReadPrintKey(*keys, "LogoPosX", layout.logo_pos_x);
  ReadPrintKey(*keys, "LogoPosY", layout.logo_pos_y);
  ReadPrintKey(*keys, "LogoSizeX", layout.logo_size_x, true);
  ReadPrintKey(*keys, "LogoSizeY", layout.logo_size_y, true);
  ReadPrintKey(*keys, "HeaderCenterX", layout.header_center_x);
  int header_pos_x = 0;
  if (ReadPrintKey(*keys, "HeaderPosX", header_pos_x)) layout.header_pos_x = header_pos_x;
  ReadPrintKey(*keys, "HeaderPosY", layout.header_pos_y);
  ReadPrintKey(*keys, "HeaderTextSize", layout.header_text_size, true);
  return layout;
}

std::vector<LocationCodeEntry> VynIni::LocationCodes(std::string_view section) const {
  std::vector<LocationCodeEntry> codes;
  const std::optional<ProfileSection> entries = file_.ReadSection(section);
  if (!entries) return codes;
  for (int code = 0; code <= kLocationCodeLast; ++code) {
    std::string meaning = entries->Value(std::to_string(code));
    if (meaning.empty() || meaning == kListEnd) continue;
    codes.push_back({code, std::move(meaning)});
  }
  return codes;
}

}  // namespace vyn
