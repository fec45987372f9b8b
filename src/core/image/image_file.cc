#include "core/image/image_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

namespace vyn {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A fresh file beside `target`; "x" makes the creation exclusive, so an existing file is
// never reused or truncated.
File CreateTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 16; ++attempt) {
    temporary = target;
    temporary += ".tmp" + std::to_string(random() % 1000000);
    if (std::FILE* file = std::fopen(temporary.c_str(), "wbx")) return File(file);
  }
  return nullptr;
}

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
  namespace fs = std::filesystem;
  const fs::path target(path);
  fs::path temporary;
  File file = CreateTemporary(target, temporary);
  if (!file) return ImageWriteResult::kCannotCreate;
  const bool written = std::fwrite(image.data(), 1, image.size(), file.get()) == image.size() &&
                       std::fflush(file.get()) == 0;
  const bool closed = std::fclose(file.release()) == 0;
  std::error_code error;
  if (!written || !closed) {
    fs::remove(temporary, error);
    return ImageWriteResult::kWriteFailed;
  }
  const fs::file_status existing = fs::status(target, error);
  if (!error && fs::is_regular_file(existing)) {
    fs::permissions(temporary, existing.permissions(), fs::perm_options::replace, error);
  }
  error.clear();
  fs::rename(temporary, target, error);
  if (error) {
    fs::remove(temporary, error);
    return ImageWriteResult::kCannotReplace;
  }
  return ImageWriteResult::kOk;
}

}  // namespace vyn
