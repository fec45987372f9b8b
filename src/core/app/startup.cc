#include "core/app/startup.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "core/access/password_store.h"
#include "core/files/path_text.h"
#include "core/files/replace_file.h"
#include "core/settings/text_encoding.h"
#include "core/settings/vyn_ini.h"
#include "core/strings/edition.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCopyChunkSize = 2048;

bool IsDirectory(const std::string& path) {
  std::error_code error;
  return !path.empty() && fs::is_directory(path, error);
}

bool IsFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

// Folders the program makes get these permissions whatever the umask: the program data folder
// (it holds the password store) for the user only; the configuration folder, whose files are
// handed on, readable by others as a documents folder is.
constexpr fs::perms kPrivateFolder = fs::perms::owner_all;
constexpr fs::perms kReadableFolder = fs::perms::owner_all | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read |
                                      fs::perms::others_exec;

// Creates the folder when it is missing, with `permissions`; an existing folder keeps its own.
void CreateFolder(const fs::path& folder, fs::perms permissions) {
  std::error_code error;
  if (fs::create_directory(folder, error)) {
    fs::permissions(folder, permissions, fs::perm_options::replace, error);
  }
}

// Creates every missing level of `relative` (a "/"-separated path) below `base`, outermost first,
// and returns the folder base + relative with exactly one separator between the parts and one
// at the end.
std::string CreateFoldersBelow(const std::string& base, const std::string& relative,
                               fs::perms permissions) {
  std::string folder = WithSeparator(WithoutTrailingSeparator(base));
  std::size_t begin = 0;
  while (begin < relative.size()) {
    std::size_t end = relative.find('/', begin);
    if (end == std::string::npos) end = relative.size();
    if (end > begin) {
      folder += relative.substr(begin, end - begin);
      CreateFolder(folder, permissions);
      folder += '/';
    }
    begin = end + 1;
  }
  return folder;
}

std::string ProgramDataFolderFor(const StartupEnvironment& env, const StringTable& table) {
  if (!IsDirectory(env.data_folder)) return WithSeparator(env.executable_folder);
  return CreateFoldersBelow(env.data_folder, EditionFolderPathPosix(table), kPrivateFolder);
}

std::string ConfigFolderFor(const StartupEnvironment& env, const StringTable& table) {
  if (!IsDirectory(env.documents_folder)) {
    return CreateFoldersBelow(env.executable_folder, "Config", kReadableFolder);
  }
  const std::string name = IsVelkstrom(table) ? "IP Hob config" : "VYN IP config";
  return CreateFoldersBelow(env.documents_folder, "KEMB/" + name, kReadableFolder);
}

// What copying the delivered settings file came to.
struct SettingsCopy {
  bool updated = false;  // an older settings file was replaced
  bool failed = false;   // a copy that was due could not be made
};

// Copies the delivered settings file when the folder has none or an older one.
SettingsCopy UpdateSettingsFile(const std::string& install_folder,
                                const std::string& program_version,
                                const std::string& program_data_folder) {
  if (!IsFile(fs::path(install_folder) / kInstalledSettingsFileName)) return {};
  const VynIni target(program_data_folder + kSettingsFileName);
  const auto copy = [&] {
    return CopyProgramFile(install_folder, kInstalledSettingsFileName, kSettingsFileName,
                           program_data_folder);
  };
  if (!IsFile(target.FileName())) {
    if (!copy()) return {false, true};
    return {false, !target.WriteText(kSetupSection, kAppVersionKey, program_version)};
  }
  const std::string config_directory = target.ReadText(kSetupSection, kConfigDirectoryKey);
  if (target.ReadText(kSetupSection, kAppVersionKey) == program_version) return {};
  // A failed copy keeps the old file with its old version, so the next start tries again
  // rather than marking the old file as current.
  if (!copy()) return {false, true};
  if (!config_directory.empty()) {
    target.WriteText(kSetupSection, kConfigDirectoryKey, config_directory);
  }
  return {true, !target.WriteText(kSetupSection, kAppVersionKey, program_version)};
}

// Copies the delivered default configuration when the folder has none or the settings file was
// just replaced; false when a copy that was due failed.
bool CopyDefaultConfiguration(const std::string& install_folder,
                              const std::string& program_data_folder, bool settings_updated) {
  if (!IsFile(fs::path(install_folder) / kInstalledDefaultConfigurationName)) return true;
  // Whatever the case of the existing file's name, it is the one replaced, so only one
  // default configuration remains.
  const fs::path target = DefaultConfigurationPath(program_data_folder);
  if (!settings_updated && IsFile(target)) return true;
  return CopyProgramFile(install_folder, kInstalledDefaultConfigurationName,
                         target.filename().string(), target.parent_path().string());
}

}  // namespace

bool IsDefaultConfigurationName(std::string_view name) {
  return EqualsIgnoringAsciiCase(name, kDefaultConfigurationName);
}

