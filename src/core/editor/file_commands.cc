#include "core/editor/file_commands.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "core/app/startup.h"
#include "core/files/path_text.h"
#include "core/image/image_file.h"
#include "core/settings/text_encoding.h"
#include "core/settings/vyn_ini.h"
#include "core/strings/message_ids.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;

constexpr char kConfigurationPattern[] = "*.Rodid";

void ShowError(const FileCommandContext& context, int id) {
  context.prompter.ShowMessage(MessageKind::kError, context.strings.Text(id), MessageButtons::kOk);
}

FileDialogRequest DialogRequest(const FileCommandContext& context, int title_id) {
  return {context.strings.Text(title_id), context.default_directory,
          context.strings.Text(msg::kConfigurationFileFilter), kConfigurationPattern,
          kConfigurationPattern};
}

void UpdateCaption(const EditorHooks& hooks) {
  if (hooks.UpdateCaption) hooks.UpdateCaption();
}

StoreResult StoreControls(const EditorHooks& hooks) {
  return hooks.StoreControls ? hooks.StoreControls() : StoreResult::kOk;
}

// Working image into ReferenceImage and the pages, reporting an invalid byte when asked.
void TakeLoadedImage(const FileCommandContext& context, const EditorHooks& hooks,
                     bool report_load_error) {
  context.data.ReferenceImage = context.data.WorkingImage;
  if (!hooks.LoadControls) return;
  const int address = hooks.LoadControls();
  if (address != kLoadOk && report_load_error) ShowLoadError(context, address);
}

// Reads the file into a scratch image first, so a file that fails to read (wrong size
// included) never replaces part of WorkingImage.
ImageFileResult ReadIntoWorkingImage(const std::string& path, VynData& data) {
  ParameterImage image{};
  bool short_layout = false;
  const ImageFileResult result = ReadImageFile(path, image, short_layout);
  if (result != ImageFileResult::kOk) return result;
  data.WorkingImage = image;
  data.ShortLayout = short_layout;
  return result;
}

