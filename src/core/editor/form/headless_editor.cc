#include "core/editor/form/headless_editor.h"

#include "core/editor/file_commands.h"
#include "core/strings/edition.h"
#include "core/strings/message_ids.h"

namespace vyn {

HeadlessEditor::HeadlessEditor(const StringTable& strings, const VynIni& settings,
                               Prompter& prompter, int access_level)
    : strings_(strings), prompter_(prompter) {
  if (!settings.Exists()) {
    prompter_.ShowMessage(MessageKind::kError, strings_.Text(msg::kValuesIniMissing),
                          MessageButtons::kOk);
  }
  form_ = BuildEditorForm(strings_, settings);
  state_.edition_name = EditionName(strings_);
  EditorContext context = Context();
  ApplyAccessLevel(context, access_level);
}

int HeadlessEditor::Load(const VynData& data) {
  EditorContext context = Context();
  const int result = LoadControls(context, data);
  if (result != kLoadOk) ShowLoadError(prompter_, strings_, data, result);
  return result;
}

EditorHooks HeadlessEditor::Hooks(VynData& data) {
  EditorContext context = Context();
  return FormEditorHooks(context, data);
}

}  // namespace vyn
