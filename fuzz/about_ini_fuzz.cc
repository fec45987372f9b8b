// The information file of the About box: any file gives the maker line or the counted lines,
// then the web and mail lines, never more than the cap allows.

#include <cstdint>

#include "core/app/about_info.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vyn;
  const std::string path =
      fuzz::ScratchFile("about.ini", std::string_view(reinterpret_cast<const char*>(data), size));
  const std::vector<std::string> lines = AboutInfoFileLines(path);
  FUZZ_CHECK(lines.size() >= 3);
  FUZZ_CHECK(lines.size() <= static_cast<std::size_t>(kMaxAboutInfoLines) + 3);
  return 0;
}
