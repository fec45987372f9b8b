// The path rules: folder texts lose only their trailing separators, a configuration name gets
// its extension and keeps its folder, a text list is named inside the folder it belongs to.

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/editor/file_commands.h"
#include "core/files/path_text.h"
#include "core/reports/text_list.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vyn;
  fuzz::Input input(data, size);
  const std::string folder = input.Bytes(64);
  const std::string name = input.Bytes(64);
  const std::string alarm_code = input.Rest();

  const std::string trimmed = WithoutTrailingSeparator(folder);
  FUZZ_CHECK(folder.starts_with(trimmed));
  FUZZ_CHECK(trimmed == "/" || !trimmed.ends_with('/'));
  FUZZ_CHECK(WithoutTrailingSeparator(trimmed) == trimmed);

  const std::string path = folder + "/" + name;
  const std::string configuration = WithConfigurationExtension(path);
  FUZZ_CHECK(configuration.ends_with(".Rodid"));
  FUZZ_CHECK(configuration.starts_with(folder + "/"));

  VynData vyn_data;
  vyn_data.FileName = path;
  // The alarm code A names the list of an image read from the unit.
  std::copy_n(alarm_code.begin(), std::min<std::size_t>(alarm_code.size(), 8),
              vyn_data.WorkingImage.begin() + 0x40);
  for (const ImageOrigin origin :
       {ImageOrigin::FromDefault, ImageOrigin::OpenedFile, ImageOrigin::ReadFromUnit}) {
    vyn_data.Origin = origin;
    const std::string list = TextListFileName(vyn_data, "/data/");
    FUZZ_CHECK(list.ends_with(".txt"));
    if (origin == ImageOrigin::FromDefault) FUZZ_CHECK(list == "/data/Default.txt");
    if (origin == ImageOrigin::OpenedFile) FUZZ_CHECK(list == path + ".txt");
    if (origin == ImageOrigin::ReadFromUnit) {
      // Named beside the last file: the alarm code adds no folder.
      const std::string beside = path.substr(0, path.rfind('/') + 1);
      FUZZ_CHECK(list.starts_with(beside));
      FUZZ_CHECK(list.find('/', beside.size()) == std::string::npos);
    }
  }
  return 0;
}
