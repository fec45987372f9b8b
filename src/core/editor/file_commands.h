#pragma once

// The detailed editor's File menu over its VynData: New, Open, Save, Save As, Exit, the close
// handler's return to the default configuration, the prepared default configurations and the
// default directory, and the window title that tells where the image came from. The editor
// supplies its page conversions as EditorHooks; message boxes go through the Prompter and file
// choices through a FileChooser, so every command runs in tests without a window.

#include <optional>
#include <string>
#include <vector>

#include "core/editor/editor_hooks.h"
#include "core/image/vyn_data.h"
#include "core/session/prompter.h"
#include "core/strings/string_table.h"

namespace vyn {

inline constexpr char kConfigurationExtension[] = ".Rodid";

// What an open or save dialog shows and where it starts.
struct FileDialogRequest {
  std::string title;          // 13802 for Open, 15017 for Save As
  std::string folder;         // DefaultDirectory
  std::string filter_name;    // 15018 "VYN IP/GSM Konfigurationsdatei"
  std::string pattern;        // "*.Rodid"
  std::string proposed_name;  // "*.Rodid"
};

// The file dialogs of a window; nullopt when the user cancels.
class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // An existing file.
  virtual std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) = 0;
  // A path as typed or chosen; it need not exist.
  virtual std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) = 0;
};

struct FileCommandContext {
  VynData& data;
  Prompter& prompter;
  FileChooser& chooser;
  const StringTable& strings;
  std::string program_data_folder;  // ends with "/"
  std::string default_directory;    // where the dialogs start
};

// "%s - %s": the origin's text (15020, the file name without its folder, or 13909) and 10001.
std::string EditorTitle(const VynData& data, const StringTable& strings);

// The path with its extension replaced by ".Rodid", or ".Rodid" added when it has none. Only
// the last path component's extension counts.
std::string WithConfigurationExtension(const std::string& path);

// Error boxes of the conversions: 15023 with the byte and the address in decimal; 15101..15103
// for the store results 1..3 (nothing for kOk, nor for the conversion error, which the store
// shows itself).
void ShowLoadError(const FileCommandContext& context, int address);
void ShowStoreError(const FileCommandContext& context, StoreResult result);
// The same for commands without file dialogs.
void ShowLoadError(Prompter& prompter, const StringTable& strings, const VynData& data,
                   int address);
void ShowStoreError(Prompter& prompter, const StringTable& strings, StoreResult result);

// Reads the default configuration into WorkingImage (15011 when that fails, going on with the
// image as it is), copies it to ReferenceImage and loads the pages; a load error is shown
// (15023) when `report_load_error`.
void LoadDefault(const FileCommandContext& context, const EditorHooks& hooks,
                 bool report_load_error = true);

// mnuFileNewClick: the default configuration, origin FromDefault, title refreshed.
void FileNew(const FileCommandContext& context, const EditorHooks& hooks);
// mnuFileOpenClick; true when a file was opened.
bool FileOpen(const FileCommandContext& context, const EditorHooks& hooks);
// mnuFileSaveClick (Save As for an image that did not come from a file); true when written.
bool FileSave(const FileCommandContext& context, const EditorHooks& hooks);
// mnuFileSaveAsClick; true when written.
bool FileSaveAs(const FileCommandContext& context, const EditorHooks& hooks);

// mnuFileExitClick's question 13801: Cancel stays; Yes saves (whatever the outcome) and then
// closes; No closes. The caller closes the link and the window, whose close handler
// (CloseEditor) brings the default configuration back.
enum class ExitDecision { kStay, kClose };
ExitDecision FileExit(const FileCommandContext& context, const EditorHooks& hooks);

// The editor window's close handler: the default configuration into the image and the pages
// (15011 when missing; load errors not reported), origin FromDefault, title refreshed.
void CloseEditor(const FileCommandContext& context, const EditorHooks& hooks);

// The prepared default configurations: the names of the "*.bin" files of the folder (matched
// without regard to case) other than "default.bin" in any case, sorted by name (directory order
// has no meaning on Linux file systems).
std::vector<std::string> PreparedDefaultConfigurations(const std::string& program_data_folder);

// mnuFileChangeDefaultConfigClick's check: false, after message 15019, when there is no prepared
// default configuration.
bool CheckPreparedDefaultsExist(const FileCommandContext& context);

// TfrmViewDefault's OK: `name` of the folder becomes the default configuration. False when the
// copy failed (the old default stays).
bool MakeDefaultConfiguration(const std::string& program_data_folder, const std::string& name);

// TfrmSelectDirectory's OK: the directory as typed (without trailing separator) is written as
// ConfigDirectory of section Setup of the settings file; false when the settings file could
// not be written. Whether the folder exists is not checked.
bool SaveDefaultDirectory(const std::string& settings_file, const std::string& directory);

}  // namespace vyn
