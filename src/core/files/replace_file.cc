#include "core/files/replace_file.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vyn {
namespace {

namespace fs = std::filesystem;

// A fresh hidden file beside `target`. The name only has to differ from files that exist; the
// exclusive mode "x" makes sure nobody else's file is ever reused or truncated.
std::FILE* CreateTemporary(const fs::path& target, fs::path& temporary) {
  static std::atomic<unsigned> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  const fs::path folder = target.parent_path();
  for (int attempt = 0; attempt < 16; ++attempt) {
    temporary = folder / ("." + target.filename().string() + ".tmp" + std::to_string(now) + "-" +
                          std::to_string(counter++));
    if (std::FILE* file = std::fopen(temporary.c_str(), "wbx")) return file;
  }
  return nullptr;
}

}  // namespace

ReplaceFileResult ReplaceFileContent(const std::string& path, std::string_view content,
                                     std::optional<fs::perms> new_file_permissions) {
  const fs::path target(path);
  if (target.filename().empty()) return ReplaceFileResult::kCannotCreate;
  fs::path temporary;
  std::FILE* file = CreateTemporary(target, temporary);
  if (file == nullptr) return ReplaceFileResult::kCannotCreate;
  std::error_code error;
  if (new_file_permissions) {
    fs::permissions(temporary, *new_file_permissions, fs::perm_options::replace, error);
    if (error) {
      std::fclose(file);
      fs::remove(temporary, error);
      return ReplaceFileResult::kCannotCreate;
    }
  }
  bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  written = std::fflush(file) == 0 && written;
  written = std::fclose(file) == 0 && written;
  if (!written) {
    fs::remove(temporary, error);
    return ReplaceFileResult::kWriteFailed;
  }
  const fs::file_status existing = fs::status(target, error);
  if (!error && fs::is_regular_file(existing)) {
    fs::permissions(temporary, existing.permissions(), fs::perm_options::replace, error);
  }
  error.clear();
  fs::rename(temporary, target, error);
  if (error) {
    fs::remove(temporary, error);
    return ReplaceFileResult::kCannotReplace;
  }
  return ReplaceFileResult::kOk;
}

}  // namespace vyn
