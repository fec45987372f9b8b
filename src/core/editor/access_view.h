#pragma once

// What each access level and edition does to the detailed editor, as data: for every item (a
// page, a menu item, a control, by its object name) whether it is shown or hidden and enabled or
// disabled. The window applies the list to whatever items it has; items of pages that are not
// built yet are simply not found, so pages only add their controls.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vyn {

struct ItemState {
  std::string name;              // the control's object name
  std::optional<bool> visible;   // nullopt: unchanged
  std::optional<bool> enabled;   // nullopt: unchanged
  std::optional<bool> checked;   // check boxes the common part sets (DHCP, static IP)
};

// ApplyAccessLevel's rules in their order (common part, level part, edition rule); a later entry
// for the same item overrides an earlier one.
std::vector<ItemState> AccessView(int level, std::string_view edition_name);

// Whether the advanced grid's value column can be edited at the level (4, 5 and 6).
bool AdvancedGridEditable(int level);

}  // namespace vyn
