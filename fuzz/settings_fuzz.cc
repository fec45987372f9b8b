// The settings file reader and writer: any file reads without harm, and writing one key leaves
// every other key reading as before while the written key reads back as written.

#include <cstdint>
#include <string>
#include <vector>

#include "core/settings/profile_file.h"
#include "core/settings/text_encoding.h"
#include "core/settings/vyn_ini.h"
#include "fuzz_support.h"

namespace {

// Names that the file commonly holds, and a few the input adds.
const char* const kSections[] = {"Setup", "AlarmType", "Print", "ValueAdvanced", "x"};
const char* const kKeys[] = {"ConfigDirectory", "AppVersion", "0", "1", "2",
                             "Addr_1",          "Lines",      "k"};

std::string Trimmed(std::string text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  std::size_t first = 0;
  while (first < text.size() && blank(text[first])) ++first;
  return text.substr(first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vyn;
  fuzz::Input input(data, size);
  std::vector<std::string> sections(std::begin(kSections), std::end(kSections));
  std::vector<std::string> keys(std::begin(kKeys), std::end(kKeys));
  sections.push_back(input.Bytes(8));
  keys.push_back(input.Bytes(8));
  const std::string& section = sections[input.Below(static_cast<unsigned>(sections.size()))];
  const std::string& key = keys[input.Below(static_cast<unsigned>(keys.size()))];
  const std::string value = input.Bytes(24);
  const std::string path = fuzz::ScratchFile("Values.ini", input.Rest());

  const ProfileFile file(path);
  // One read per section; every key of the section is looked up in it.
  const auto read_all = [&] {
    std::vector<std::string> values;
    for (const std::string& s : sections) {
      const std::optional<ProfileSection> found = file.ReadSection(s);
      for (const std::string& k : keys)
        values.push_back(found ? found->Value(k, "<none>") : "<none>");
    }
    return values;
  };
  const std::vector<std::string> before = read_all();

  // The readers of VynIni over the same file.
  const VynIni ini(path);
  ChoiceList list;
  std::vector<int> table;
  const int count = ini.FillList(list, "AlarmType", table, 100, true);
  FUZZ_CHECK(count >= 0 && count <= 100);
  FUZZ_CHECK(table.size() == static_cast<std::size_t>(count) + 1 && table.back() == kValueTableEnd);
  FUZZ_CHECK(ini.ValueAdvanced().rows.size() <= static_cast<std::size_t>(kAdvancedEntryLast));
  FUZZ_CHECK(ini.LocationCodes("LocationCodesTT92").size() <= kLocationCodeLast + 1u);
  ini.ReadPrintLayout();

  if (file.WriteString(section, key, value) != ProfileWriteResult::kWritten) return 0;
  // Only names in UTF-8 are written; a value's malformed sequences are repaired.
  FUZZ_CHECK(IsValidUtf8(section) && IsValidUtf8(key));
  const std::string written = file.ReadString(section, key, "<none>");
  FUZZ_CHECK_THAT(written == Trimmed(RepairUtf8(value)), "read back '" + written + "'");
  const std::vector<std::string> after = read_all();
  std::size_t i = 0;
  for (const std::string& s : sections) {
    for (const std::string& k : keys) {
      const bool same_key = EqualsIgnoringAsciiCase(Trimmed(s), Trimmed(section)) &&
                            EqualsIgnoringAsciiCase(Trimmed(k), Trimmed(key));
      if (!same_key)
        FUZZ_CHECK_THAT(after[i] == before[i],
                        s + "/" + k + ": '" + before[i] + "' became '" + after[i] + "'");
      ++i;
    }
  }
  return 0;
}
