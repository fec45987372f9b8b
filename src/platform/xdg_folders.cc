#include "platform/xdg_folders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "core/files/path_text.h"
#include "core/strings/edition.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;

// The base-directory rules ignore relative paths: they would depend on the working folder.
bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

bool HoldsSettingsFile(const fs::path& folder) {
  std::error_code error;
  return fs::is_regular_file(folder / kInstalledSettingsFileName, error);
}

}  // namespace

std::string DataHomeFolder(const char* xdg_data_home, const char* home) {
  if (IsAbsolute(xdg_data_home)) return WithoutTrailingSeparator(xdg_data_home);
  if (IsAbsolute(home)) return WithoutTrailingSeparator(home) + "/.local/share";
  return "";
}

std::string DocumentsFolderFromUserDirs(std::string_view user_dirs_text, const std::string& home) {
  constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
  constexpr std::string_view kHome = "$HOME";
  std::string found;
  std::size_t begin = 0;
  while (begin < user_dirs_text.size()) {
    std::size_t end = user_dirs_text.find('\n', begin);
    if (end == std::string_view::npos) end = user_dirs_text.size();
    std::string_view line = user_dirs_text.substr(begin, end - begin);
    begin = end + 1;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
      line.remove_suffix(1);
    }
    if (!line.starts_with(kKey)) continue;
    line.remove_prefix(kKey.size());
    if (line.size() < 2 || line.front() != '"' || line.back() != '"') continue;
    line = line.substr(1, line.size() - 2);
    // The file is written for the shell: a backslash quotes the next character.
    std::string value;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) ++i;
      value += line[i];
    }
    std::string path;
    if (value.starts_with(kHome) && (value.size() == kHome.size() || value[kHome.size()] == '/')) {
      if (home.empty() || home.front() != '/') continue;
      path = WithoutTrailingSeparator(home) + value.substr(kHome.size());
    } else if (value.starts_with('/')) {
      path = value;
    } else {
      continue;
    }
    found = WithoutTrailingSeparator(path);  // like the shell, the last entry counts
  }
  return found;
}

std::string DocumentsFolder(const char* xdg_config_home, const char* home) {
  if (!IsAbsolute(home)) return "";
  const std::string home_folder = WithoutTrailingSeparator(home);
  const std::string config =
      IsAbsolute(xdg_config_home) ? std::string(xdg_config_home) : home_folder + "/.config";
  std::ifstream in(fs::path(config) / "user-dirs.dirs", std::ios::binary);
  if (in) {
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string documents = DocumentsFolderFromUserDirs(text, home_folder);
    if (!documents.empty()) return documents;
  }
  return home_folder + "/Documents";
}

std::string InstallationFolder(const std::string& executable_folder) {
  const fs::path folder(executable_folder);
  if (HoldsSettingsFile(folder)) return executable_folder;
  const fs::path installed = (folder / "../share/vyn-programmer").lexically_normal();
  if (HoldsSettingsFile(installed)) return WithoutTrailingSeparator(installed.string());
  return executable_folder;
}

std::string ExecutableFolder() {
  std::error_code error;
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  if (!error && executable.has_parent_path()) return executable.parent_path().string();
  const fs::path working = fs::current_path(error);
  return error ? std::string(".") : working.string();
}

bool EnsureUserFolder(const std::string& folder) {
  if (folder.empty()) return false;
  std::error_code error;
  if (fs::is_directory(folder, error)) return true;
  // Every missing level is made here, each for the user only whatever the umask (a parent made
  // by create_directories would take the umask's permissions, 0775 under umask 002).
  fs::path level;
  for (const fs::path& part : fs::path(folder)) {
    level /= part;
    if (fs::is_directory(level, error)) continue;
    if (mkdir(level.c_str(), 0700) != 0 && errno != EEXIST) return false;
    chmod(level.c_str(), 0700);
  }
  return fs::is_directory(folder, error);
}

std::string UserProgramDataFolder(const char* xdg_data_home, const char* home,
                                  const StringTable& table) {
  const std::string data_home = DataHomeFolder(xdg_data_home, home);
  if (data_home.empty()) return "";
  return data_home + EditionFolderPathPosix(table);
}

StartupEnvironment SystemStartupEnvironment(std::vector<std::string> arguments) {
  const char* home = std::getenv("HOME");
  StartupEnvironment env;
  env.data_folder = DataHomeFolder(std::getenv("XDG_DATA_HOME"), home);
  EnsureUserFolder(env.data_folder);
  env.documents_folder = DocumentsFolder(std::getenv("XDG_CONFIG_HOME"), home);
  EnsureUserFolder(env.documents_folder);
  env.executable_folder = ExecutableFolder();
  env.install_folder = InstallationFolder(env.executable_folder);
  env.arguments = std::move(arguments);
  return env;
}

}  // namespace vyn
