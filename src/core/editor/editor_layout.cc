#include "core/editor/editor_layout.h"

#include <string>

#include "core/strings/edition.h"

namespace vyn {

namespace {

constexpr int kPositions = 8;

void Show(std::vector<ItemState>& rules, std::string name, bool visible) {
  rules.push_back({std::move(name), visible, std::nullopt, std::nullopt});
}

void ShowNumbered(std::vector<ItemState>& rules, const char* stem, bool visible) {
  for (int n = 1; n <= kPositions; ++n) Show(rules, stem + std::to_string(n), visible);
}

}  // namespace

const std::vector<OptionalControl>& OptionalControls() {
  static const std::vector<OptionalControl> controls = {
      {13615, "cbEmergencyAlarm", 13615},
      {13608, "cbReminder", 13608},
      {13609, "cbPassive", 13609},
      {13616, "cbCarpetAlarm", 13616},
      {13617, "cbAssaultAlarm", 13617},
      {13227, "lblAutoAnswerDuration", 13227},
      {13227, "edtAutoAnswerDuration", 0},  // an edit box keeps its value
      {13227, "lblAutoAnswerDurationUnit", 13230},
  };
  return controls;
}

std::vector<ItemState> EditorLayoutRules(const StringTable& strings) {
  std::vector<ItemState> rules;
  const bool kemb = IsKembEdition(strings);
  const bool uk = IsKembUk(strings);

  // Menus: the guide or the day-button configuration; the location codes in the UK edition.
  Show(rules, "mnuToolsGuide", !kemb);
  Show(rules, "mnuToolsConfigureHomeAway", kemb);
  Show(rules, "mnuHelpDelimiter", uk);
  Show(rules, "mnuHelpBS8521LocationCodes", uk);
  Show(rules, "mnuHelpTT92LocationCodes", uk);

  // Alarm sources page: location codes in the UK edition, transmitter supervision in the KEMB
  // editions.
  ShowNumbered(rules, "lblLocationPos", uk);
  ShowNumbered(rules, "edtLocationCode", uk);
  Show(rules, "lblRadioTestAlarm", kemb);
  ShowNumbered(rules, "cbTestRadioPos", kemb);

  for (const OptionalControl& control : OptionalControls()) {
    Show(rules, control.name, strings.Has(control.string_id));
  }
  return rules;
}

}  // namespace vyn
