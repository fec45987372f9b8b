#pragma once

// Backups of every image that came from the unit: after each successful read and each verified
// write the image is also saved in a backup folder, so that what a unit held before it was
// changed can always be had again. Files are named by the unit's serial number, the date and
// time and what happened ("00123456_20240501-123005_read.Rodid"); the newest 500 are kept, and
// neither folder nor files are readable by anyone but the user.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/image/parameter_image.h"
#include "core/session/prompter.h"
#include "core/session/session.h"
#include "core/strings/string_table.h"

namespace vyn {

inline constexpr char kBackupFolderName[] = "backups";
inline constexpr std::size_t kBackupsKept = 500;

enum class BackupKind { kRead, kWritten };

struct BackupEntry {
  std::string path;
  std::uint32_t serial = 0;
  std::string when;  // "2024-05-01 12:30:05", local time
  BackupKind kind = BackupKind::kRead;
};

struct BackupResult {
  std::string path;     // the file saved; empty on failure
  std::string problem;  // why it failed: the folder or file and the cause
};

// Saves `image` in `folder` (created 0700 when missing), named by its serial number (0x0FD-0x0FF),
// `when` in local time and `kind`; then removes the oldest backups beyond kBackupsKept.
BackupResult SaveBackup(const std::string& folder, const ParameterImage& image, BackupKind kind,
                        std::chrono::system_clock::time_point when);

// The backups in `folder`, newest first; only those of `serial` when given. Files of other names
// are left out.
std::vector<BackupEntry> ListBackups(const std::string& folder,
                                     std::optional<std::uint32_t> serial = std::nullopt);

// What the flows call after a successful read from the unit (Zix or server) and after a verified
// write: saves the image in session.BackupFolder (nothing when it is empty) and remembers the
// file in session.LastBackup. A failed backup never fails the operation; the first one of the run
// is reported by a warning box (message 31502 with the folder and the cause), later ones are not.
void BackupUnitImage(Session& session, Prompter& prompter, const StringTable& strings,
                     const ParameterImage& image, BackupKind kind);

}  // namespace vyn
