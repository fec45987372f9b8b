#include "core/editor/form/editor_controls.h"

#include <map>
#include <utility>

#include "core/editor/editor_layout.h"
#include "core/editor/form/adapters.h"
#include "core/editor/form/handlers.h"
#include "core/editor/form/numbers.h"
#include "core/image/field_catalogue.h"
#include "core/strings/edition.h"

namespace vyn {
namespace {

// The text a row's caption parts give: the string and its suffix, or the form's own text.
std::string CaptionOf(const StringTable& strings, int id, const std::string& suffix,
                      const std::string& text) {
  if (id == 0) return text;
  return strings.Text(id) + suffix;
}

// Hints show their "\r\n" line breaks as plain line breaks.
std::string HintText(std::string text) {
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
    text.erase(at, 1);
  return text;
}

void AddLabel(EditorForm& form, const StringTable& strings, const std::string& name, int id,
              const std::string& suffix, const std::string& text) {
  if (name.empty() || form.Find(name)) return;
  form.Add(name, ControlKind::kLabel).SetCaption(CaptionOf(strings, id, suffix, text));
}

void AddControl(EditorForm& form, const StringTable& strings, const ControlBinding& row) {
  AddLabel(form, strings, row.label, row.label_id, row.label_suffix, row.label_text);
  Control& control = form.Add(row.name, row.kind);
  control.SetCaption(CaptionOf(strings, row.caption_id, row.caption_suffix, row.caption_text));
  if (row.hint_id != 0) control.SetHint(HintText(strings.Text(row.hint_id)));
  control.SetMaxLength(row.max_length);
  control.SetKeyFilter(row.key_filter);
  control.SetTag(row.tag);
  control.SetDropDownLines(row.drop_down_lines);
  if (row.kind == ControlKind::kUpDown) control.SetRange(row.min, row.max);
  AddLabel(form, strings, row.unit, row.unit_id, "", "");
}

// Each list section is read once; lists of the same section (and separator mode) share it.
void FillLists(EditorForm& form, const VynIni& settings) {
  std::map<std::pair<std::string, bool>, ChoiceList> read;
  for (const PageBinding& page : EditorPages()) {
    for (const ControlBinding& row : page.rows) {
      if (row.list_section.empty()) continue;
      const FieldInfo* field = FindField(row.field);
      const bool stop = field && field->list_mode == ListMode::kStopAtSeparator;
      auto key = std::make_pair(row.list_section, stop);
      auto it = read.find(key);
      if (it == read.end()) {
        ChoiceList list;
        std::vector<int> table;
        settings.FillList(list, row.list_section, table, ListCapacity(row.list_section), stop);
        it = read.emplace(std::move(key), std::move(list)).first;
      }
      form.Get(row.name).SetList(it->second);
    }
  }
}

void ApplyState(Control& control, const ItemState& state) {
  if (state.visible) control.SetVisible(*state.visible);
  if (state.enabled) control.SetEnabled(*state.enabled);
  if (state.checked) control.SetChecked(*state.checked);
}

}  // namespace

EditorForm BuildEditorForm(const StringTable& strings, const VynIni& settings) {
  EditorForm form;
  for (const PageBinding& page : EditorPages()) {
    for (const ControlBinding& row : page.rows) AddControl(form, strings, row);
  }
  FillLists(form, settings);
  for (const PageBinding& page : EditorPages()) {
    if (page.build) page.build(form, settings);
  }
  ApplyItemStates(form, EditorLayoutRules(strings));
  return form;
}

std::vector<ItemState> ApplyItemStates(EditorForm& form, const std::vector<ItemState>& states) {
  std::vector<ItemState> rest;
  for (const ItemState& state : states) {
    if (Control* control = form.Find(state.name)) {
      ApplyState(*control, state);
    } else {
      rest.push_back(state);
    }
  }
  return rest;
}

std::vector<ItemState> ApplyAccessLevel(EditorContext& context, int level) {
  context.state.access_level = level;
  context.state.advanced_grid_editable = AdvancedGridEditable(level);
  return ApplyItemStates(context.form, AccessView(level, context.state.edition_name));
}

int LoadControls(EditorContext& context, const VynData& data) {
  // The supervision boxes are set without their click messages.
  context.state.test_box_messages_on = false;
  LoadReport report;
  for (const PageBinding& page : EditorPages()) {
    for (const ControlBinding& row : page.rows) {
      Control& control = context.form.Get(row.name);
      if (row.kind == ControlKind::kUpDown) {
        // The up-down follows the number its box was just given.
        control.SetPosition(static_cast<int>(IntegerOrZero(context.form.Get(row.associate).text())));
        continue;
      }
      if (!AdapterHasField(row.adapter)) continue;
      const FieldInfo& field = *FindField(row.field);
      if (!LoadRow(row, field, control, data.WorkingImage)) report.last_invalid = field.address;
    }
    if (page.after_rows_load) page.after_rows_load(context, data, report);
  }
  context.state.test_box_messages_on = true;
  return report.last_invalid;
}

StoreOutcome StoreControls(EditorContext& context, VynData& target) {
  StoreOutcome outcome;
  for (const PageBinding& page : EditorPages()) {
    if (page.before_rows_store) {
      page.before_rows_store(context, target, outcome);
      // A text that is not a number ends the whole store.
      if (outcome.result == StoreResult::kConversionError) return outcome;
    }
    for (const ControlBinding& row : page.rows) {
      if (!AdapterHasField(row.adapter)) continue;
      if (!row.store_when_visible.empty() &&
          !context.form.Get(row.store_when_visible).visible()) {
        continue;
      }
      StoreRow(row, *FindField(row.field), context.form.Get(row.name), target.WorkingImage);
    }
  }
  // Every store marks the image with the editor's layout version and the PIN's visibility on
  // the printed record.
  target.WorkingImage[FindField("LayoutVersion")->address] = 5;
  target.WorkingImage[FindField("ShowPinOnRecord")->address] = 1;
  return outcome;
}

EditorHooks FormEditorHooks(EditorContext& context, VynData& data, FormHookCallbacks callbacks) {
  EditorHooks hooks;
  hooks.StoreControls = [context, &data, after = callbacks.after_store]() mutable {
    const StoreOutcome outcome = StoreControls(context, data);
    if (after) after(outcome);
    if (outcome.result == StoreResult::kConversionError) {
      context.prompter.ShowMessage(MessageKind::kError, outcome.error_text, MessageButtons::kOk);
    }
    return outcome.result;
  };
  hooks.LoadControls = [context, &data, after = callbacks.after_load]() mutable {
    const int result = LoadControls(context, data);
    if (after) after();
    return result;
  };
  hooks.HasDuplicateTransmitters = [form = &context.form] {
    return edtCheck_RepeatedRadio_ID(*form);
  };
  return hooks;
}

}  // namespace vyn
