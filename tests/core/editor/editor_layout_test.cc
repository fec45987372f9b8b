#include "core/editor/editor_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace vyn {
namespace {

// The final visibility of each item after the rules are applied in order.
std::map<std::string, bool> Visibility(const StringTable& strings) {
  std::map<std::string, bool> shown;
  for (const ItemState& state : EditorLayoutRules(strings)) {
    if (state.visible) shown[state.name] = *state.visible;
  }
  return shown;
}

TEST(EditorLayoutTest, EditionRules) {
  const struct {
    const char* edition;
    bool guide, home_away, location_codes, supervision;
  } cases[] = {
      {"KEMB GmbH", false, true, false, true},
      {"KEMB UK", false, true, true, true},
      {"Velkstrom", true, false, false, false},
      {"Another", true, false, false, false},
  };
  for (const auto& c : cases) {
    auto shown = Visibility(StringTable::Builtin().WithText(15555, c.edition));
    EXPECT_EQ(shown["mnuToolsGuide"], c.guide) << c.edition;
    EXPECT_EQ(shown["mnuToolsConfigureHomeAway"], c.home_away) << c.edition;
    EXPECT_EQ(shown["mnuHelpTT92LocationCodes"], c.location_codes) << c.edition;
    EXPECT_EQ(shown["edtLocationCode8"], c.location_codes) << c.edition;
    EXPECT_EQ(shown["cbTestRadioPos1"], c.supervision) << c.edition;
    EXPECT_EQ(shown["lblRadioTestAlarm"], c.supervision) << c.edition;
  }
}

TEST(EditorLayoutTest, ControlsWhoseStringIsAbsentAreHidden) {
  auto shown = Visibility(StringTable::Builtin());
  EXPECT_TRUE(shown["cbEmergencyAlarm"]);
  EXPECT_FALSE(shown["cbReminder"]);  // 13608 is not in this build
  EXPECT_FALSE(shown["edtAutoAnswerDuration"]);

  // A build with the automatic-answer duration shows it; one without "Akku voll" hides the box.
  shown = Visibility(StringTable::Builtin().WithText(13227, "Dauer").Without(13615));
  EXPECT_TRUE(shown["lblAutoAnswerDuration"]);
  EXPECT_TRUE(shown["edtAutoAnswerDuration"]);
  EXPECT_TRUE(shown["lblAutoAnswerDurationUnit"]);
  EXPECT_FALSE(shown["cbEmergencyAlarm"]);
  // An empty text counts as absent.
  EXPECT_FALSE(Visibility(StringTable::Builtin().WithText(13609, ""))["cbPassive"]);
}

}  // namespace
}  // namespace vyn
