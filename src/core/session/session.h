#pragma once

#include <cstdint>
#include <string>

namespace vyn {

// The values that live for one program run. The application creates one Session and hands it
// to every window and flow that needs it; nothing in core reads a global.
struct Session {
  // 0 or 2..6; granted by the password prompt when the editor is entered, 0 for basic
  // programming, 6 while a firmware update runs.
  int AccessLevel = 0;

  // Run-time flags of the write plan.
  bool PinNotEntered = false;
  bool FirmwareUpdateActive = false;
  bool PasswordChangeConfirmed = false;
  bool ShowReadComplete = true;  // show the "read complete" box after an editor read

  // Start value of the server exchange's message counter, drawn once at start-up.
  std::uint32_t MessageCounterStart = 0;

  // Backups of the images read from and verified in the unit (core/backup/unit_backups.h):
  // the folder (empty: none are made), the file of the last one, and whether a failure was
  // already reported in this run.
  std::string BackupFolder;
  std::string LastBackup;
  bool BackupFailureReported = false;
};

}  // namespace vyn
