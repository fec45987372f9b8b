#pragma once

// What the editor's conversions and handlers work on besides the image: the form, the editor's
// own state that no control shows, and the way to talk to the user.

#include <array>
#include <string>

#include "core/editor/form/editor_form.h"
#include "core/session/prompter.h"
#include "core/strings/string_table.h"

namespace vyn {

inline constexpr int kTransmitterPositions = 8;

// The editor window's members that are not controls.
struct EditorState {
  std::string edition_name;  // string 15555
  int access_level = 0;      // recorded by ApplyAccessLevel
  bool advanced_grid_editable = false;  // AdvancedGridEditable: levels 4 to 6
  // TestBoxMessagesOn: off while LoadControls sets the supervision boxes, so that their
  // messages appear for the user's clicks only.
  bool test_box_messages_on = true;
  // The position each transmitter alarm type list had before its last selection (by tag 1-8,
  // index 0 unused); lasts for the program run.
  std::array<int, kTransmitterPositions + 1> alarm_type_positions{};
  int shown_sip_account = 1;  // ShownSipAccount
  // The decimal separator of the user's number settings, used by the advanced grid's decimal
  // values in both directions.
  char decimal_separator = '.';
};

struct EditorContext {
  EditorForm& form;
  EditorState& state;
  Prompter& prompter;
  const StringTable& strings;
};

}  // namespace vyn
