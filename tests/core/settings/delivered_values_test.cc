// Checks of the settings file delivered with the program (data/Values.ini).

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "core/settings/text_encoding.h"
#include "core/settings/vyn_ini.h"
#include "support/temp_folder.h"

namespace vyn {
namespace {

const std::string kDelivered = VYN_SOURCE_DIR "/data/Values.ini";

std::vector<int> ListCodes(std::string_view section, bool stop_at_separator = false) {
  ChoiceList list;
  std::vector<int> table;
  VynIni(kDelivered).FillList(list, section, table, ListCapacity(section), stop_at_separator);
  table.pop_back();  // the end mark
  return table;
}

bool Within(const std::vector<int>& codes, int low, int high) {
  return std::all_of(codes.begin(), codes.end(), [&](int c) { return c >= low && c <= high; });
}

TEST(DeliveredValuesTest, IsUtf8) {
  EXPECT_TRUE(IsValidUtf8(testing::TempFolder::Read(kDelivered)));
}

TEST(DeliveredValuesTest, EveryListEndsWithinItsCapacityAndUsesByteCodes) {
  const VynIni ini(kDelivered);
  ASSERT_TRUE(ini.Exists());
  for (const ListSection& section : kListSections) {
    SCOPED_TRACE(std::string(section.name));
    const std::vector<int> codes = ListCodes(section.name);
    EXPECT_FALSE(codes.empty());
    // The whole section fits: its last entry is followed by "<END>".
    EXPECT_LE(static_cast<int>(codes.size()), section.capacity);
    EXPECT_EQ(ini.ReadText(section.name, std::to_string(codes.back() + 1)), "<END>");
    EXPECT_TRUE(Within(codes, 0, 255));
  }
}

TEST(DeliveredValuesTest, ListsHoldTheCodesTheUnitKnows) {
  EXPECT_EQ(ListCodes(kProtocolSection),
            (std::vector<int>{0, 1, 2, 3, 4, 8, 9, 16, 17, 18, 21, 22, 23, 24, 25, 26, 28}));
  EXPECT_EQ(ListCodes(kCallSequenceSection), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(ListCodes(kYesNoSection), (std::vector<int>{0, 1}));
  EXPECT_EQ(ListCodes(kWarningFunctionSection), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(ListCodes(kLoudspeakerVolumeSection), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(ListCodes(kPrecallTypeSection), (std::vector<int>{1, 2, 3, 4}));
  const std::vector<int> accounts = ListCodes(kAccountToUseSection);
  for (const int code : {1, 2, 3}) {
    EXPECT_NE(std::find(accounts.begin(), accounts.end(), code), accounts.end()) << code;
  }
  // Sequence choices name the four call sequences.
  EXPECT_TRUE(Within(ListCodes(kSequenceNumberSection), 0, 4));
}

TEST(DeliveredValuesTest, TimeZonesAreNumberedByPosition) {
  const std::vector<int> codes = ListCodes(kTimezoneSection);
  ASSERT_GE(codes.size(), 15u);
  for (std::size_t i = 0; i < codes.size(); ++i) EXPECT_EQ(codes[i], static_cast<int>(i));
}

TEST(DeliveredValuesTest, ExtraButtonListEndsAtASeparatorAndOffersTheDayButtonTypes) {
  const std::vector<int> all = ListCodes(kAlarmTypeSection);
  const std::vector<int> extra = ListCodes(kAlarmTypeSection, true);
  EXPECT_LT(extra.size(), all.size());
  const VynIni ini(kDelivered);
  EXPECT_TRUE(ini.ReadText(kAlarmTypeSection, std::to_string(extra.back() + 1)).starts_with("---"));
  // The day-button modes set the extra button's alarm type to 0 or 4.
  for (const int code : {0, 4}) {
    EXPECT_NE(std::find(extra.begin(), extra.end(), code), extra.end()) << code;
  }
}

TEST(DeliveredValuesTest, AdvancedTableListsTheParametersInTheirFixedOrder) {
  // The device address of each row; the row number decides the field and its conversion.
  const std::vector<int> addresses = {
      0x0E0, 0x0E1, 0x0E3, 0x5B5, 0x5B7, 0x1BC, 0x1BA, 0x0EF, 0x0F0, 0x0F6, 0x10D, 0x1BD,
      0x10F, 0x110, 0x111, 0x112, 0x114, 0x120, 0x124, 0x128, 0x12C, 0x130, 0x134, 0x138,
      0x5B9, 0x109, 0x10A, 0x10B, 0x10C, 0x11B, 0x15A, 0x185, 0x186, 0x187, 0x188, 0x189,
      0x5B4, 0x1B8, 0x1B9, 0x5B1, 0x5B3, 0x155, 0x153, 0x158, 0x156, 0x4F9, 0x4E2, 0x4E3,
      0x4FA, 0x5BE, 0x5BF, 0x4FF, 0x4EF, 0x4EE, 0x7E0, 0x7E1};
  const AdvancedTable table = VynIni(kDelivered).ValueAdvanced();
  for (const std::string& heading : table.headings) EXPECT_FALSE(heading.empty());
  ASSERT_EQ(table.rows.size(), addresses.size());
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i + 1));
    EXPECT_EQ(table.rows[i].addr, std::to_string(addresses[i]));
    EXPECT_FALSE(table.rows[i].desc.empty());
  }
}

TEST(DeliveredValuesTest, PrintAndLocationSectionsArePresent) {
  const VynIni ini(kDelivered);
  const PrintLayout layout = ini.ReadPrintLayout();
  const PrintLayout defaults;
  EXPECT_EQ(layout.header_center_x, defaults.header_center_x);
  EXPECT_EQ(layout.header_pos_x, std::nullopt);
  EXPECT_EQ(ini.ReadText(kPrintSection, "HeaderTextSize"), "18");
  EXPECT_FALSE(ini.LocationCodes(kLocationCodesBS8521Section).empty());
  EXPECT_FALSE(ini.LocationCodes(kLocationCodesTT92Section).empty());
  EXPECT_EQ(ini.ReadText(kSetupSection, kConfigDirectoryKey), "");
}

}  // namespace
}  // namespace vyn
