#pragma once

// The detailed editor: ten pages of every parameter of the image, the File, Communication,
// Tools and Help menus, the status line with the transfer progress, and the access view that
// the password prompt's level decides.

#include <QAction>
#include <QDialog>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/app/startup.h"
#include "core/editor/access_view.h"
#include "core/editor/form/editor_controls.h"
#include "core/editor/file_commands.h"
#include "core/image/vyn_data.h"
#include "core/link/clock.h"
#include "core/link/serial_port.h"
#include "core/link/zix_link.h"
#include "core/reports/record/record_dates.h"
#include "core/reports/record/vyn_print.h"
#include "core/server/diagnostic_exchange.h"
#include "core/session/prompter.h"
#include "core/session/session.h"
#include "core/settings/vyn_ini.h"
#include "core/strings/string_table.h"
#include "ui/app/desktop_opener.h"
#include "ui/editor/editor_page.h"
#include "ui/editor/form_binder.h"

namespace vyn::ui {

class RecordPresenter;
class TfrmAbout;
class TfrmChangePasswords;
class TfrmLoad;
class TfrmSelectDirectory;
class TfrmViewDefault;
class TransferProgress;

// What the editor is given at creation.
struct EditorEnvironment {
  const StringTable& strings;
  Session& session;
  StartupResult& folders;            // the main window's; DefaultDirectory changes at run time
  std::unique_ptr<SerialPort> port;  // the Zix's port, owned by the editor's link
  Clock& clock;
  ZixTraceSink* trace = nullptr;  // the trace file, when tracing is on
  // Where the SIP number lists live; the program data folder when empty.
  std::string sip_list_folder;
  // Replacements of the message boxes and file dialogs (tests); null for the desktop's own.
  Prompter* prompter = nullptr;
  FileChooser* chooser = nullptr;
  // Hands a finished file to the desktop's program for it; null for xdg-open.
  FileOpener open_file;
  // The folder of the delivered files, where the printed record's logo is.
  std::string logo_folder;
  // Shows the printed record (tests); null for Qt's print preview.
  RecordPresenter* record_presenter = nullptr;
};

// The dialogs the editor opens; created after it in the start order.
struct EditorDialogs {
  TfrmAbout* about = nullptr;
  TfrmViewDefault* view_default = nullptr;
  TfrmSelectDirectory* select_directory = nullptr;
  TfrmChangePasswords* change_passwords = nullptr;
  TfrmLoad* load = nullptr;  // the server exchange dialog
};

class TfrmEnterData : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmEnterData(EditorEnvironment environment, QWidget* parent = nullptr);
  ~TfrmEnterData() override;

  void SetDialogs(const EditorDialogs& dialogs) { dialogs_ = dialogs; }

  // Records the level and applies what it shows, hides, enables and disables.
  void ApplyAccessLevel(int level);
  int accessLevel() const { return session_.AccessLevel; }
  bool AdvancedGridEditable() const { return state_.advanced_grid_editable; }

  // The image into the pages: kLoadOk, or the last address whose byte no page could show.
  int LoadControls();
  // The pages into `target`'s working image.
  StoreResult StoreControls(VynData& target);
  void RefreshTitle();

  VynData& data() { return data_; }
  const VynData& data() const { return data_; }
  QTabWidget* pages() const { return pcEnterData_; }
  const std::vector<EditorPage*>& pageList() const { return page_list_; }
  // The controls as the editor holds them, and the binder that shows them in the pages.
  EditorForm& form() { return form_; }
  FormBinder& binder() { return *binder_; }
  // The Zix's firmware version through the editor's link (opened and closed again); empty when
  // the Zix does not answer. The About box shows it.
  std::string ReadZixVersion();
  // Whether a device transfer is running (every command is refused meanwhile).
  bool transferRunning() const { return transfer_running_; }

 public slots:
  void mnuFileNewClick();
  void mnuFileOpenClick();
  void mnuFileSaveClick();
  void mnuFileSaveAsClick();
  void mnuFileSelectDefaultDirectoryClick();
  void mnuFileChangeDefaultConfigClick();
  void mnuFilePrintClick();
  void mnuFileExitClick();
  void mnuCommReadClick();
  void mnuCommWriteClick();
  void mnuCommReadWebClick();
  void mnuCommWriteWebClick();
  void mnuCommDebugReadWebClick();
  void mnuCommDebugWriteWebClick();
  void mnuToolsCreateTextFileClick();
  void mnuToolsChangePasswordsClick();
  void mnuHelpAboutClick();

  // Closing by Exit or the close box: the default configuration comes back.
  void done(int result) override;

  // Whether the pages hold changes that were neither saved nor written to the unit: what they
  // store differs from the image last loaded, saved or read and from the one last written.
  bool HoldsUnsavedChanges();

 protected:
  void showEvent(QShowEvent* event) override;
  // The close box asks as Exit does, but only when something would be lost.
  void closeEvent(QCloseEvent* event) override;
  // Escape does not close the editor.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormCreate();
  void BuildMenus();
  QAction* AddItem(QMenu* menu, const char* name, int caption_id, const QKeySequence& key = {});
  void ApplyItemStates(const std::vector<ItemState>& states);
  // Puts a page into the tab strip at its place, or takes it out.
  void ShowPage(EditorPage* page, bool shown);
  FileCommandContext FileContext();
  EditorHooks Hooks();
  EditorContext Context() { return {form_, state_, *prompter_, strings_}; }
  FormHookCallbacks FormCallbacks();
  // Runs a command unless a transfer is running.
  bool Idle() const { return !transfer_running_; }
  void RunTransfer(const std::function<void()>& transfer);
  // The exchange dialog shown modally after its entries are cleared; true when it closed with
  // OK. False without showing it when its local port stays in use.
  bool ShowExchangeDialog();
  // The serial number box, or the image's serial number where the page has no box.
  std::string SerialNumberText() const;
  // A diagnostic command with its wait box, captioned like its menu item.
  void RunDiagnostic(int caption_id, const std::function<void(const DiagnosticContext&)>& command);

  const StringTable& strings_;
  Session& session_;
  StartupResult& folders_;
  std::unique_ptr<SerialPort> port_;
  Clock& clock_;
  ZixTraceSink* trace_;
  std::string sip_list_folder_;

  VynData data_;
  VynIni settings_;
  EditorForm form_;
  EditorState state_;
  std::unique_ptr<ZixLink> link_;
  std::unique_ptr<TransferProgress> progress_;
  std::unique_ptr<Prompter> own_prompter_;
  std::unique_ptr<FileChooser> own_chooser_;
  Prompter* prompter_;
  FileChooser* chooser_;
  FileOpener open_file_;
  EditorDialogs dialogs_;
  EditorPageContext page_context_;

  QMenuBar* mnuEnterData_ = nullptr;
  QTabWidget* pcEnterData_ = nullptr;
  QStatusBar* sbStatus_ = nullptr;
  QProgressBar* pbTransfer_ = nullptr;
  // Polls the Zix for transmitter codes while the learning dialog waits; off until then.
  QTimer* tmrPollZix_ = nullptr;
  std::vector<EditorPage*> page_list_;
  FormBinder* binder_ = nullptr;
  // What the pages held when they were last written to the unit and verified there.
  std::optional<ParameterImage> written_image_;
  bool transfer_running_ = false;
  bool closing_ = false;

  // The printed record.
  LocaleDateTexts dates_;
  VynPrint vyn_print_;
  std::unique_ptr<RecordPresenter> own_record_presenter_;
  RecordPresenter* record_presenter_;
};

}  // namespace vyn::ui
