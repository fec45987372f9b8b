#pragma once

// The detailed editor's layout rules at creation that depend on the edition and on the build's
// string table, as data: which menu items and controls are shown. The window applies them by
// object name, so controls of pages that are filled in later are covered as they arrive.

#include <vector>

#include "core/editor/access_view.h"
#include "core/strings/string_table.h"

namespace vyn {

// Creation steps 3, 5 and 6: the edition rules of the menus and the pages, then the controls
// that are shown only when their string is in the table (with the string as caption).
std::vector<ItemState> EditorLayoutRules(const StringTable& strings);

// A control shown only when its string exists; its caption is `caption_id`'s text (the string
// itself, except for a unit label; 0 for a box, which keeps its value).
struct OptionalControl {
  int string_id;
  const char* name;
  int caption_id;
};
// The controls of creation step 6, in order.
const std::vector<OptionalControl>& OptionalControls();

}  // namespace vyn
