#pragma once

#include <cstdint>
#include <string>

#include "core/image/parameter_image.h"

namespace vyn {

enum class ImageOrigin : std::int32_t {
  FromDefault = 0,
  OpenedFile = 1,
  SavedFile = 2,
  ReadFromUnit = 3,
};

// An image together with what belongs to it. Every window that edits or transfers a
// configuration owns one.
struct VynData {
  std::string FileName;  // empty until a file is opened or saved
  ImageOrigin Origin = ImageOrigin::FromDefault;
  ParameterImage WorkingImage{};
  ParameterImage DeviceImage{};
  ParameterImage ReferenceImage{};
  // The telephone-number slots of WorkingImage hold dial digits (a 512-byte file was read
  // into it) rather than pool indexes. It belongs to this image, not to the process: a file
  // read sets it from the file's size, and an image from the unit or the server clears it,
  // so such an image is never decoded as the short layout.
  bool ShortLayout = false;

  // WorkingImage and DeviceImage hold the same byte at every address first..last inclusive;
  // false for a range outside the image.
  bool RangeMatches(int first, int last) const;

  // An image from the unit (or the server) replaced WorkingImage.
  void MarkReadFromUnit() {
    Origin = ImageOrigin::ReadFromUnit;
    ShortLayout = false;
  }
};

}  // namespace vyn
