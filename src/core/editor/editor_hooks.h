#pragma once

// The editor's conversions between its pages and the image, as the file commands and the device
// flows call them.

#include <functional>

namespace vyn {

// The parts of a flow that belong to the editor: its conversions between pages and image and
// its duplicate check of the transmitter boxes.
enum class StoreResult : int {
  kOk = 0,
  kPoolOverflow = 1,   // telephone number memory full
  kAdvancedRange = 2,  // advanced values outside 0..255
  kDecimalRange = 3,   // advanced decimal values outside 0.0..7.5
};
inline constexpr int kLoadOk = -1;

struct EditorHooks {
  // The pages into data.WorkingImage.
  std::function<StoreResult()> StoreControls;
  // data.WorkingImage into the pages: kLoadOk, or the address of a byte that is not valid.
  std::function<int()> LoadControls;
  // Whether two transmitter boxes hold the same non-zero code.
  std::function<bool()> HasDuplicateTransmitters;
  // The window caption after the origin changed; may be empty.
  std::function<void()> UpdateCaption;
};

}  // namespace vyn
