#pragma once

// The editor's conversions between its pages and the image, as the file commands and the device
// flows call them.

#include <functional>

#include "core/strings/message_ids.h"

namespace vyn {

// The parts of a flow that belong to the editor: its conversions between pages and image and
// its duplicate check of the transmitter boxes.
enum class StoreResult : int {
  kOk = 0,
  kPoolOverflow = 1,   // telephone number memory full
  kAdvancedRange = 2,  // advanced values outside 0..255
  kDecimalRange = 3,   // advanced decimal values outside 0.0..7.5
  // A typed text that is not a number ended the store; the store has shown its message.
  kConversionError = 4,
};
// The message of a store result that the caller shows (15101..15103); 0 for kOk and for the
// conversion error, which the store reports itself.
inline int StoreResultMessage(StoreResult result) {
  switch (result) {
    case StoreResult::kPoolOverflow:
      return msg::kStorePoolOverflow;
    case StoreResult::kAdvancedRange:
      return msg::kStoreAdvancedRange;
    case StoreResult::kDecimalRange:
      return msg::kStoreVoltageRange;
    case StoreResult::kOk:
    case StoreResult::kConversionError:
      return 0;
  }
  return 0;
}
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
