// The configuration file reader: any file either reads as a 2048- or 512-byte image holding
// exactly the file's bytes (0 after a short one), or is refused.

#include <algorithm>
#include <cstdint>

#include "core/image/image_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vyn;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = fuzz::ScratchFile("config.Rodid", bytes);
  ParameterImage image;
  image.fill(0x5A);
  bool short_layout = true;
  const ImageFileResult result = ReadImageFile(path, image, short_layout);
  const bool right_size = size == kImageSize || size == kShortImageSize;
  FUZZ_CHECK((result == ImageFileResult::kOk) == right_size);
  if (result == ImageFileResult::kOk) {
    FUZZ_CHECK(short_layout == (size == kShortImageSize));
    FUZZ_CHECK(std::equal(data, data + size, image.begin()));
    FUZZ_CHECK(std::all_of(image.begin() + static_cast<long>(size), image.end(),
                           [](std::uint8_t b) { return b == 0; }));
  } else {
    FUZZ_CHECK(result == ImageFileResult::kWrongSize);
    FUZZ_CHECK(!short_layout);
  }
  return 0;
}
