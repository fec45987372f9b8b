#pragma once

// Replacing a file whole: the new content goes into a fresh file beside the target, which is
// then renamed over it, so a reader never sees half a file and a failed write leaves the old
// one as it was.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace vyn {

enum class ReplaceFileResult {
  kOk,
  kCannotCreate,   // no temporary file could be made in the target's folder
  kWriteFailed,    // writing or flushing the content failed
  kCannotReplace,  // the finished file could not take the target's place
  kNotAFile,       // the target is a folder, device, FIFO or socket: it is never replaced
};

// Writes `content` byte for byte (no line-end translation). A new file gets
// `new_file_permissions` when given (set before any content is written), else the permissions of
// the process's umask; an existing target keeps its permissions. A symlink is written through:
// the file it points to is replaced in its own folder and the link stays. The temporary name is
// short, so a target whose name is as long as the file system allows can still be written.
// `cause`, when given, receives the system's error of a failure.
ReplaceFileResult ReplaceFileContent(
    const std::string& path, std::string_view content,
    std::optional<std::filesystem::perms> new_file_permissions = std::nullopt,
    std::error_code* cause = nullptr);

// The file a write to `path` replaces: `path` itself, or for a symlink (also a chain of them,
// also one whose target is missing) the path it finally points to.
std::filesystem::path ReplacementTarget(const std::filesystem::path& path, std::error_code& error);

// Makes and removes a temporary file in `folder`: kOk when that works, else kCannotCreate with
// the system's error in `error`.
ReplaceFileResult ProbeFolderWritable(const std::filesystem::path& folder, std::error_code& error);

}  // namespace vyn
