#pragma once

// A drop-down list's model: the item texts shown and, in the same order, the image code each
// item stands for, with the selected position.

#include <optional>
#include <string>
#include <vector>

namespace vyn {

class ChoiceList {
 public:
  struct Item {
    std::string text;
    int code = 0;
  };

  // Removes every item; nothing is selected afterwards.
  void Clear();
  void Add(std::string text, int code);

  int Count() const { return static_cast<int>(items_.size()); }
  // An index outside the list gives an empty text and the code -1.
  const std::string& Text(int index) const;
  int Code(int index) const;
  const std::vector<Item>& Items() const { return items_; }

  // The position of the first item with `code`, -1 when there is none.
  int PositionOfCode(int code) const;
  // Selects the first item with `code`; when there is none nothing is selected and the result
  // is false.
  bool SelectCode(int code);
  // The code of the selected item; nullopt when nothing is selected, in which case a caller
  // has no value to store.
  std::optional<int> SelectedCode() const;

  // -1 when nothing is selected. Setting a position outside the list selects nothing.
  int ItemIndex() const { return item_index_; }
  void SetItemIndex(int index);

 private:
  std::vector<Item> items_;
  int item_index_ = -1;
};

}  // namespace vyn
