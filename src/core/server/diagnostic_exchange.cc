#include "core/server/diagnostic_exchange.h"

#include <fstream>
#include <system_error>

#include "core/editor/file_commands.h"
#include "core/files/replace_file.h"
#include "core/image/image_file.h"
#include "core/server/web_commands.h"
#include "core/strings/message_ids.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFirstLineLimit = 99;
// Shown when a request file cannot be written; "%s" is its path.
constexpr char kFileNotWrittenText[] = "Die Datei %s kann nicht geschrieben werden.";

// The hourglass for the whole command, restored on every way out.
class BusyScope {
 public:
  explicit BusyScope(Prompter& prompter) : prompter_(prompter) { prompter_.SetBusy(true); }
  ~BusyScope() { prompter_.SetBusy(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  Prompter& prompter_;
};

// Waits until the test server has taken back its answer to an earlier request: at most ten
// pauses.
DiagnosticResult WaitUntilEmpty(const DiagnosticContext& context, const fs::path& file) {
  for (int pauses = 0;; ++pauses) {
    if (DiagnosticFileEmpty(file)) return DiagnosticResult::kDone;
    if (pauses == kDiagnosticBusyPauses) return DiagnosticResult::kServerBusy;
    if (!context.pause(kDiagnosticPauseMs)) return DiagnosticResult::kGaveUp;
  }
}

bool WriteRequest(const DiagnosticContext& context, const fs::path& file,
                  std::string_view serial_box) {
  if (ReplaceFileContent(file.string(), DiagnosticSerialText(serial_box)) ==
      ReplaceFileResult::kOk) {
    return true;
  }
  context.prompter.ShowMessage(MessageKind::kError, Format(kFileNotWrittenText, {file.string()}),
                               MessageButtons::kOk);
  return false;
}

void Truncate(const fs::path& file) {
  std::error_code error;
  fs::resize_file(file, 0, error);
}

// Waits, without a time limit, until the test server answers in `answer`; then empties the
// request. The request is emptied as well when the user stops waiting, so the test server does
// not act on it later.
DiagnosticResult AwaitAnswer(const DiagnosticContext& context, const fs::path& answer,
                             const fs::path& request) {
  while (DiagnosticFileEmpty(answer)) {
    if (!context.pause(kDiagnosticPauseMs)) {
      Truncate(request);
      return DiagnosticResult::kGaveUp;
    }
  }
  Truncate(request);
  return DiagnosticResult::kDone;
}

}  // namespace

std::string DiagnosticSerialText(std::string_view serial_box) {
  std::size_t i = 0;
  while (i < serial_box.size() && serial_box[i] == ' ') ++i;
  std::uint64_t value = 0;
  if (i == serial_box.size()) return "0";
  for (; i < serial_box.size(); ++i) {
    const char c = serial_box[i];
    if (c < '0' || c > '9') return "0";
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > 0xFFFFFFFFu) return "0";
  }
  return std::to_string(value & 0xFFFFFFu);
}

bool DiagnosticFileEmpty(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return true;
  std::string line;
  char c = 0;
  while (line.size() < kFirstLineLimit && in.get(c) && c != '\n' && c != '\r') line.push_back(c);
  return line.empty();
}

DiagnosticResult DiagnosticWrite(const DiagnosticContext& context, const EditorHooks& hooks,
                                 const fs::path& sip_list_folder, std::string_view serial_box,
                                 const std::string& save_dialog_name) {
  if (!PrepareServerWrite(sip_list_folder, hooks, context.prompter, context.strings)) {
    return DiagnosticResult::kDuplicateTransmitters;
  }
  BusyScope busy(context.prompter);
  VynData& data = context.data;
  data.FileName = WithConfigurationExtension(save_dialog_name);
  data.Origin = ImageOrigin::SavedFile;
  // A conversion or file failure ends the command: the test server never gets an old image.
  if (!StoreControlsOrReport(hooks, context.prompter, context.strings)) {
    return DiagnosticResult::kStoreFailed;
  }
  data.ReferenceImage = data.WorkingImage;
  std::error_code error;
  fs::create_directories(context.folder, error);
  const bool written =
      WriteImageFile(data.WorkingImage, (context.folder / kDiagnosticDownloadImage).string()) ==
      ImageWriteResult::kOk;
  if (hooks.UpdateCaption) hooks.UpdateCaption();
  if (!written) {
    context.prompter.ShowMessage(MessageKind::kError,
                                 context.strings.Text(msg::kCannotSaveConfiguration),
                                 MessageButtons::kOk);
    return DiagnosticResult::kImageNotWritten;
  }
  const DiagnosticResult idle = WaitUntilEmpty(context, context.folder / kDiagnosticDownloadDone);
  if (idle != DiagnosticResult::kDone) return idle;
  const fs::path request = context.folder / kDiagnosticDownloadRequest;
  if (!WriteRequest(context, request, serial_box)) return DiagnosticResult::kRequestNotWritten;
  return AwaitAnswer(context, context.folder / kDiagnosticDownloadDone, request);
}

DiagnosticResult DiagnosticRead(const DiagnosticContext& context, const EditorHooks& hooks,
                                std::string_view serial_box, const std::string& open_dialog_name) {
  BusyScope busy(context.prompter);
  std::error_code error;
  fs::create_directories(context.folder, error);
  const DiagnosticResult idle = WaitUntilEmpty(context, context.folder / kDiagnosticUploadDone);
  if (idle != DiagnosticResult::kDone) return idle;
  const fs::path request = context.folder / kDiagnosticUploadRequest;
  if (!WriteRequest(context, request, serial_box)) return DiagnosticResult::kRequestNotWritten;
  const DiagnosticResult answered =
      AwaitAnswer(context, context.folder / kDiagnosticUploadDone, request);
  if (answered != DiagnosticResult::kDone) return answered;

  // Read beside the working image, so a file that is not an image changes nothing.
  ParameterImage image = context.data.WorkingImage;
  bool short_layout = false;
  if (ReadImageFile((context.folder / kDiagnosticUploadImage).string(), image, short_layout) !=
      ImageFileResult::kOk) {
    context.prompter.ShowMessage(MessageKind::kError,
                                 context.strings.Text(msg::kCannotLoadConfiguration),
                                 MessageButtons::kOk);
    return DiagnosticResult::kImageNotRead;
  }
  VynData& data = context.data;
  data.WorkingImage = image;
  data.ShortLayout = short_layout;
  data.FileName = open_dialog_name;
  data.Origin = ImageOrigin::OpenedFile;
  if (hooks.UpdateCaption) hooks.UpdateCaption();
  data.ReferenceImage = data.WorkingImage;
  const int invalid = hooks.LoadControls ? hooks.LoadControls() : kLoadOk;
  if (invalid != kLoadOk) ShowLoadError(context.prompter, context.strings, data, invalid);
  return DiagnosticResult::kDone;
}

}  // namespace vyn
