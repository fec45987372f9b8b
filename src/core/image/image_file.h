#pragma once

// Configuration files: the bare image, 2048 bytes, or 512 bytes in the old short layout.

#include <string>
#include <system_error>

#include "core/image/parameter_image.h"
#include "core/image/vyn_data.h"

namespace vyn {

enum class ImageFileResult {
  kOk,
  kCannotOpen,  // the image is left as it was
  kWrongSize,   // neither 2048 nor 512 bytes, or the read failed; the image holds what was
                // read and 0 after it
  kNotAFile,    // a folder, FIFO, device or socket: refused at once without reading (a FIFO
                // would block for ever); the image is left as it was
};

// On kOk `short_layout` tells whether the file had 512 bytes; on kWrongSize it is false
// (the image is not a short-layout image); on kCannotOpen it is unchanged.
ImageFileResult ReadImageFile(const std::string& path, ParameterImage& image, bool& short_layout);
// Reads into data.WorkingImage and sets data.ShortLayout; file name and origin are the
// caller's.
ImageFileResult ReadImageFile(const std::string& path, VynData& data);

// Why a read of `path` gave `result`, in words for the message after the program's own:
// "not found", "permission denied", "a folder, not a file", "100 bytes, not 2048 or 512", ...
std::string ImageFileProblem(const std::string& path, ImageFileResult result);

enum class ImageWriteResult {
  kOk,
  kCannotCreate,   // no temporary file could be made beside the target
  kWriteFailed,    // writing or flushing the 2048 bytes failed
  kCannotReplace,  // the finished file could not take the target's place
  kNotAFile,       // the target is a folder, device, FIFO or socket
};

// Writes all 2048 bytes to a temporary file in the target's folder and then renames it over
// the target, so a failed or interrupted save leaves the previous file as it was. A new file
// gets the permissions of the process's umask (0644 with umask 022); an existing target keeps
// its permissions. A symlink is written through to its target. `cause`, when given, receives the
// system's error of a failure (CauseText in core/files/file_checks.h puts it in words).
ImageWriteResult WriteImageFile(const ParameterImage& image, const std::string& path,
                                std::error_code* cause = nullptr);

}  // namespace vyn
