#pragma once

// Checks made before a file is read or written, and the cause of a failure in words for the
// message that reports it. Only regular files are read or replaced: a FIFO would block a read
// for ever and a device node or folder must never be replaced by a file.

#include <string>
#include <system_error>

namespace vyn {

// Empty when `path` names a regular file that can be opened for reading; otherwise the cause:
// "not found", "permission denied", "a folder, not a file", "not a regular file (a FIFO, device
// or socket)" or the system's text.
std::string ReadableFileProblem(const std::string& path);

// Empty when a regular file at `path` (or what a symlink there points to) can be created or
// replaced: the target is missing or a regular file, and a new file can be made in its folder
// (checked by making and removing one). Otherwise the cause, as above, or "the folder ... does
// not exist".
std::string WritableFileProblem(const std::string& path);

// The words for a system error: "not found", "permission denied", "a folder, not a file", "not a
// folder", "no
// space left on the device", "read-only file system", else the system's own text.
std::string CauseText(const std::error_code& error);

}  // namespace vyn
