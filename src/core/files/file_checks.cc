#include "core/files/file_checks.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "core/files/replace_file.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;

std::string TypeProblem(fs::file_type type) {
  switch (type) {
    case fs::file_type::regular:
    case fs::file_type::not_found:
      return "";
    case fs::file_type::directory:
      return "a folder, not a file";
    default:
      return "not a regular file (a FIFO, device or socket)";
  }
}

}  // namespace

std::string CauseText(const std::error_code& error) {
  const std::error_condition condition = error.default_error_condition();
  if (condition == std::errc::no_such_file_or_directory) return "not found";
  if (condition == std::errc::permission_denied ||
      condition == std::errc::operation_not_permitted) {
    return "permission denied";
  }
  if (condition == std::errc::is_a_directory) return "a folder, not a file";
  if (condition == std::errc::not_a_directory) return "not a folder";
  if (condition == std::errc::no_space_on_device) return "no space left on the device";
  if (condition == std::errc::read_only_file_system) return "read-only file system";
  if (condition == std::errc::filename_too_long) return "name too long";
  return error.message();
}

std::string ReadableFileProblem(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return "not found";
  if (error) return CauseText(error);
  if (status.type() != fs::file_type::regular) return TypeProblem(status.type());
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return errno != 0 ? CauseText(std::error_code(errno, std::generic_category()))
                      : "cannot be opened";
  return "";
}

std::string WritableFileProblem(const std::string& path) {
  std::error_code error;
  const fs::path target = ReplacementTarget(path, error);
  if (error) return CauseText(error);
  const fs::file_status status = fs::status(target, error);
  if (error && status.type() != fs::file_type::not_found) return CauseText(error);
  if (const std::string problem = TypeProblem(status.type()); !problem.empty()) return problem;
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  if (!fs::is_directory(folder, error)) {
    return "the folder " + folder.string() + " does not exist";
  }
  // Whether a file can be made there is only known by making one.
  if (ProbeFolderWritable(folder, error) != ReplaceFileResult::kOk) return CauseText(error);
  return "";
}

}  // namespace vyn