// An existing file without write permission. The permission bits decide, not an open attempt,
// since the superuser can open any file; and the save replaces the file by renaming, which the
// file's own permissions would not stop.
bool IsReadOnlyFile(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  return !error && fs::exists(status) && !fs::is_directory(status) &&
         (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

void ShowReadOnly(const FileCommandContext& context) {
  context.prompter.ShowMessage(MessageKind::kInformation,
                               context.strings.Text(msg::kConfigurationReadOnly),
                               MessageButtons::kOk);
}

// Whether the file may be replaced: a read-only file gets 13803, another existing file the
// overwrite question.
bool MayReplace(const FileCommandContext& context, const std::string& path) {
  if (IsReadOnlyFile(path)) {
    ShowReadOnly(context);
    return false;
  }
  std::error_code error;
  if (!fs::exists(path, error) || fs::is_directory(path, error)) return true;
  return context.prompter.ShowMessage(MessageKind::kConfirmation,
                                      context.strings.Text(msg::kOverwriteQuestion),
                                      MessageButtons::kYesNo) == MessageButton::kYes;
}

// Stores the pages and writes the image to data.FileName. A failed store stops the command
// before anything is written; after a write, failed or not, the caption follows the origin.
bool StoreWriteAndRefresh(const FileCommandContext& context, const EditorHooks& hooks) {
  const StoreResult stored = StoreControls(hooks);
  if (stored != StoreResult::kOk) {
    ShowStoreError(context, stored);
    return false;
  }
  context.data.ReferenceImage = context.data.WorkingImage;
  bool written = false;
  if (IsReadOnlyFile(context.data.FileName)) {
    ShowReadOnly(context);  // Save to a file that became read-only after it was opened
  } else {
    written =
        WriteImageFile(context.data.WorkingImage, context.data.FileName) == ImageWriteResult::kOk;
    if (!written) ShowError(context, msg::kCannotSaveConfiguration);
  }
  UpdateCaption(hooks);
  return written;
}

}  // namespace

std::string EditorTitle(const VynData& data, const StringTable& strings) {
  std::string origin;
  switch (data.Origin) {
    case ImageOrigin::FromDefault:
      origin = strings.Text(msg::kDefaultOrigin);
      break;
    case ImageOrigin::OpenedFile:
    case ImageOrigin::SavedFile:
      origin = fs::path(data.FileName).filename().string();
      break;
    case ImageOrigin::ReadFromUnit:
      origin = strings.Text(msg::kReadFromUnitSource);
      break;
  }
  return Format("%s - %s", {origin, strings.Text(msg::kProgramTitle)});
}

std::string WithConfigurationExtension(const std::string& path) {
  return fs::path(path).replace_extension(kConfigurationExtension).string();
}

void ShowLoadError(const FileCommandContext& context, int address) {
  ShowLoadError(context.prompter, context.strings, context.data, address);
}

void ShowStoreError(const FileCommandContext& context, StoreResult result) {
  ShowStoreError(context.prompter, context.strings, result);
}

void ShowLoadError(Prompter& prompter, const StringTable& strings, const VynData& data,
                   int address) {
  const bool inside = address >= 0 && static_cast<std::size_t>(address) < kImageSize;
  const std::string byte =
      inside ? std::to_string(data.WorkingImage[static_cast<std::size_t>(address)]) : "";
  prompter.ShowMessage(MessageKind::kError,
                       Format(strings.Text(msg::kLoadError), {byte, std::to_string(address)}),
                       MessageButtons::kOk);
}

void ShowStoreError(Prompter& prompter, const StringTable& strings, StoreResult result) {
  // The conversion error has shown its own message.
  if (const int message = StoreResultMessage(result))
    prompter.ShowMessage(MessageKind::kError, strings.Text(message), MessageButtons::kOk);
}

void LoadDefault(const FileCommandContext& context, const EditorHooks& hooks,
                 bool report_load_error) {
  if (ReadIntoWorkingImage(DefaultConfigurationPath(context.program_data_folder), context.data) !=
      ImageFileResult::kOk)
    ShowError(context, msg::kDefaultBinMissing);
  TakeLoadedImage(context, hooks, report_load_error);
}

void FileNew(const FileCommandContext& context, const EditorHooks& hooks) {
  LoadDefault(context, hooks);
  context.data.Origin = ImageOrigin::FromDefault;
  UpdateCaption(hooks);
}

bool FileOpen(const FileCommandContext& context, const EditorHooks& hooks) {
  const std::optional<std::string> chosen =
      context.chooser.ChooseFileToOpen(DialogRequest(context, msg::kOpenTitle));
  if (!chosen) return false;
  if (const ImageFileResult read = ReadIntoWorkingImage(*chosen, context.data);
      read != ImageFileResult::kOk) {
    // The program's message, then the file and what is wrong with it.
    context.prompter.ShowMessage(MessageKind::kError,
                                 context.strings.Text(msg::kCannotLoadConfiguration) + "\n\n" +
                                     *chosen + ": " + ImageFileProblem(*chosen, read),
                                 MessageButtons::kOk);
    return false;
  }
  context.data.FileName = *chosen;
  context.data.Origin = ImageOrigin::OpenedFile;
  UpdateCaption(hooks);
  TakeLoadedImage(context, hooks, true);
  return true;
}

bool FileSave(const FileCommandContext& context, const EditorHooks& hooks) {
  if (context.data.Origin != ImageOrigin::OpenedFile &&
      context.data.Origin != ImageOrigin::SavedFile)
    return FileSaveAs(context, hooks);
  return StoreWriteAndRefresh(context, hooks);
}

bool FileSaveAs(const FileCommandContext& context, const EditorHooks& hooks) {
  const std::optional<std::string> chosen =
      context.chooser.ChooseFileToSave(DialogRequest(context, msg::kSaveAsTitle));
  if (!chosen) return false;
  if (!MayReplace(context, *chosen)) return false;
  // The file written is the one with the configuration extension: when that is another
  // existing file than the one asked about, it is asked about as well.
  const std::string path = WithConfigurationExtension(*chosen);
  if (path != *chosen && !MayReplace(context, path)) return false;
  context.data.FileName = path;
  context.data.Origin = ImageOrigin::SavedFile;
  return StoreWriteAndRefresh(context, hooks);
}

ExitDecision FileExit(const FileCommandContext& context, const EditorHooks& hooks) {
  const MessageButton answer = context.prompter.ShowMessage(
      MessageKind::kInformation, context.strings.Text(msg::kSaveBeforeExitQuestion),
      MessageButtons::kYesNoCancel);
  if (answer == MessageButton::kYes) {
    FileSave(context, hooks);  // closes whatever the save's outcome
    return ExitDecision::kClose;
  }
  return answer == MessageButton::kNo ? ExitDecision::kClose : ExitDecision::kStay;
}

void CloseEditor(const FileCommandContext& context, const EditorHooks& hooks) {
  LoadDefault(context, hooks, false);
  context.data.Origin = ImageOrigin::FromDefault;
  UpdateCaption(hooks);
}

std::vector<std::string> PreparedDefaultConfigurations(const std::string& program_data_folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(program_data_folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code type_error;
    const std::string_view extension = ".bin";
    const bool bin = name.size() >= extension.size() &&
                     EqualsIgnoringAsciiCase(
                         std::string_view(name).substr(name.size() - extension.size()), extension);
    if (bin && !IsDefaultConfigurationName(name) && it->is_regular_file(type_error))
      names.push_back(name);
  }
  // The directory's own order differs between file systems; by name the list is stable.
  std::sort(names.begin(), names.end());
  return names;
}

bool CheckPreparedDefaultsExist(const FileCommandContext& context) {
  if (!PreparedDefaultConfigurations(context.program_data_folder).empty()) return true;
  context.prompter.ShowMessage(MessageKind::kInformation,
                               context.strings.Text(msg::kNoExtraDefaultConfiguration),
                               MessageButtons::kOk);
  return false;
}

bool MakeDefaultConfiguration(const std::string& program_data_folder, const std::string& name) {
  // Only a file of the folder itself may become the default.
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
    return false;
  // The existing default, whatever the case of its name, is replaced, so that no second
  // "default.bin" appears beside "Default.bin".
  const fs::path target = DefaultConfigurationPath(program_data_folder);
  return CopyProgramFile(program_data_folder, name, target.filename().string(),
                         target.parent_path().string());
}

bool SaveDefaultDirectory(const std::string& settings_file, const std::string& directory) {
  return VynIni(settings_file)
      .WriteText(kSetupSection, kConfigDirectoryKey, WithoutTrailingSeparator(directory));
}

}  // namespace vyn
