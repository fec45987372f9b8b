#pragma once

// The editor's change and click handlers and entry checks, over the form and a Prompter, and
// the user's actions that run them. The view calls the actions; it holds no rule of its own.

#include <string>
#include <string_view>

#include "core/editor/form/binding.h"

namespace vyn {

// ---- The user's actions on the controls: each updates the form and runs the control's handler.
void UserEditedText(EditorContext& context, std::string_view name, std::string text);
void UserSelectedItem(EditorContext& context, std::string_view name, int index);
void UserClickedCheckBox(EditorContext& context, std::string_view name, bool checked);
// An up-down control's arrow: one step up (+1) or down (-1) from its edit box's number.
void UserSteppedUpDown(EditorContext& context, std::string_view name, int steps);
void UserEditedCell(EditorContext& context, std::string_view name, int row, int column,
                    std::string text);
// A grid cell was selected: whether its in-place editor may edit it (sgAdvancedSelectCell).
bool UserSelectedCell(const EditorContext& context, std::string_view name, int row, int column);
// The edit mask the grid's in-place editor asks for (sgAdvancedGetEditMask): "0" per digit
// that may be typed, empty for none.
std::string CellEditMask(std::string_view name, int row, int column);

// ---- Range checks (change handlers): a character that is not a digit shows the message and
// sets "0"; a number above the maximum shows it and sets the maximum.
void edtCheck_0_to_10_Value(EditorContext& context, const ControlBinding& row);
void edtCheck_0_to_255_Value(EditorContext& context, const ControlBinding& row);
void edtCheck_0_to_2550_Value(EditorContext& context, const ControlBinding& row);
void edtCheck_0_to_9999_Value(EditorContext& context, const ControlBinding& row);

// The call attempts of a number: 0..255, or 0..100 in the Velkstrom edition; the text is not
// corrected.
void edtCallAttemptsChange(EditorContext& context, const ControlBinding& row);

// The transmitter alarm type lists skip their separator lines ("---") in the direction the
// selection moved.
void cbbxAlarmTypePosNSelect(EditorContext& context, const ControlBinding& row);

// The supervision boxes tell the user what to set on the transmitter.
void cbTestRadioPosClick(EditorContext& context, const ControlBinding& row);

// A call row's protocol: two-part number boxes for the codes 25 and 28, the call-back box for 28.
void btnProtocolClick(EditorContext& context, const ControlBinding& row);

// The up-down controls step their edit box within their range, without wrapping.
void udClick(EditorContext& context, const ControlBinding& row);

// edtCheck_RepeatedRadio_ID: two of the eight transmitter code boxes hold the same non-zero
// code, converted as the store converts them.
bool edtCheck_RepeatedRadio_ID(const EditorForm& form);

}  // namespace vyn
