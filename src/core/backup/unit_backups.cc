#include "core/backup/unit_backups.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <regex>
#include <string_view>
#include <system_error>
#include <tuple>

#include "core/files/file_checks.h"
#include "core/files/replace_file.h"
#include "core/strings/message_ids.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kExtension = ".Rodid";

std::uint32_t SerialOf(const ParameterImage& image) {
  return static_cast<std::uint32_t>(image[0x0FD]) << 16 |
         static_cast<std::uint32_t>(image[0x0FE]) << 8 | image[0x0FF];
}

const char* KindWord(BackupKind kind) { return kind == BackupKind::kRead ? "read" : "written"; }

// "SERIAL_YYYYMMDD-HHMMSS_KIND" with an optional "-N" when two fall in the same second.
const std::regex& NamePattern() {
  static const std::regex pattern(R"((\d{8})_(\d{8})-(\d{6})_(read|written)(-\d+)?\.Rodid)");
  return pattern;
}

// Made or tightened to 0700: the backups are the user's alone.
bool PrepareFolder(const fs::path& folder, std::error_code& error) {
  fs::create_directories(folder, error);
  if (error) return false;
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
  return !error;
}

void RemoveOldest(const std::string& folder) {
  std::vector<BackupEntry> entries = ListBackups(folder);
  std::error_code ignored;
  for (std::size_t i = kBackupsKept; i < entries.size(); ++i) fs::remove(entries[i].path, ignored);
}

}  // namespace

BackupResult SaveBackup(const std::string& folder, const ParameterImage& image, BackupKind kind,
                        std::chrono::system_clock::time_point when) {
  BackupResult result;
  std::error_code error;
  if (!PrepareFolder(folder, error)) {
    result.problem = folder + " (" + CauseText(error) + ")";
    return result;
  }
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  if (const std::tm* converted = std::localtime(&seconds)) local = *converted;
  char stem[64];
  std::snprintf(stem, sizeof stem, "%08u_%04d%02d%02d-%02d%02d%02d_%s",
                static_cast<unsigned>(SerialOf(image)), local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, KindWord(kind));
  fs::path path = fs::path(folder) / (std::string(stem) + std::string(kExtension));
  for (int n = 2; fs::exists(path, error) && n < 1000; ++n) {
    path =
        fs::path(folder) / (std::string(stem) + "-" + std::to_string(n) + std::string(kExtension));
  }
  const std::string_view content(reinterpret_cast<const char*>(image.data()), image.size());
  if (ReplaceFileContent(path.string(), content, fs::perms::owner_read | fs::perms::owner_write,
                         &error) != ReplaceFileResult::kOk) {
    result.problem = path.string() + " (" + CauseText(error) + ")";
    return result;
  }
  result.path = path.string();
  RemoveOldest(folder);
  return result;
}

std::vector<BackupEntry> ListBackups(const std::string& folder,
                                     std::optional<std::uint32_t> serial) {
  // Each with its order: date and time, then the number of a later backup of the same second,
  // then (for backups of one second under different names) the time the file was written.
  using Order = std::tuple<std::string, int, fs::file_time_type>;
  std::vector<std::pair<Order, BackupEntry>> found;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::smatch match;
    if (!std::regex_match(name, match, NamePattern()) || !it->is_regular_file(error)) continue;
    BackupEntry entry;
    entry.path = it->path().string();
    entry.serial = static_cast<std::uint32_t>(std::stoul(match[1].str()));
    if (serial && entry.serial != *serial) continue;
    const std::string date = match[2].str();
    const std::string time = match[3].str();
    entry.when = date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2) + " " +
                 time.substr(0, 2) + ":" + time.substr(2, 2) + ":" + time.substr(4, 2);
    entry.kind = match[4].str() == "read" ? BackupKind::kRead : BackupKind::kWritten;
    const int number = match[5].matched ? std::stoi(match[5].str().substr(1)) : 1;
    const fs::file_time_type written = it->last_write_time(error);
    found.push_back({{date + time, number, written}, std::move(entry)});
  }
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<BackupEntry> entries;
  for (auto& [order, entry] : found) entries.push_back(std::move(entry));
  return entries;
}

void BackupUnitImage(Session& session, Prompter& prompter, const StringTable& strings,
                     const ParameterImage& image, BackupKind kind) {
  if (session.BackupFolder.empty()) return;
  const BackupResult result =
      SaveBackup(session.BackupFolder, image, kind, std::chrono::system_clock::now());
  if (!result.path.empty()) {
    session.LastBackup = result.path;
    return;
  }
  if (session.BackupFailureReported) return;
  session.BackupFailureReported = true;
  prompter.ShowMessage(MessageKind::kWarning,
                       strings.Text(msg::kBackupFailed) + "\n" + result.problem,
                       MessageButtons::kOk);
}

}  // namespace vyn
