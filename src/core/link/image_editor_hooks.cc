#include "core/link/image_editor_hooks.h"

#include <set>
#include <utility>

#include "core/image/number_pool.h"

namespace vyn {

bool HasDuplicateTransmitterCodes(const ParameterImage& image) {
  std::set<int> seen;
  for (int n = 0; n < kTransmitterCodeCount; ++n) {
    const int value = image[2 * n] | (image[2 * n + 1] << 8);
    if (value != 0 && !seen.insert(value).second) return true;
  }
  return false;
}

int LastInvalidAddress(const ParameterImage& image, const ListMembership& in_list) {
  const std::vector<InvalidByte> invalid = ValidateImage(image, in_list);
  return invalid.empty() ? kLoadOk : invalid.back().address;
}

EditorHooks MakeImageEditorHooks(VynData& data, ListMembership in_list) {
  EditorHooks hooks;
  hooks.StoreControls = [&data] {
    if (data.ShortLayout) {
      MoveNumbersIntoPool(data.WorkingImage);
      data.ShortLayout = false;
    }
    return StoreResult::kOk;
  };
  hooks.LoadControls = [&data, in_list = std::move(in_list)] {
    return LastInvalidAddress(data.WorkingImage, in_list);
  };
  hooks.HasDuplicateTransmitters = [&data] {
    return HasDuplicateTransmitterCodes(data.WorkingImage);
  };
  return hooks;
}

}  // namespace vyn
