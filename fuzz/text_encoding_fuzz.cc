// The text encodings: Windows-1252 text always decodes to valid UTF-8 and encodes back to the
// same bytes; repaired text is valid UTF-8 and valid text is left as it is.

#include <cstdint>

#include "core/settings/text_encoding.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vyn;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string decoded = Windows1252ToUtf8(bytes);
  FUZZ_CHECK(IsValidUtf8(decoded));
  FUZZ_CHECK(Utf8ToWindows1252(decoded) == bytes);
  const std::string repaired = RepairUtf8(bytes);
  FUZZ_CHECK(IsValidUtf8(repaired));
  if (IsValidUtf8(bytes)) {
    FUZZ_CHECK(repaired == bytes);
  }
  FUZZ_CHECK(EqualsIgnoringAsciiCase(bytes, bytes));
  return 0;
}
