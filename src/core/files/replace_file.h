#pragma once

// Replacing a file whole: the new content goes into a fresh file beside the target, which is
// then renamed over it, so a reader never sees half a file and a failed write leaves the old
// one as it was.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vyn {

enum class ReplaceFileResult {
  kOk,
  kCannotCreate,   // no temporary file could be made in the target's folder
  kWriteFailed,    // writing or flushing the content failed
  kCannotReplace,  // the finished file could not take the target's place
};

// Writes `content` byte for byte (no line-end translation). A new file gets
// `new_file_permissions` when given (set before any content is written), else the permissions of
// the process's umask; an existing target keeps its permissions.
ReplaceFileResult ReplaceFileContent(
    const std::string& path, std::string_view content,
    std::optional<std::filesystem::perms> new_file_permissions = std::nullopt);

}  // namespace vyn
