#pragma once

// EditorForm: the state of every control of the detailed editor by its system name, without
// pixels. What the user sees (texts, check marks, selections, grid cells, captions, hints,
// what is shown and enabled) lives here; the Qt pages only mirror it. Every change goes
// through a setter, which counts the control's revision, so a view can repaint just what
// changed.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/settings/choice_list.h"

namespace vyn {

enum class ControlKind {
  kGroup,        // a group box (gbx)
  kLabel,        // lbl
  kEdit,         // edt: a one-line edit box
  kCheckBox,     // cb
  kComboBox,     // cbbx: a drop-down list without free text
  kRadioButton,  // rb
  kUpDown,       // ud: the arrows of an edit box
  kButton,       // btn, bbtn
  kGrid,         // sg: a string grid
};

// The key-press handlers of the editor's boxes: a refused character never reaches the box.
enum class KeyFilter {
  kNone,
  kRadio,      // ValidateRadioKeyPress: hexadecimal digits
  kAlarmCode,  // ValidateAlarmcodeKeyPress: the ID-number digits and letters
  kHex,        // ValidateHexKeyPress: hexadecimal digits
};
// Whether the box lets `c` through (the editing control characters always pass).
bool KeyAccepted(KeyFilter filter, char c);

// What LoadControls put into a control: a control that still shows this text was not touched
// by the user, and a store keeps the image's bytes for it where its conversion would change
// them.
struct LoadedValue {
  std::string text;
};

class Control {
 public:
  Control(std::string name, ControlKind kind) : name_(std::move(name)), kind_(kind) {}

  const std::string& name() const { return name_; }
  ControlKind kind() const { return kind_; }
  // Counts every change; a view compares it with what it last showed.
  std::uint64_t revision() const { return revision_; }

  // The edit box's text; the caption of labels, check boxes, buttons and group boxes.
  const std::string& text() const { return text_; }
  void SetText(std::string text);
  const std::string& caption() const { return caption_; }
  void SetCaption(std::string caption);
  const std::string& hint() const { return hint_; }
  void SetHint(std::string hint);

  bool checked() const { return checked_; }
  void SetChecked(bool checked);
  bool visible() const { return visible_; }
  void SetVisible(bool visible);
  bool enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // Drop-down lists: the items with their image codes and the selection (-1: none).
  const ChoiceList& list() const { return list_; }
  void SetList(ChoiceList list);
  int item_index() const { return list_.ItemIndex(); }
  void SetItemIndex(int index);
  int drop_down_lines() const { return drop_down_lines_; }
  void SetDropDownLines(int lines) { drop_down_lines_ = lines; }

  // Up-down controls: position and range; edit boxes: the longest text typed and the filter.
  int position() const { return position_; }
  void SetPosition(int position);
  int min() const { return min_; }
  int max() const { return max_; }
  void SetRange(int min, int max);
  int max_length() const { return max_length_; }
  void SetMaxLength(int length) { max_length_ = length; }
  KeyFilter key_filter() const { return key_filter_; }
  void SetKeyFilter(KeyFilter filter) { key_filter_ = filter; }
  int tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  // String grids: cells by row and column, row 0 the fixed header row. A cell outside the
  // grid reads as empty and cannot be written.
  int row_count() const { return static_cast<int>(cells_.size()); }
  int column_count() const { return column_count_; }
  void SetGridSize(int rows, int columns);
  const std::string& cell(int row, int column) const;
  void SetCell(int row, int column, std::string text);
  const std::vector<int>& column_widths() const { return column_widths_; }
  void SetColumnWidths(std::vector<int> widths) { column_widths_ = std::move(widths); }

  // What the last LoadControls put here (single-value controls), or per grid row.
  const std::optional<LoadedValue>& loaded() const { return loaded_; }
  void SetLoaded(std::optional<LoadedValue> loaded) { loaded_ = std::move(loaded); }
  const std::optional<LoadedValue>& loaded_row(int row) const;
  void SetLoadedRow(int row, std::optional<LoadedValue> loaded);
  void ClearLoadedRows() { loaded_rows_.clear(); }

 private:
  void Touch() { ++revision_; }

  std::string name_;
  ControlKind kind_;
  std::uint64_t revision_ = 0;
  std::string text_;
  std::string caption_;
  std::string hint_;
  bool checked_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  ChoiceList list_;
  int drop_down_lines_ = 8;
  int position_ = 0;
  int min_ = 0;
  int max_ = 0;
  int max_length_ = 0;  // 0: no limit
  KeyFilter key_filter_ = KeyFilter::kNone;
  int tag_ = 0;
  int column_count_ = 0;
  std::vector<std::vector<std::string>> cells_;
  std::vector<int> column_widths_;
  std::optional<LoadedValue> loaded_;
  std::vector<std::optional<LoadedValue>> loaded_rows_;
};

// Looks names up without making a string of them.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};

class EditorForm {
 public:
  EditorForm() = default;
  EditorForm(const EditorForm&) = delete;
  EditorForm& operator=(const EditorForm&) = delete;
  EditorForm(EditorForm&&) = default;
  EditorForm& operator=(EditorForm&&) = default;

  // Adds a control; the name must be new.
  Control& Add(std::string name, ControlKind kind);
  // Nullptr when the form has no control of that name.
  Control* Find(std::string_view name);
  const Control* Find(std::string_view name) const;
  // The control of a name the binding tables guarantee (a missing one is a programming error).
  Control& Get(std::string_view name);
  const Control& Get(std::string_view name) const;
  // The index of a control for fast repeated access; -1 when there is none.
  int IndexOf(std::string_view name) const;
  Control& at(int index) { return controls_[static_cast<std::size_t>(index)]; }
  const Control& at(int index) const { return controls_[static_cast<std::size_t>(index)]; }

  int size() const { return static_cast<int>(controls_.size()); }
  const std::vector<Control>& controls() const { return controls_; }
  std::vector<Control>& controls() { return controls_; }

 private:
  std::vector<Control> controls_;
  std::unordered_map<std::string, int, NameHash, std::equal_to<>> index_;
};

}  // namespace vyn
