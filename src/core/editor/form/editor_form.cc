#include "core/editor/form/editor_form.h"

#include <stdexcept>
#include <utility>

#include "core/image/codecs.h"

namespace vyn {

bool KeyAccepted(KeyFilter filter, char c) {
  switch (filter) {
    case KeyFilter::kNone:
      return true;
    case KeyFilter::kRadio:
    case KeyFilter::kHex:
      return AcceptsHexKey(c);
    case KeyFilter::kAlarmCode:
      return AcceptsAlarmCodeKey(c);
  }
  return true;
}

void Control::SetText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  Touch();
}

void Control::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Touch();
}

void Control::SetHint(std::string hint) {
  if (hint == hint_) return;
  hint_ = std::move(hint);
  Touch();
}

void Control::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Touch();
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Touch();
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Touch();
}

void Control::SetList(ChoiceList list) {
  list_ = std::move(list);
  Touch();
}

void Control::SetItemIndex(int index) {
  const int before = list_.ItemIndex();
  list_.SetItemIndex(index);
  if (list_.ItemIndex() != before) Touch();
}

void Control::SetPosition(int position) {
  if (position < min_) position = min_;
  if (position > max_) position = max_;
  if (position == position_) return;
  position_ = position;
  Touch();
}

void Control::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  SetPosition(position_);
}

void Control::SetGridSize(int rows, int columns) {
  column_count_ = columns;
  cells_.resize(static_cast<std::size_t>(rows));
  for (std::vector<std::string>& row : cells_) row.resize(static_cast<std::size_t>(columns));
  Touch();
}

const std::string& Control::cell(int row, int column) const {
  static const std::string kEmpty;
  if (row < 0 || row >= row_count() || column < 0 || column >= column_count_) return kEmpty;
  return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void Control::SetCell(int row, int column, std::string text) {
  if (row < 0 || row >= row_count() || column < 0 || column >= column_count_) return;
  std::string& cell = cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  if (cell == text) return;
  cell = std::move(text);
  Touch();
}

const std::optional<LoadedValue>& Control::loaded_row(int row) const {
  static const std::optional<LoadedValue> kNone;
  if (row < 0 || row >= static_cast<int>(loaded_rows_.size())) return kNone;
  return loaded_rows_[static_cast<std::size_t>(row)];
}

void Control::SetLoadedRow(int row, std::optional<LoadedValue> loaded) {
  if (row < 0) return;
  if (row >= static_cast<int>(loaded_rows_.size()))
    loaded_rows_.resize(static_cast<std::size_t>(row) + 1);
  loaded_rows_[static_cast<std::size_t>(row)] = std::move(loaded);
}

Control& EditorForm::Add(std::string name, ControlKind kind) {
  const int index = size();
  const auto [it, added] = index_.emplace(name, index);
  if (!added) throw std::logic_error("editor control added twice: " + name);
  controls_.emplace_back(std::move(name), kind);
  return controls_.back();
}

int EditorForm::IndexOf(std::string_view name) const {
  const auto it = index_.find(name);
  return it == index_.end() ? -1 : it->second;
}

Control* EditorForm::Find(std::string_view name) {
  const int index = IndexOf(name);
  return index < 0 ? nullptr : &at(index);
}

const Control* EditorForm::Find(std::string_view name) const {
  const int index = IndexOf(name);
  return index < 0 ? nullptr : &at(index);
}

Control& EditorForm::Get(std::string_view name) {
  Control* control = Find(name);
  if (!control) throw std::logic_error("no editor control " + std::string(name));
  return *control;
}

const Control& EditorForm::Get(std::string_view name) const {
  const Control* control = Find(name);
  if (!control) throw std::logic_error("no editor control " + std::string(name));
  return *control;
}

}  // namespace vyn
