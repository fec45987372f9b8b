#include "core/files/replace_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vyn {
namespace {

namespace fs = std::filesystem;

// Symlinks followed at most; a longer chain is a loop.
constexpr int kMaxLinkHops = 40;

// A fresh hidden file in `folder`. The name only has to differ from files that exist and stays
// short (16 characters) whatever the target's name; the exclusive mode "x" makes sure nobody
// else's file is ever reused or truncated.
std::FILE* CreateTemporary(const fs::path& folder, fs::path& temporary, std::error_code& error) {
  static std::atomic<unsigned> counter{0};
  const auto now =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 16; ++attempt) {
    char name[32];
    const unsigned long long mixed = (now ^ (now >> 29)) * 0x9E3779B97F4A7C15ULL + counter++;
    std::snprintf(name, sizeof name, ".vyn%08llx.tmp", mixed & 0xFFFFFFFFULL);
    temporary = folder / name;
    errno = 0;
    if (std::FILE* file = std::fopen(temporary.c_str(), "wbx")) return file;
    error = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    if (errno != EEXIST) break;
  }
  return nullptr;
}

fs::path FolderOf(const fs::path& target) {
  return target.parent_path().empty() ? fs::path(".") : target.parent_path();
}

}  // namespace

fs::path ReplacementTarget(const fs::path& path, std::error_code& error) {
  error.clear();
  fs::path target = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    const fs::file_status status = fs::symlink_status(target, error);
    if (error) {
      if (status.type() == fs::file_type::not_found) error.clear();
      return target;
    }
    if (status.type() != fs::file_type::symlink) return target;
    const fs::path next = fs::read_symlink(target, error);
    if (error) return target;
    target = next.is_absolute() ? next : FolderOf(target) / next;
  }
  error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
  return target;
}

ReplaceFileResult ProbeFolderWritable(const fs::path& folder, std::error_code& error) {
  fs::path temporary;
  std::FILE* file = CreateTemporary(folder, temporary, error);
  if (file == nullptr) return ReplaceFileResult::kCannotCreate;
  std::fclose(file);
  std::error_code ignored;
  fs::remove(temporary, ignored);
  error.clear();
  return ReplaceFileResult::kOk;
}

ReplaceFileResult ReplaceFileContent(const std::string& path, std::string_view content,
                                     std::optional<fs::perms> new_file_permissions,
                                     std::error_code* cause) {
  std::error_code scratch;
  std::error_code& error = cause != nullptr ? *cause : scratch;
  error.clear();
  if (fs::path(path).filename().empty()) {
    error = std::make_error_code(std::errc::is_a_directory);
    return ReplaceFileResult::kNotAFile;
  }
  const fs::path target = ReplacementTarget(path, error);
  if (error) return ReplaceFileResult::kCannotCreate;
  const fs::file_status existing = fs::status(target, error);
  const bool exists = !error && existing.type() != fs::file_type::not_found;
  error.clear();
  // A folder, device node, FIFO or socket is never replaced by a file.
  if (exists && existing.type() != fs::file_type::regular) {
    error = std::make_error_code(existing.type() == fs::file_type::directory
                                     ? std::errc::is_a_directory
                                     : std::errc::invalid_argument);
    return ReplaceFileResult::kNotAFile;
  }
  fs::path temporary;
  std::FILE* file = CreateTemporary(FolderOf(target), temporary, error);
  if (file == nullptr) return ReplaceFileResult::kCannotCreate;
  std::error_code ignored;
  if (new_file_permissions) {
    fs::permissions(temporary, *new_file_permissions, fs::perm_options::replace, error);
    if (error) {
      std::fclose(file);
      fs::remove(temporary, ignored);
      return ReplaceFileResult::kCannotCreate;
    }
  }
  errno = 0;
  bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  written = std::fflush(file) == 0 && written;
  written = std::fclose(file) == 0 && written;
  if (!written) {
    error = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    fs::remove(temporary, ignored);
    return ReplaceFileResult::kWriteFailed;
  }
  if (exists)
    fs::permissions(temporary, existing.permissions(), fs::perm_options::replace, ignored);
  fs::rename(temporary, target, error);
  if (error) {
    fs::remove(temporary, ignored);
    return ReplaceFileResult::kCannotReplace;
  }
  return ReplaceFileResult::kOk;
}

}  // namespace vyn
