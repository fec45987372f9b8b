#pragma once

// The detailed editor's diagnostic commands (access level 6): the image goes to and comes from a
// test server through files in the diagnostic folder. The editor writes "download.rodid" and
// names the unit in "download_e2prom.txt"; the test server answers in "downloaded_e2prom.txt".
// For a read the editor names the unit in "upload_e2prom.txt" and the test server puts the image
// in "upload.rodid" and answers in "uploaded_e2prom.txt".

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "core/editor/editor_hooks.h"
#include "core/image/vyn_data.h"
#include "core/session/prompter.h"
#include "core/strings/string_table.h"

namespace vyn {

inline constexpr char kDiagnosticDownloadImage[] = "download.rodid";
inline constexpr char kDiagnosticDownloadRequest[] = "download_e2prom.txt";
inline constexpr char kDiagnosticDownloadDone[] = "downloaded_e2prom.txt";
inline constexpr char kDiagnosticUploadImage[] = "upload.rodid";
inline constexpr char kDiagnosticUploadRequest[] = "upload_e2prom.txt";
inline constexpr char kDiagnosticUploadDone[] = "uploaded_e2prom.txt";

// Pauses between the checks of a file.
inline constexpr std::uint32_t kDiagnosticPauseMs = 1000;
inline constexpr int kDiagnosticBusyPauses = 10;

// Waits about `ms` while the window stays responsive; false when the user gave up waiting.
using DiagnosticPause = std::function<bool(std::uint32_t ms)>;

struct DiagnosticContext {
  VynData& data;
  Prompter& prompter;
  const StringTable& strings;
  std::filesystem::path folder;  // the diagnostic folder
  DiagnosticPause pause;
};

enum class DiagnosticResult {
  kDone,
  kDuplicateTransmitters,  // 15100
  kStoreFailed,            // 15101..15103
  kImageNotWritten,        // 15012: "download.rodid" could not be written
  kRequestNotWritten,      // the request file could not be written
  kServerBusy,             // the answer file of an earlier request stayed for ten pauses
  kGaveUp,                 // the user stopped waiting
  kImageNotRead,           // 15010: "upload.rodid" is missing or not an image
};

// The editor's serial number box as the request file holds it: read as an unsigned decimal
// number (0 when it is none), its low 24 bits in decimal.
std::string DiagnosticSerialText(std::string_view serial_box);

// Whether the first line of the file (at most 99 characters) is empty or the file cannot be
// read.
bool DiagnosticFileEmpty(const std::filesystem::path& file);

// mnuCommDebugWriteWebClick. The image takes `save_dialog_name` with the extension ".Rodid" as
// its file name and counts as saved there.
DiagnosticResult DiagnosticWrite(const DiagnosticContext& context, const EditorHooks& hooks,
                                 const std::filesystem::path& sip_list_folder,
                                 std::string_view serial_box, const std::string& save_dialog_name);

// mnuCommDebugReadWebClick. The image read takes `open_dialog_name` as its file name and counts
// as opened from it.
DiagnosticResult DiagnosticRead(const DiagnosticContext& context, const EditorHooks& hooks,
                                std::string_view serial_box, const std::string& open_dialog_name);

}  // namespace vyn
