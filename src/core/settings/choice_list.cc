#include "core/settings/choice_list.h"

#include <utility>

namespace vyn {

void ChoiceList::Clear() {
  items_.clear();
  item_index_ = -1;
}

void ChoiceList::Add(std::string text, int code) { items_.push_back({std::move(text), code}); }

const std::string& ChoiceList::Text(int index) const {
  static const std::string kNone;
  return (index >= 0 && index < Count()) ? items_[index].text : kNone;
}

int ChoiceList::Code(int index) const {
  return (index >= 0 && index < Count()) ? items_[index].code : -1;
}

int ChoiceList::PositionOfCode(int code) const {
  for (int i = 0; i < Count(); ++i) {
    if (items_[i].code == code) return i;
  }
  return -1;
}

bool ChoiceList::SelectCode(int code) {
  item_index_ = PositionOfCode(code);
  return item_index_ >= 0;
}

std::optional<int> ChoiceList::SelectedCode() const {
  if (item_index_ < 0 || item_index_ >= Count()) return std::nullopt;
  return items_[item_index_].code;
}

void ChoiceList::SetItemIndex(int index) {
  item_index_ = (index >= 0 && index < Count()) ? index : -1;
}

}  // namespace vyn
