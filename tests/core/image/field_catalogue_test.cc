#include "core/image/field_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/settings/choice_list.h"
#include "core/settings/vyn_ini.h"

namespace vyn {
namespace {

TEST(FieldCatalogueTest, NamesAreUniqueAndEveryFieldLiesInsideTheImage) {
  std::set<std::string> names;
  for (const FieldInfo& field : FieldCatalogue()) {
    EXPECT_TRUE(names.insert(field.name).second) << field.name;
    EXPECT_GE(field.width, 1) << field.name;
    EXPECT_LT(field.last(), static_cast<int>(kImageSize)) << field.name;
    EXPECT_EQ(FindField(field.name), &field);
    if (field.encoding == FieldEncoding::kText) {
      EXPECT_GT(field.max_chars, 0) << field.name;
      EXPECT_LT(field.max_chars, field.width) << field.name;  // room for the 0 byte
    }
  }
  EXPECT_EQ(FindField("NoSuchField"), nullptr);
}

TEST(FieldCatalogueTest, OnlyTheAlternateReadingSharesBytes) {
  std::vector<const FieldInfo*> owner(kImageSize, nullptr);
  for (const FieldInfo& field : FieldCatalogue()) {
    if (field.alternate) {
      EXPECT_NE(FieldAt(field.address), &field) << field.name;
      continue;
    }
    for (int a = field.address; a <= field.last(); ++a) {
      EXPECT_EQ(owner[a], nullptr) << field.name << " overlaps " << owner[a]->name << " at " << a;
      owner[a] = &field;
      EXPECT_EQ(FieldAt(a), &field);
    }
  }
  EXPECT_EQ(FieldAt(0x0BE), nullptr);  // unnamed, carried unchanged
  EXPECT_EQ(FindField("AutoAnswerDuration")->address, FindField("RadioTestBits")->address);
}

TEST(FieldCatalogueTest, AdvancedRowsComeInTheSettingsFileOrder) {
  const int expected[kAdvancedRowCount] = {
      0x0E0, 0x0E1, 0x0E3, 0x5B5, 0x5B7, 0x1BC, 0x1BA, 0x0EF, 0x0F0, 0x0F6, 0x10D, 0x1BD,
      0x10F, 0x110, 0x111, 0x112, 0x114, 0x120, 0x124, 0x128, 0x12C, 0x130, 0x134, 0x138,
      0x5B9, 0x109, 0x10A, 0x10B, 0x10C, 0x11B, 0x15A, 0x185, 0x186, 0x187, 0x188, 0x189,
      0x5B4, 0x1B8, 0x1B9, 0x5B1, 0x5B3, 0x155, 0x153, 0x158, 0x156, 0x4F9, 0x4E2, 0x4E3,
      0x4FA, 0x5BE, 0x5BF, 0x4FF, 0x4EF, 0x4EE, 0x7E0, 0x7E1};
  const std::vector<const FieldInfo*> rows = AdvancedRows();
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(kAdvancedRowCount));
  for (int i = 0; i < kAdvancedRowCount; ++i) {
    EXPECT_EQ(rows[i]->advanced_row, i + 1);
    EXPECT_EQ(rows[i]->address, expected[i]) << "row " << i + 1;
  }
  const std::set<int> from_settings = {1, 2, 6, 8, 10, 11, 12, 13, 14, 15, 16};
  for (const FieldInfo* row : rows) {
    EXPECT_EQ(row->advanced_address_in_settings, from_settings.count(row->advanced_row) == 1)
        << row->advanced_row;
  }
  EXPECT_EQ(FindField("DuplexSignalRelease")->duplex_form, DuplexForm::kRelease);
  EXPECT_EQ(FindField("DuplexMicThreshold")->duplex_form, DuplexForm::kThreshold);
  EXPECT_EQ(FindField("BatteryThresholdInBatteryMode")->encoding, FieldEncoding::kTenthVolt);
}

TEST(FieldCatalogueTest, FamiliesExpandWithTheirNumbersAndLetters) {
  const struct {
    const char* name;
    int address;
  } cases[] = {
      {"TransmitterCode.8", 0x00E},
      {"TelephoneNumber.V", 0x038},
      {"AlarmCode.N", 0x060},
      {"CallSequence.4.4", 0x07F},
      {"SequenceNumber.UserDefined", 0x089},
      {"Protocol.V", 0x08F},
      {"TransmitterAlarmType.1", 0x0A8},
      {"CallAttempts.V", 0x0B9},
      {"AccountToUse.V", 0x46C},
      {"LocationCode.8", 0x4F7},
      {"AlarmTypeDefinition.Network", 0x5B0},
  };
  for (const auto& c : cases) {
    const FieldInfo* field = FindField(c.name);
    ASSERT_NE(field, nullptr) << c.name;
    EXPECT_EQ(field->address, c.address) << c.name;
  }
}

TEST(FieldCatalogueTest, LabelsFollowTheEditionGroup) {
  const FieldInfo& home = *FindField("AlarmTypeDefinition.HomeIndication");
  EXPECT_EQ(FieldLabel(home, "KEMB GmbH"), "Home indication");
  EXPECT_EQ(FieldLabel(home, "KEMB UK"), "Home indication");
  EXPECT_EQ(FieldLabel(home, "Velkstrom"), "Carpet alarm");
  EXPECT_EQ(FieldLabel(*FindField("SequenceNumber.Technical"), "Other"),
            "Sequence for Power alarms");
  EXPECT_EQ(FieldLabel(*FindField("AlarmTypeDefinition.DoorAlarm"), "Velkstrom"), "Door alarm");
}

// Every list the catalogue names is a list section of the delivered settings file.
TEST(FieldCatalogueTest, EveryListIsInTheDeliveredSettingsFile) {
  const VynIni ini(std::string(VYN_SOURCE_DIR) + "/data/Values.ini");
  for (const FieldInfo& field : FieldCatalogue()) {
    if (field.encoding != FieldEncoding::kList) continue;
    ChoiceList list;
    std::vector<int> table;
    EXPECT_GT(ListCapacity(field.list_section), 0) << field.name;
    EXPECT_GT(ini.FillList(list, field.list_section, table, ListCapacity(field.list_section),
                           field.list_mode == ListMode::kStopAtSeparator),
              0)
        << field.name;
  }
}

}  // namespace
}  // namespace vyn
