#include "cli/image_source.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/files/file_checks.h"
#include "core/image/image_file.h"
#include "core/strings/message_ids.h"
#include "core/strings/string_table.h"

namespace vyn::cli {

bool LoadImage(const std::string& command, const std::string& path, ParameterImage& image,
               bool& short_layout, std::ostream& err) {
  const ImageFileResult result = ReadImageFile(path, image, short_layout);
  if (result == ImageFileResult::kOk) return true;
  err << "vynctl " << command << ": " << path << ": "
      << StringTable::Builtin().Text(msg::kCannotLoadConfiguration) << " ("
      << ImageFileProblem(path, result) << ")\n";
  return false;
}

bool SaveImage(const std::string& command, const std::string& path, const ParameterImage& image,
               std::ostream& err) {
  std::error_code cause;
  const ImageWriteResult result = WriteImageFile(image, path, &cause);
  if (result == ImageWriteResult::kOk) return true;
  err << "vynctl " << command << ": " << path << ": cannot be written ("
      << (result == ImageWriteResult::kNotAFile ? WritableFileProblem(path) : CauseText(cause))
      << ")\n";
  return false;
}

std::optional<VynIni> CheckedSettingsFile(const std::string& command, const std::string& path,
                                          std::ostream& err) {
  VynIni ini(path);
  if (const std::string problem = ini.Problem(); !problem.empty()) {
    err << "vynctl " << command << ": settings file " << path << ": " << problem << "\n";
    return std::nullopt;
  }
  for (const std::string_view section : ini.MissingListSections()) {
    err << "vynctl " << command << ": settings file " << path << " has no section [" << section
        << "]; its values read as invalid\n";
  }
  return ini;
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
