#include "core/editor/access_view.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vyn {
namespace {

struct FinalState {
  std::optional<bool> visible;
  std::optional<bool> enabled;
  std::optional<bool> checked;
};

// What the window ends with after applying the list in order.
std::map<std::string, FinalState> Resolve(const std::vector<ItemState>& states) {
  std::map<std::string, FinalState> result;
  for (const ItemState& s : states) {
    FinalState& item = result[s.name];
    if (s.visible) item.visible = s.visible;
    if (s.enabled) item.enabled = s.enabled;
    if (s.checked) item.checked = s.checked;
  }
  return result;
}

constexpr std::string_view kGmbH = "KEMB GmbH";
constexpr std::string_view kVelkstrom = "Velkstrom";
constexpr std::optional<bool> kUnchanged = std::nullopt;

TEST(AccessViewTest, LevelsAndEditions) {
  const struct {
    int level;
    std::string_view edition;  // empty: both editions
    std::string_view item;
    std::optional<bool> visible;
    std::optional<bool> enabled;
  } cases[] = {
      {2, "", "tbshtIp", true, false},
      {2, "", "tbshtConfiguration", false, kUnchanged},
      {2, "", "tbshtAdvanced", false, kUnchanged},
      {2, "", "tbshtMisc", false, kUnchanged},
      {2, "", "cbNetworkEnable", kUnchanged, false},
      {2, "", "edtSipNumber", kUnchanged, false},
      {2, "", "mnuToolsConfigureAlarmTypes", false, kUnchanged},
      {2, kGmbH, "cbbxAnswerRadioMessageWithAck", kUnchanged, kUnchanged},
      {3, "", "tbshtIp", true, true},
      {3, "", "cbNetworkEnable", kUnchanged, true},
      {3, "", "lblNetworkEnable", kUnchanged, false},
      {3, "", "edtSipNumber", kUnchanged, kUnchanged},
      {3, "", "edtSipExpire", kUnchanged, false},
      {3, "", "edtNtpServer", kUnchanged, false},
      {3, "", "gbxUpdate", true, kUnchanged},
      {3, kGmbH, "mnuToolsConfigureAlarmTypes", true, kUnchanged},
      {3, kVelkstrom, "mnuToolsConfigureAlarmTypes", false, kUnchanged},
      {4, "", "tbshtAdvanced", true, kUnchanged},
      {4, "", "tbshtMisc", false, kUnchanged},
      {4, "", "mnuCommDebugReadWeb", false, false},
      {4, "", "edtPassword", kUnchanged, true},
      {4, "", "edtCountry", kUnchanged, true},
      {4, "", "edtProductModel", kUnchanged, false},
      {4, "", "btnAutoFillSip", false, kUnchanged},
      {5, "", "tbshtConfiguration", true, kUnchanged},
      {5, "", "tbshtAdvanced", false, kUnchanged},
      {5, "", "edtPassword", kUnchanged, false},
      {5, "", "edtWs", kUnchanged, true},
      {5, "", "edtSipExpire", kUnchanged, kUnchanged},
      {5, "", "cbbxLineVolume1", kUnchanged, true},
      {5, kGmbH, "gbxConfiguration", kUnchanged, false},
      {5, kGmbH, "gbxRadioConfiguration", kUnchanged, false},
      {5, kVelkstrom, "gbxConfiguration", kUnchanged, true},
      {5, kGmbH, "cbbxAnswerRadioMessageWithAck", true, kUnchanged},
      {6, "", "tbshtMisc", true, kUnchanged},
      {6, "", "tbshtAdvanced", true, kUnchanged},
      {6, "", "mnuCommDebugReadWeb", true, true},
      {6, "", "mnuCommDebugWriteWeb", true, true},
      {6, "", "edtSerialNumber", true, kUnchanged},
      {6, "", "edtRadioClass1Calibration", kUnchanged, true},
      {6, "", "btnClearSip2", false, kUnchanged},
      {6, "", "edtSip2Password", false, kUnchanged},
      {6, "", "lblMAC", kUnchanged, false},
      {2, kGmbH, "mnuFileChangeDefaultConfig", kUnchanged, kUnchanged},
      {2, kGmbH, "bbtnInfoRadioPos1", kUnchanged, kUnchanged},
      {6, kGmbH, "bbtnInfoRadioPos8", kUnchanged, kUnchanged},
  };
  for (int level = 2; level <= 6; ++level) {
    for (std::string_view edition : {kGmbH, kVelkstrom}) {
      const auto states = Resolve(AccessView(level, edition));
      for (const auto& c : cases) {
        if (c.level != level || (!c.edition.empty() && c.edition != edition)) continue;
        SCOPED_TRACE(std::to_string(level) + " " + std::string(edition) + " " +
                     std::string(c.item));
        const auto found = states.find(std::string(c.item));
        const FinalState state = found == states.end() ? FinalState{} : found->second;
        EXPECT_EQ(state.visible, c.visible);
        EXPECT_EQ(state.enabled, c.enabled);
      }
      // The load that follows sets both boxes from the image.
      EXPECT_EQ(states.at("cbDhcpEnable").checked, true);
      EXPECT_EQ(states.at("cbStaticIpEnable").checked, false);
    }
    // The Velkstrom edition rule.
    const auto velkstrom = Resolve(AccessView(level, kVelkstrom));
    SCOPED_TRACE(level);
    EXPECT_EQ(velkstrom.at("mnuFileChangeDefaultConfig").visible, false);
    EXPECT_EQ(velkstrom.at("bbtnInfoRadioPos1").visible, level == 4);
    EXPECT_EQ(velkstrom.at("bbtnInfoRadioPos8").visible, level == 4);
    const auto ack = velkstrom.find("lblAnswerRadioMessageWithAck");
    const bool hidden = ack != velkstrom.end() && ack->second.visible == false;
    EXPECT_EQ(hidden, level == 2 || level == 3 || level == 5);
  }
}

TEST(AccessViewTest, LevelsWithoutRulesGetOnlyTheCommonPart) {
  const auto states = Resolve(AccessView(0, kGmbH));
  EXPECT_EQ(states.count("tbshtIp"), 0u);
  EXPECT_EQ(states.at("tbshtMisc").visible, false);
  EXPECT_EQ(states.at("gbxConfiguration").enabled, true);
  EXPECT_EQ(Resolve(AccessView(0, kVelkstrom)).at("mnuFileChangeDefaultConfig").visible, false);
}

TEST(AccessViewTest, AdvancedGridEditableFromLevelFour) {
  const bool editable[] = {false, false, false, false, true, true, true};  // levels 0 to 6
  for (int level = 0; level <= 6; ++level)
    EXPECT_EQ(AdvancedGridEditable(level), editable[level]) << level;
}

}  // namespace
}  // namespace vyn
