#include "core/image/image_file.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string_view>

#include "core/files/replace_file.h"

namespace vyn {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

ImageFileResult ReadImageFile(const std::string& path, ParameterImage& image, bool& short_layout) {
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

ImageWriteResult WriteImageFile(const ParameterImage& image, const std::string& path) {
  const std::string_view content(reinterpret_cast<const char*>(image.data()), image.size());
  switch (ReplaceFileContent(path, content)) {
    case ReplaceFileResult::kOk:
      return ImageWriteResult::kOk;
    case ReplaceFileResult::kCannotCreate:
      return ImageWriteResult::kCannotCreate;
    case ReplaceFileResult::kWriteFailed:
      return ImageWriteResult::kWriteFailed;
    case ReplaceFileResult::kCannotReplace:
      break;
  }
  return ImageWriteResult::kCannotReplace;
}

}  // namespace vyn
