// The string table's source: a table that parses holds UTF-8 texts, each found by its id.

#include <cstdint>

#include "core/settings/text_encoding.h"
#include "core/strings/string_table.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vyn;
  std::string error;
  const std::optional<StringTable> table =
      StringTable::Parse(std::string_view(reinterpret_cast<const char*>(data), size), &error);
  if (!table) {
    FUZZ_CHECK(error.starts_with("line "));
    return 0;
  }
  int previous = -1;
  for (const auto& [id, text] : table->All()) {
    FUZZ_CHECK(id > previous);
    previous = id;
    FUZZ_CHECK(IsValidUtf8(text));
    FUZZ_CHECK(table->Text(id) == text);
  }
  return 0;
}
