#include "core/backup/unit_backups.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

#include "core/session/scripted_prompter.h"
#include "core/strings/message_ids.h"
#include "support/temp_folder.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

// 2024-05-01 12:30:05 in local time.
std::chrono::system_clock::time_point At(int day, int hour = 12, int minute = 30, int second = 5) {
  std::tm local{};
  local.tm_year = 2024 - 1900;
  local.tm_mon = 4;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

ParameterImage UnitImage(std::uint32_t serial) {
  ParameterImage image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 3);
  image[0x0FD] = static_cast<std::uint8_t>(serial >> 16);
  image[0x0FE] = static_cast<std::uint8_t>(serial >> 8);
  image[0x0FF] = static_cast<std::uint8_t>(serial);
  return image;
}

TEST(UnitBackupsTest, SavesTheImageNamedBySerialDateTimeAndKindForTheUserAlone) {
  TempFolder home;
  const std::string folder = home.File("data/backups");
  const ParameterImage image = UnitImage(123456);
  const BackupResult saved = SaveBackup(folder, image, BackupKind::kRead, At(1));
  ASSERT_EQ(saved.problem, "");
  EXPECT_EQ(fs::path(saved.path).filename(), "00123456_20240501-123005_read.Rodid");
  const std::string content = TempFolder::Read(saved.path);
  EXPECT_EQ(content, std::string(reinterpret_cast<const char*>(image.data()), image.size()));
  EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_EQ(fs::status(saved.path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  // A second one in the same second does not replace the first.
  const BackupResult again = SaveBackup(folder, image, BackupKind::kRead, At(1));
  EXPECT_EQ(fs::path(again.path).filename(), "00123456_20240501-123005_read-2.Rodid");
  // A folder that others could read is closed again.
  fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
  SaveBackup(folder, UnitImage(7), BackupKind::kWritten, At(2));
  EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST(UnitBackupsTest, ListsNewestFirstAndBySerial) {
  TempFolder home;
  const std::string folder = home.File("backups");
  SaveBackup(folder, UnitImage(1), BackupKind::kRead, At(3));
  SaveBackup(folder, UnitImage(2), BackupKind::kWritten, At(5));
  SaveBackup(folder, UnitImage(1), BackupKind::kWritten, At(4));
  SaveBackup(folder, UnitImage(1), BackupKind::kWritten, At(4));
  home.Write("backups/notes.txt", "not a backup");
  const std::vector<BackupEntry> all = ListBackups(folder);
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].serial, 2u);
  EXPECT_EQ(all[0].when, "2024-05-05 12:30:05");
  EXPECT_EQ(all[0].kind, BackupKind::kWritten);
  EXPECT_EQ(fs::path(all[1].path).filename(), "00000001_20240504-123005_written-2.Rodid");
  EXPECT_EQ(fs::path(all[2].path).filename(), "00000001_20240504-123005_written.Rodid");
  EXPECT_EQ(all[3].kind, BackupKind::kRead);
  EXPECT_EQ(ListBackups(folder, 1).size(), 3u);
  EXPECT_EQ(ListBackups(folder, 99).size(), 0u);
  EXPECT_TRUE(ListBackups(home.File("missing")).empty());
}

TEST(UnitBackupsTest, KeepsTheNewestFiveHundred) {
  TempFolder home;
  const std::string folder = home.File("backups");
  for (int i = 0; i < 505; ++i) {
    SaveBackup(folder, UnitImage(9), BackupKind::kRead, At(1, i / 60, i % 60));
  }
  const std::vector<BackupEntry> kept = ListBackups(folder);
  ASSERT_EQ(kept.size(), kBackupsKept);
  EXPECT_EQ(kept.back().when, "2024-05-01 00:05:05");
  EXPECT_EQ(kept.front().when, "2024-05-01 08:24:05");
}

// A backup that cannot be saved never fails the operation; the first failure of a run is
// reported once, with the folder and its cause.
TEST(UnitBackupsTest, AFailedBackupIsReportedOncePerRun) {
  TempFolder home;
  Session session;
  testing::ScriptedPrompter prompter;
  const ParameterImage image = UnitImage(5);
  BackupUnitImage(session, prompter, StringTable::Builtin(), image, BackupKind::kRead);
  EXPECT_TRUE(prompter.events.empty());  // no folder: no backups

  session.BackupFolder = home.Write("a-file", "x");
  BackupUnitImage(session, prompter, StringTable::Builtin(), image, BackupKind::kRead);
  BackupUnitImage(session, prompter, StringTable::Builtin(), image, BackupKind::kWritten);
  ASSERT_EQ(prompter.Boxes().size(), 1u);
  EXPECT_EQ(prompter.Boxes()[0].kind, MessageKind::kWarning);
  EXPECT_EQ(prompter.Boxes()[0].text, StringTable::Builtin().Text(msg::kBackupFailed) + "\n" +
                                          session.BackupFolder + " (not a folder)");
  EXPECT_EQ(session.LastBackup, "");

  session.BackupFolder = home.File("backups");
  BackupUnitImage(session, prompter, StringTable::Builtin(), image, BackupKind::kRead);
  EXPECT_EQ(fs::path(session.LastBackup).parent_path(), home.File("backups"));
}

}  // namespace
}  // namespace vyn
