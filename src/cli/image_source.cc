#include "cli/image_source.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/image/image_file.h"
#include "core/strings/message_ids.h"
#include "core/strings/string_table.h"

namespace vyn::cli {

bool LoadImage(const std::string& command, const std::string& path, ParameterImage& image,
               bool& short_layout, std::ostream& err) {
  if (ReadImageFile(path, image, short_layout) == ImageFileResult::kOk) return true;
  err << "vynctl " << command << ": " << path << ": "
      << StringTable::Builtin().Text(msg::kCannotLoadConfiguration) << "\n";
  return false;
}

std::string AddressText(int address) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%03X", static_cast<unsigned>(address));
  return text;
}

std::string AddressText(const FieldInfo& field) {
  if (field.width == 1) return AddressText(field.address);
  return AddressText(field.address) + "-" + AddressText(field.last());
}

}  // namespace vyn::cli
