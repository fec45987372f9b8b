#include "core/strings/edition.h"

#include <gtest/gtest.h>

namespace vyn {
namespace {

TEST(EditionTest, BuiltinIsTheExtendedKembGmbHEdition) {
  const StringTable& table = StringTable::Builtin();
  EXPECT_EQ(EditionName(table), "KEMB GmbH");
  EXPECT_EQ(EditionVariant(table), "Extended");
  EXPECT_EQ(EditionFolderPath(table), "\\KEMB\\VYN IP GSM Programmer (DE)\\");
  EXPECT_EQ(EditionFolderPathPosix(table), "/KEMB/VYN IP GSM Programmer (DE)/");
  EXPECT_TRUE(IsKembEdition(table));
  EXPECT_TRUE(IsKembGmbH(table));
  EXPECT_FALSE(IsKembUk(table));
  EXPECT_FALSE(IsVelkstrom(table));
  EXPECT_TRUE(IsExtendedVariant(table));
}

TEST(EditionTest, NamesCompareExactlyAndCaseSensitively) {
  const struct {
    std::optional<std::string> name;  // nullopt: no edition text at all
    bool kemb, gmbh, uk, velkstrom;
  } cases[] = {
      {"KEMB GmbH", true, true, false, false},    {"KEMB UK", true, false, true, false},
      {"Velkstrom", false, false, false, true},   {"kemb gmbh", false, false, false, false},
      {"KEMB GmbH ", false, false, false, false}, {"VELKSTROM", false, false, false, false},
      {"KEMB", false, false, false, false},       {"", false, false, false, false},
      {std::nullopt, false, false, false, false},
  };
  for (const auto& c : cases) {
    const StringTable base = StringTable::Builtin().Without(kEditionNameStringId);
    const StringTable table = c.name ? base.WithText(kEditionNameStringId, *c.name) : base;
    const std::string label = c.name.value_or("(absent)");
    EXPECT_EQ(EditionName(table), c.name.value_or(""));
    EXPECT_EQ(IsKembEdition(table), c.kemb) << label;
    EXPECT_EQ(IsKembGmbH(table), c.gmbh) << label;
    EXPECT_EQ(IsKembUk(table), c.uk) << label;
    EXPECT_EQ(IsVelkstrom(table), c.velkstrom) << label;
  }
}

TEST(EditionTest, OnlyTheExactVariantExtendedSelectsTheExtendedWindow) {
  const StringTable& builtin = StringTable::Builtin();
  EXPECT_FALSE(IsExtendedVariant(builtin.WithText(kEditionVariantStringId, "extended")));
  EXPECT_FALSE(IsExtendedVariant(builtin.WithText(kEditionVariantStringId, "Extended ")));
  EXPECT_FALSE(IsExtendedVariant(builtin.WithText(kEditionVariantStringId, "")));
  EXPECT_FALSE(IsExtendedVariant(builtin.Without(kEditionVariantStringId)));
  EXPECT_TRUE(IsExtendedVariant(std::string_view("Extended")));
}

TEST(EditionTest, PosixFolderPathTurnsEveryBackslashIntoASlash) {
  const StringTable table =
      StringTable::Builtin().WithText(kEditionFolderPathStringId, "\\Velkstrom\\IP Hob\\");
  EXPECT_EQ(EditionFolderPathPosix(table), "/Velkstrom/IP Hob/");
  EXPECT_EQ(EditionFolderPathPosix(StringTable()), "");
}

}  // namespace
}  // namespace vyn
