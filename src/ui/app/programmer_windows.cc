#include "ui/app/programmer_windows.h"

#include "core/access/password_store.h"
#include "platform/udp_socket.h"
#include "ui/access/frm_change_passwords.h"
#include "ui/access/frm_new_password.h"
#include "ui/access/frm_password.h"
#include "ui/app/desktop_conventions.h"
#include "ui/app/frm_about.h"
#include "ui/app/frm_main.h"
#include "ui/app/qt_prompter.h"
#include "ui/editor/frm_enter_data.h"
#include "ui/image/frm_select_directory.h"
#include "ui/image/frm_view_default.h"
#include "ui/server/frm_load.h"

namespace vyn::ui {

ProgrammerWindows::ProgrammerWindows(const StringTable& strings, Session& session,
                                     ProgrammerSetup setup) {
  InstallDesktopConventions();
  main_ = std::make_unique<TfrmMain>(strings, session, setup.environment, setup.prompter);
  StartupResult& folders = main_->folders();

  EditorEnvironment editor{strings,
                           session,
                           folders,
                           std::move(setup.port),
                           *setup.clock,
                           setup.trace,
                           std::string(),
                           setup.prompter,
                           setup.chooser,
                           std::move(setup.open_file),
                           setup.environment.install_folder,
                           setup.record_presenter};
  editor_ = std::make_unique<TfrmEnterData>(std::move(editor));
  password_ = std::make_unique<TfrmPassword>(strings);
  about_ = new TfrmAbout(
      strings, [editor = editor_.get()] { return editor->ReadZixVersion(); }, editor_.get());
  view_default_ = new TfrmViewDefault(strings, editor_.get());
  select_directory_ = new TfrmSelectDirectory(strings, editor_.get());

  // The password change dialog's box of questions is the editor's, so tests script both.
  Prompter* dialog_prompter = setup.prompter;
  if (!dialog_prompter) {
    own_prompter_ = std::make_unique<QtPrompter>(editor_.get(), nullptr, strings);
    dialog_prompter = own_prompter_.get();
  }
  new_password_ = std::make_unique<TfrmNewPassword>(strings, *dialog_prompter);
  change_passwords_ = new TfrmChangePasswords(
      strings, *dialog_prompter, *new_password_,
      PasswordStore(folders.ProgramDataFolder + kPasswordStoreFileName), editor_.get());

  // The exchange dialog binds its endpoint now and keeps it for the run.
  std::unique_ptr<DatagramSocket> socket = std::move(setup.server_socket);
  if (!socket) socket = std::make_unique<UdpSocket>();
  load_ = std::make_unique<TfrmLoad>(
      strings, session, std::move(socket), *setup.clock,
      LoadServerSettings{folders.SettingsFile, setup.server_override}, setup.prompter);

  main_->SetWindows(editor_.get(), password_.get());
  editor_->SetDialogs({about_, view_default_, select_directory_, change_passwords_, load_.get()});
}

ProgrammerWindows::~ProgrammerWindows() {
  // The editor owns the dialogs over it; the new-password dialog outlives the change dialog.
  editor_.reset();
  new_password_.reset();
  load_.reset();
}

}  // namespace vyn::ui
