#pragma once

// The windows of the application, created once at start in their order: the main window first
// (its creation handler fixes the folders and the settings file that the others read), then the
// editor and the dialogs. Windows of later parts join the list as they are built.

#include <functional>
#include <memory>
#include <string>

#include "core/app/startup.h"
#include "core/editor/file_commands.h"
#include "core/link/clock.h"
#include "core/link/serial_port.h"
#include "core/link/zix_trace.h"
#include "core/server/datagram_socket.h"
#include "core/session/prompter.h"
#include "core/session/session.h"
#include "core/strings/string_table.h"
#include "ui/app/desktop_opener.h"

namespace vyn::ui {

class TfrmAbout;
class TfrmChangePasswords;
class TfrmEnterData;
class TfrmLoad;
class TfrmMain;
class TfrmNewPassword;
class TfrmPassword;
class TfrmSelectDirectory;
class TfrmViewDefault;
class RecordPresenter;

struct ProgrammerSetup {
  StartupEnvironment environment;
  std::unique_ptr<SerialPort> port;  // the Zix's port for the editor's link
  Clock* clock = nullptr;
  ZixTraceSink* trace = nullptr;
  // The server exchange's endpoint; a UDP socket when null.
  std::unique_ptr<DatagramSocket> server_socket;
  // VYN_SERVER: the configuration server instead of the settings file's; empty when not set.
  std::string server_override;
  // Replacements of the message boxes and file dialogs (tests); null for the desktop's own.
  Prompter* prompter = nullptr;
  FileChooser* chooser = nullptr;
  // Opens a finished file (the text list) with the desktop's program; null for xdg-open.
  FileOpener open_file;
  // Shows the printed record (tests); null for Qt's print preview.
  RecordPresenter* record_presenter = nullptr;
};

class ProgrammerWindows {
 public:
  ProgrammerWindows(const StringTable& strings, Session& session, ProgrammerSetup setup);
  ~ProgrammerWindows();

  TfrmMain& main() { return *main_; }
  TfrmEnterData& editor() { return *editor_; }
  TfrmPassword& password() { return *password_; }
  TfrmAbout& about() { return *about_; }
  TfrmViewDefault& viewDefault() { return *view_default_; }
  TfrmSelectDirectory& selectDirectory() { return *select_directory_; }
  TfrmChangePasswords& changePasswords() { return *change_passwords_; }
  TfrmNewPassword& newPassword() { return *new_password_; }
  TfrmLoad& load() { return *load_; }

 private:
  std::unique_ptr<TfrmMain> main_;
  std::unique_ptr<TfrmEnterData> editor_;
  std::unique_ptr<TfrmPassword> password_;
  std::unique_ptr<Prompter> own_prompter_;
  std::unique_ptr<TfrmNewPassword> new_password_;
  std::unique_ptr<TfrmLoad> load_;
  // Dialogs over the editor, owned by it.
  TfrmAbout* about_ = nullptr;
  TfrmViewDefault* view_default_ = nullptr;
  TfrmSelectDirectory* select_directory_ = nullptr;
  TfrmChangePasswords* change_passwords_ = nullptr;
};

}  // namespace vyn::ui