std::string ProgramFileVersion() { return VYN_VERSION; }

bool CopyProgramFile(const std::string& source_folder, const std::string& source_name,
                     const std::string& target_name, const std::string& target_folder) {
  const fs::path source_path = fs::path(source_folder) / source_name;
  std::FILE* source = std::fopen(source_path.c_str(), "rb");
  if (source == nullptr) return false;
  std::string content;
  char chunk[kCopyChunkSize];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, source)) > 0) content.append(chunk, got);
  const bool complete = std::feof(source) != 0 && std::ferror(source) == 0;
  std::fclose(source);
  if (!complete) return false;
  const fs::path target = fs::path(target_folder) / target_name;
  return ReplaceFileContent(target.string(), content) == ReplaceFileResult::kOk;
}

std::string DefaultConfigurationPath(const std::string& program_data_folder) {
  const fs::path folder = WithoutTrailingSeparator(program_data_folder);
  const fs::path preferred = folder / kDefaultConfigurationName;
  if (IsFile(preferred)) return preferred.string();
  std::vector<std::string> found;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (IsDefaultConfigurationName(name) && IsFile(it->path())) found.push_back(name);
  }
  if (found.empty()) return preferred.string();
  // "default.bin" sorts after the upper-case spellings; prefer it, then the first in order.
  std::sort(found.begin(), found.end());
  const auto lower = std::find(found.begin(), found.end(), "default.bin");
  return (folder / (lower != found.end() ? *lower : found.front())).string();
}

DataFolderPreparation PrepareProgramDataFolder(const std::string& folder,
                                               const std::string& install_folder,
                                               const std::string& program_version) {
  DataFolderPreparation result;
  const std::string path = WithSeparator(folder);
  std::error_code error;
  // Every level made here holds or leads to the password store: it is the user's alone,
  // whatever the umask allows.
  std::vector<fs::path> missing;
  for (fs::path level = fs::path(WithoutTrailingSeparator(path)); !level.empty();
       level = level.parent_path()) {
    if (fs::exists(level, error) || error || level == level.parent_path()) break;
    missing.push_back(level);
  }
  for (auto level = missing.rbegin(); level != missing.rend() && !error; ++level) {
    if (fs::create_directory(*level, error)) {
      fs::permissions(*level, fs::perms::owner_all, fs::perm_options::replace, error);
    }
  }
  if (!fs::is_directory(path, error)) {
    result.problem = WithoutTrailingSeparator(path) + ": cannot be created as a folder" +
                     (error ? " (" + error.message() + ")" : std::string());
    return result;
  }
  const SettingsCopy settings = UpdateSettingsFile(install_folder, program_version, path);
  result.settings_updated = settings.updated;
  const auto cannot_write = [&](const std::string& name) {
    result.problem = path + name + ": cannot be written in the data folder";
    return result;
  };
  if (settings.failed) return cannot_write(kSettingsFileName);
  if (!CopyDefaultConfiguration(install_folder, path, settings.updated)) {
    return cannot_write(kDefaultConfigurationName);
  }
  if (!PasswordStore(path + kPasswordStoreFileName).EnsureDefaultPasswords()) {
    return cannot_write(kPasswordStoreFileName);
  }
  result.ready = true;
  return result;
}

StartupResult RunMainWindowStartup(const StartupEnvironment& env, const StringTable& table) {
  StartupResult result;
  result.ProgramDataFolder = ProgramDataFolderFor(env, table);
  result.ConfigFolder = ConfigFolderFor(env, table);
  // Copy failures are not reported here: start-up goes on with whatever files exist.
  result.SettingsUpdated =
      PrepareProgramDataFolder(result.ProgramDataFolder, env.install_folder, env.program_version)
          .settings_updated;
  result.DefaultDirectory = WithoutTrailingSeparator(result.ConfigFolder);
  result.SettingsFile = result.ProgramDataFolder + kSettingsFileName;
  if (env.arguments.size() == 1 && IsDirectory(env.arguments.front())) {
    result.DefaultDirectory = env.arguments.front();
    return result;
  }
  const std::string saved =
      VynIni(result.SettingsFile).ReadText(kSetupSection, kConfigDirectoryKey);
  if (!saved.empty()) result.DefaultDirectory = WithoutTrailingSeparator(saved);
  return result;
}

void SeedMessageCounter(Session& session) {
  // The clock alone would repeat for two starts in the same tick; random_device alone may be
  // deterministic on some platforms. Together they differ per run.
  std::random_device device;
  const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
  std::seed_seq seed{device(), static_cast<unsigned>(ticks), static_cast<unsigned>(ticks >> 32)};
  std::mt19937 generator(seed);
  session.MessageCounterStart = static_cast<std::uint32_t>(generator() % 32768);
}

}  // namespace vyn
