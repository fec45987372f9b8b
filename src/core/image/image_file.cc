#include "core/image/image_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

#include "core/files/file_checks.h"
#include "core/files/replace_file.h"

namespace vyn {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

ImageFileResult ReadImageFile(const std::string& path, ParameterImage& image, bool& short_layout) {
  std::error_code error;
  const std::filesystem::file_type type = std::filesystem::status(path, error).type();
  if (type == std::filesystem::file_type::not_found) return ImageFileResult::kCannotOpen;
  if (!error && type != std::filesystem::file_type::regular) return ImageFileResult::kNotAFile;
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return ImageFileResult::kCannotOpen;
  image.fill(0);
  std::size_t count = std::fread(image.data(), 1, image.size(), file.get());
  const bool read_error = std::ferror(file.get()) != 0;
  // A longer file is not a configuration file either.
  const bool longer = count == image.size() && std::fgetc(file.get()) != EOF;
  if (!read_error && !longer && (count == kImageSize || count == kShortImageSize)) {
    short_layout = count == kShortImageSize;
    return ImageFileResult::kOk;
  }
  short_layout = false;
  return ImageFileResult::kWrongSize;
}

ImageFileResult ReadImageFile(const std::string& path, VynData& data) {
  return ReadImageFile(path, data.WorkingImage, data.ShortLayout);
}

std::string ImageFileProblem(const std::string& path, ImageFileResult result) {
  if (result == ImageFileResult::kWrongSize) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error) {
      return std::to_string(size) + " bytes, not " + std::to_string(kImageSize) + " or " +
             std::to_string(kShortImageSize);
    }
  }
  const std::string problem = ReadableFileProblem(path);
  return problem.empty() ? "cannot be read" : problem;
}

ImageWriteResult WriteImageFile(const ParameterImage& image, const std::string& path,
                                std::error_code* cause) {
  const std::string_view content(reinterpret_cast<const char*>(image.data()), image.size());
  switch (ReplaceFileContent(path, content, std::nullopt, cause)) {
    case ReplaceFileResult::kOk:
      return ImageWriteResult::kOk;
    case ReplaceFileResult::kCannotCreate:
      return ImageWriteResult::kCannotCreate;
    case ReplaceFileResult::kWriteFailed:
      return ImageWriteResult::kWriteFailed;
    case ReplaceFileResult::kNotAFile:
      return ImageWriteResult::kNotAFile;
    case ReplaceFileResult::kCannotReplace:
      break;
  }
  return ImageWriteResult::kCannotReplace;
}

}  // namespace vyn
