#include "core/editor/form/handlers.h"

#include <algorithm>
#include <set>

#include "core/editor/form/advanced_grid.h"
#include "core/editor/form/call_numbers.h"
#include "core/editor/form/numbers.h"
#include "core/image/codecs.h"
#include "core/strings/edition.h"
#include "core/strings/message_ids.h"

namespace vyn {
namespace {

void RunHandler(EditorContext& context, std::string_view name) {
  const ControlBinding* row = FindBinding(name);
  if (row && row->handler) row->handler(context, *row);
}

// An error box with the message, when the build has a text for it.
void ShowError(EditorContext& context, int message) {
  if (!context.strings.Has(message)) return;
  context.prompter.ShowMessage(MessageKind::kError, context.strings.Text(message),
                               MessageButtons::kOk);
}

// The range check of the boxes that take a number from 0 to `maximum`.
void CheckRange(EditorContext& context, const ControlBinding& row, long long maximum,
                int message) {
  Control& box = context.form.Get(row.name);
  const std::string text = box.text();
  long long number = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      ShowError(context, message);
      box.SetText("0");
      return;
    }
    // Held just above the maximum, so that any number of digits compares without overflow.
    number = std::min(number * 10 + (c - '0'), maximum + 1);
  }
  if (number > maximum) {
    ShowError(context, message);
    box.SetText(std::to_string(maximum));
  }
}

}  // namespace

void UserEditedText(EditorContext& context, std::string_view name, std::string text) {
  context.form.Get(name).SetText(std::move(text));
  RunHandler(context, name);
}

void UserSelectedItem(EditorContext& context, std::string_view name, int index) {
  context.form.Get(name).SetItemIndex(index);
  RunHandler(context, name);
}

void UserClickedCheckBox(EditorContext& context, std::string_view name, bool checked) {
  context.form.Get(name).SetChecked(checked);
  RunHandler(context, name);
}

void UserSteppedUpDown(EditorContext& context, std::string_view name, int steps) {
  const ControlBinding* row = FindBinding(name);
  if (!row || row->kind != ControlKind::kUpDown) return;
  Control& updown = context.form.Get(name);
  // The arrows count on from the number in the box, as far as the range goes.
  const long long base =
      ParseInteger(context.form.Get(row->associate).text()).value_or(updown.position());
  updown.SetPosition(static_cast<int>(
      std::clamp<long long>(base + steps, updown.min(), updown.max())));
  RunHandler(context, name);
}

void UserEditedCell(EditorContext& context, std::string_view name, int row, int column,
                    std::string text) {
  context.form.Get(name).SetCell(row, column, std::move(text));
}

bool UserSelectedCell(const EditorContext& context, std::string_view name, int row, int column) {
  return name == kAdvancedGrid && sgAdvancedSelectCell(context.state, column, row);
}

std::string CellEditMask(std::string_view name, int row, int column) {
  return name == kAdvancedGrid ? sgAdvancedGetEditMask(column, row) : std::string();
}

void edtCheck_0_to_10_Value(EditorContext& context, const ControlBinding& row) {
  CheckRange(context, row, 10, msg::kValueRange0To10);
}

void edtCheck_0_to_255_Value(EditorContext& context, const ControlBinding& row) {
  CheckRange(context, row, 255, msg::kValueRange0To255);
}

void edtCheck_0_to_2550_Value(EditorContext& context, const ControlBinding& row) {
  CheckRange(context, row, 2550, msg::kValueRange0To2550);
}

void edtCheck_0_to_9999_Value(EditorContext& context, const ControlBinding& row) {
  CheckRange(context, row, 9999, msg::kValueRange0To9999);
}

void edtCallAttemptsChange(EditorContext& context, const ControlBinding& row) {
  const long long attempts = IntegerOrZero(context.form.Get(row.name).text());
  if (IsVelkstrom(context.state.edition_name)) {
    if (attempts < 0 || attempts > 100) ShowError(context, msg::kCallAttemptsRange0To100);
  } else if (attempts < 0 || attempts > 255) {
    ShowError(context, msg::kValueRange0To255);
  }
}

void cbbxAlarmTypePosNSelect(EditorContext& context, const ControlBinding& row) {
  Control& list = context.form.Get(row.name);
  int& previous = context.state.alarm_type_positions[static_cast<std::size_t>(row.tag)];
  const int index = list.item_index();
  if (index > 0 && list.list().Text(index).starts_with(kListSeparator)) {
    int moved = index > previous ? index + 1 : index - 1;
    // A separator at the end of the list has nothing below it.
    if (moved >= list.list().Count()) moved = index - 1;
    list.SetItemIndex(moved);
  }
  previous = list.item_index();
}

void cbTestRadioPosClick(EditorContext& context, const ControlBinding& row) {
  if (!context.state.test_box_messages_on) return;
  const int message = context.form.Get(row.name).checked() ? msg::kSupervisionSwitchedOn
                                                           : msg::kSupervisionSwitchedOff;
  context.prompter.ShowMessage(MessageKind::kInformation,
                               Format(context.strings.Text(message), {std::to_string(row.tag)}),
                               MessageButtons::kOk);
}

void btnProtocolClick(EditorContext& context, const ControlBinding& row) {
  ApplyProtocolLayout(context.form, row.tag);
}

void udClick(EditorContext& context, const ControlBinding& row) {
  Control& box = context.form.Get(row.associate);
  box.SetText(std::to_string(context.form.Get(row.name).position()));
  RunHandler(context, row.associate);
}

bool edtCheck_RepeatedRadio_ID(const EditorForm& form) {
  std::set<int> seen;
  for (int n = 1; n <= kTransmitterPositions; ++n) {
    const std::array<std::uint8_t, 2> code =
        EncodeTransmitterCode(form.Get("edtRadioPos" + std::to_string(n)).text());
    const int value = code[0] << 8 | code[1];
    if (value != 0 && !seen.insert(value).second) return true;
  }
  return false;
}

}  // namespace vyn
