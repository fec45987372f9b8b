// The binding tables against the field catalogue: every row's field exists and fits its
// adapter, every field of the bound pages is bound once or left out on purpose.

#include "core/editor/form/binding.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/editor/access_view.h"
#include "core/editor/editor_layout.h"
#include "core/editor/form/adapters.h"
#include "core/image/field_catalogue.h"
#include "core/strings/edition.h"

namespace vyn {
namespace {

bool IsList(Adapter adapter) {
  return adapter == Adapter::kListReported || adapter == Adapter::kListNotReported;
}

TEST(BindingTablesTest, EveryRowsFieldExistsAndFitsItsAdapter) {
  for (const PageBinding& page : EditorPages()) {
    for (const ControlBinding& row : page.rows) {
      EXPECT_EQ(row.page, page.name) << row.name;
      if (!AdapterHasField(row.adapter)) {
        EXPECT_TRUE(row.field.empty()) << row.name;
        continue;
      }
      const FieldInfo* field = FindField(row.field);
      ASSERT_NE(field, nullptr) << row.name << ": " << row.field;
      EXPECT_FALSE(field->alternate) << row.name;
      if (IsList(row.adapter)) {
        EXPECT_EQ(field->encoding, FieldEncoding::kList) << row.name;
        EXPECT_EQ(row.list_section, field->list_section) << row.name;
        EXPECT_EQ(row.adapter == Adapter::kListReported, field->list_reported) << row.name;
        EXPECT_EQ(row.kind, ControlKind::kComboBox) << row.name;
      } else {
        EXPECT_TRUE(row.list_section.empty()) << row.name;
      }
      const std::map<Adapter, FieldEncoding> encoding = {
          {Adapter::kTransmitterCode, FieldEncoding::kTransmitterCode},
          {Adapter::kAlarmCodeDigits, FieldEncoding::kAlarmCode},
          {Adapter::kTelephoneNumber, FieldEncoding::kTelephoneSlot},
          {Adapter::kActiveBit7, FieldEncoding::kAlarmDefinition},
          {Adapter::kBit, FieldEncoding::kBits},
          {Adapter::kDecimalByte, FieldEncoding::kByte},
      };
      if (encoding.contains(row.adapter)) {
        EXPECT_EQ(field->encoding, encoding.at(row.adapter)) << row.name;
      }
    }
  }
}

TEST(BindingTablesTest, EveryFieldOfTheBoundPagesIsBoundOnceOrLeftOutOnPurpose) {
  std::map<std::string, int> bound;
  for (const PageBinding& page : EditorPages()) {
    for (const ControlBinding& row : page.rows) {
      // The supervision and call-back boxes share their byte, one bit each.
      if (!row.field.empty() && row.adapter != Adapter::kBit) ++bound[row.field];
    }
  }
  for (const FieldInfo* field : AdvancedRows()) ++bound[field->name];
  std::set<std::string> unbound;
  for (const UnboundField& field : DeliberatelyUnboundFields()) {
    unbound.insert(std::string(field.field));
    EXPECT_NE(FindField(field.field), nullptr) << field.field;
    EXPECT_FALSE(bound.contains(std::string(field.field))) << field.field;
  }
  static constexpr std::string_view kPageFamilies[] = {
      "TransmitterCode.", "TelephoneNumber.", "AlarmCode.",       "CallSequence.",
      "SequenceNumber.",  "Protocol.",        "AlarmTypeDefinition.", "TransmitterAlarmType.",
      "CallAttempts.",    "AccountToUse.",    "LocationCode.",    "LineVolume.",
  };
  static constexpr std::string_view kPageFields[] = {
      "ExtraButtonAlarmType", "RepeatSequence", "MaxCallAttempts", "NumberPool"};
  for (const FieldInfo& field : FieldCatalogue()) {
    bool of_these_pages = field.advanced_row > 0;
    for (std::string_view family : kPageFamilies) of_these_pages |= field.name.starts_with(family);
    for (std::string_view name : kPageFields) of_these_pages |= field.name == name;
    if (!of_these_pages) continue;
    const int count = bound.contains(field.name) ? bound[field.name] : 0;
    if (unbound.contains(field.name)) continue;
    EXPECT_EQ(count, 1) << field.name;
  }
  for (const auto& [name, count] : bound) EXPECT_EQ(count, 1) << name;
}

TEST(BindingTablesTest, PendingControlsAreNamedByTheRulesAndNotYetInTheTables) {
  std::set<std::string> named;
  for (const char* edition : {"KEMB GmbH", "KEMB UK", "Velkstrom", "Other"}) {
    for (int level = 0; level <= 6; ++level) {
      for (const ItemState& state : AccessView(level, edition)) named.insert(state.name);
    }
    for (const ItemState& state :
         EditorLayoutRules(StringTable::Builtin().WithText(kEditionNameStringId, edition)))
      named.insert(state.name);
  }
  std::set<std::string_view> pages;
  for (const PageBinding& page : EditorPages()) pages.insert(page.name);
  for (const PendingControl& pending : PendingControls()) {
    EXPECT_TRUE(named.contains(std::string(pending.name))) << pending.name;
    EXPECT_EQ(FindBinding(pending.name), nullptr) << pending.name << " is bound now";
    EXPECT_TRUE(pages.contains(pending.page)) << pending.name;
  }
}

}  // namespace
}  // namespace vyn
