#pragma once

// The detailed editor without a window: the form built from the binding tables, the access
// view and layout rules applied to it, and LoadControls / StoreControls between the form and
// an image. The desktop's editor and vynctl both run exactly these.

#include <functional>
#include <vector>

#include "core/editor/access_view.h"
#include "core/editor/editor_hooks.h"
#include "core/editor/form/binding.h"
#include "core/settings/vyn_ini.h"

namespace vyn {

// Creation: every control of the tables with its captions and hint, the choice lists filled
// from the settings file (empty without one), the advanced grid built, and the edition and
// string-table rules applied.
EditorForm BuildEditorForm(const StringTable& strings, const VynIni& settings);

// Applies the states of the form's controls and returns those of the other items (pages,
// menu items, controls of pages not in the tables yet).
std::vector<ItemState> ApplyItemStates(EditorForm& form, const std::vector<ItemState>& states);

// ApplyAccessLevel's part for the form: records the level and AdvancedGridEditable and applies
// the access view; returns the states of the items outside the form.
std::vector<ItemState> ApplyAccessLevel(EditorContext& context, int level);

// The image into the controls: kLoadOk, or the address of the last invalid value.
int LoadControls(EditorContext& context, const VynData& data);
// The controls into `target`: its result, and the control of the failure.
StoreOutcome StoreControls(EditorContext& context, VynData& target);

// The editor's hooks of the file commands and device flows over the form and `data`. The
// store shows a conversion error itself. `after_load` and `after_store` let a window show the
// form's changes (and focus a failing control).
struct FormHookCallbacks {
  std::function<void()> after_load;
  std::function<void(const StoreOutcome&)> after_store;
};
EditorHooks FormEditorHooks(EditorContext& context, VynData& data,
                            FormHookCallbacks callbacks = {});

}  // namespace vyn
