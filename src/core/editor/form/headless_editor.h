#pragma once

// The detailed editor without a window, for the commands that store an image as the editor
// does (vynctl write and the later ones): the form built from the settings file as the editor
// builds it at creation, the access level applied, an image loaded and stored through exactly
// the editor's LoadControls and StoreControls, so a command and the window send the same bytes.

#include "core/editor/form/editor_controls.h"

namespace vyn {

class HeadlessEditor {
 public:
  // Without the settings file its message 15033 goes to the prompter, as at the editor's
  // creation; the lists then stay empty and every store ends with a conversion error.
  HeadlessEditor(const StringTable& strings, const VynIni& settings, Prompter& prompter,
                 int access_level);

  // LoadControls of `data`; an invalid value is shown with message 15023, as opening a file
  // shows it, and the result returned.
  int Load(const VynData& data);
  // The hooks of the file commands and device flows over the form and `data`.
  EditorHooks Hooks(VynData& data);

  EditorContext Context() { return {form_, state_, prompter_, strings_}; }
  EditorForm& form() { return form_; }

 private:
  const StringTable& strings_;
  Prompter& prompter_;
  EditorForm form_;
  EditorState state_;
};

}  // namespace vyn
