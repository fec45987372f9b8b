// The text list of any image: always the same number of lines, each ended by CR LF, and no
// control byte from the image's texts in it.

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/reports/text_list.h"
#include "core/strings/edition.h"
#include "fuzz_support.h"

namespace {

struct Lines {
  std::size_t count = 0;
  bool well_formed = true;  // every CR is followed by LF and every LF preceded by CR
  bool control_free = true;
};

Lines Scan(const std::string& text) {
  Lines lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\r') {
      if (i + 1 >= text.size() || text[i + 1] != '\n') lines.well_formed = false;
    } else if (c == '\n') {
      if (i == 0 || text[i - 1] != '\r') lines.well_formed = false;
      ++lines.count;
    } else if (c < 0x20 || c == 0x7F) {
      lines.control_free = false;
    }
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vyn;
  static const StringTable kTables[] = {
      StringTable::Builtin(),
      StringTable::Builtin().WithText(kEditionNameStringId, std::string(kEditionVelkstrom)),
  };
  // The line count of each edition, taken from an empty image.
  static const std::size_t kLineCounts[] = {Scan(TextListContent(VynData{}, kTables[0])).count,
                                            Scan(TextListContent(VynData{}, kTables[1])).count};

  fuzz::Input input(data, size);
  const unsigned edition = input.Below(2);
  VynData vyn_data;
  vyn_data.Origin = static_cast<ImageOrigin>(input.Below(4));
  vyn_data.ShortLayout = input.Byte() & 1;
  vyn_data.FileName = input.Bytes(40);
  const std::string rest = input.Rest();
  std::copy_n(rest.begin(), std::min(rest.size(), kImageSize), vyn_data.WorkingImage.begin());

  const std::string list = TextListContent(vyn_data, kTables[edition]);
  const Lines lines = Scan(list);
  FUZZ_CHECK(lines.well_formed);
  FUZZ_CHECK(lines.count == kLineCounts[edition]);
  FUZZ_CHECK(lines.control_free);
  FUZZ_CHECK(list.size() >= 2 && list.ends_with("\r\n"));
  return 0;
}
