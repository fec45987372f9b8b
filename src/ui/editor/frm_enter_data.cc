#include "ui/editor/frm_enter_data.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/editor/editor_layout.h"
#include "core/image/field_catalogue.h"
#include "core/image/field_values.h"
#include "core/image/number_pool.h"
#include "core/link/device_flows.h"
#include "core/reports/text_list.h"
#include "core/server/diagnostic_exchange.h"
#include "core/server/server_settings.h"
#include "core/server/web_commands.h"
#include "core/strings/edition.h"
#include "core/strings/message_ids.h"
#include "ui/access/frm_change_passwords.h"
#include "ui/app/dialog_parts.h"
#include "ui/app/frm_about.h"
#include "ui/app/qt_file_chooser.h"
#include "ui/app/qt_prompter.h"
#include "ui/app/window_placement.h"
#include "ui/editor/pages/advanced_page.h"
#include "ui/editor/pages/alarm_sources_page.h"
#include "ui/editor/pages/call_numbers_page.h"
#include "ui/editor/pages/call_parameters_page.h"
#include "ui/editor/pages/configuration_page.h"
#include "ui/editor/pages/extended_functions_page.h"
#include "ui/editor/pages/ip_page.h"
#include "ui/editor/pages/misc_page.h"
#include "ui/editor/pages/sequences_page.h"
#include "ui/editor/pages/timers_and_indications_page.h"
#include "ui/editor/transfer_progress.h"
#include "ui/image/frm_select_directory.h"
#include "ui/image/frm_view_default.h"
#include "ui/reports/record_presenter.h"
#include "ui/server/diagnostic_wait.h"
#include "ui/server/frm_load.h"

namespace vyn::ui {

TfrmEnterData::TfrmEnterData(EditorEnvironment environment, QWidget* parent)
    : QDialog(parent),
      strings_(environment.strings),
      session_(environment.session),
      folders_(environment.folders),
      port_(std::move(environment.port)),
      clock_(environment.clock),
      trace_(environment.trace),
      sip_list_folder_(environment.sip_list_folder.empty() ? environment.folders.ProgramDataFolder
                                                           : environment.sip_list_folder),
      settings_(environment.folders.SettingsFile),
      prompter_(environment.prompter),
      chooser_(environment.chooser),
      open_file_(environment.open_file
                     ? std::move(environment.open_file)
                     : FileOpener([this](const std::string& path, OpenedCallback done) {
                         OpenWithDesktopProgram(path, this, std::move(done));
                       })),
      page_context_{environment.strings, settings_, environment.session, form_},
      vyn_print_(environment.strings, environment.folders.SettingsFile, environment.logo_folder,
                 dates_),
      record_presenter_(environment.record_presenter) {
  if (!record_presenter_) {
    own_record_presenter_ = std::make_unique<PreviewRecordPresenter>(this);
    record_presenter_ = own_record_presenter_.get();
  }
  FormCreate();
}

TfrmEnterData::~TfrmEnterData() = default;

void TfrmEnterData::FormCreate() {
  setObjectName("frmEnterData");
  setModal(true);
  setSizeGripEnabled(true);
  resize(960, 680);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  mnuEnterData_ = new QMenuBar(this);
  mnuEnterData_->setObjectName("mnuEnterData");
  layout->setMenuBar(mnuEnterData_);
  pcEnterData_ = new QTabWidget(this);
  pcEnterData_->setObjectName("pcEnterData");
  layout->addWidget(pcEnterData_, 1);
  sbStatus_ = new QStatusBar(this);
  sbStatus_->setObjectName("sbStatus");
  sbStatus_->setSizeGripEnabled(false);
  pbTransfer_ = new QProgressBar(sbStatus_);
  pbTransfer_->setObjectName("pbTransfer");
  pbTransfer_->setMaximumWidth(200);
  pbTransfer_->setTextVisible(false);
  pbTransfer_->hide();
  sbStatus_->addPermanentWidget(pbTransfer_);
  layout->addWidget(sbStatus_);
  tmrPollZix_ = new QTimer(this);
  tmrPollZix_->setObjectName("tmrPollZix");
  tmrPollZix_->setInterval(500);

  if (!prompter_) {
    own_prompter_ = std::make_unique<QtPrompter>(this, sbStatus_, strings_);
    prompter_ = own_prompter_.get();
  }
  if (!chooser_) {
    own_chooser_ = std::make_unique<QtFileChooser>(this);
    chooser_ = own_chooser_.get();
  }
  link_ = std::make_unique<ZixLink>(*port_, clock_);
  progress_ = std::make_unique<TransferProgress>(pbTransfer_, trace_);
  link_->SetTrace(progress_.get());

  // 1. The settings file: without it the choice lists and the advanced grid stay empty.
  if (!settings_.Exists()) {
    prompter_->ShowMessage(MessageKind::kError, strings_.Text(msg::kValuesIniMissing),
                           MessageButtons::kOk);
  }
  // 2. Menus with their captions.
  BuildMenus();
  // 4, 7, 8, 10. The controls with their captions, filled choice lists, the advanced grid and
  // the hints, as the form; the pages lay out their widgets, and the binder shows the form.
  form_ = BuildEditorForm(strings_, settings_);
  state_.edition_name = EditionName(strings_);
  const QString separator = QLocale().decimalPoint();
  if (separator.size() == 1 && separator[0].unicode() < 128)
    state_.decimal_separator = static_cast<char>(separator[0].unicode());
  page_list_ = {new AlarmSourcesPage(page_context_),
                new CallNumbersPage(page_context_),
                new SequencesPage(page_context_),
                new TimersAndIndicationsPage(page_context_),
                new CallParametersPage(page_context_),
                new ExtendedFunctionsPage(page_context_),
                new AdvancedPage(page_context_),
                new ConfigurationPage(page_context_),
                new IpPage(page_context_),
                new MiscPage(page_context_)};
  for (EditorPage* page : page_list_)
    pcEnterData_->addTab(page, UiText(strings_, page->captionId()));
  binder_ = new FormBinder(Context(), this);
  binder_->Bind(pcEnterData_);
  // 3, 5, 6. Edition rules of menus and pages; controls whose string is absent are hidden.
  ApplyItemStates(EditorLayoutRules(strings_));
  for (const OptionalControl& control : OptionalControls()) {
    // The form's controls have their captions from their rows.
    if (control.caption_id == 0 || !strings_.Has(control.string_id) || form_.Find(control.name))
      continue;
    QWidget* widget = findChild<QWidget*>(control.name);
    if (auto* label = qobject_cast<QLabel*>(widget))
      label->setText(UiText(strings_, control.caption_id));
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
      button->setText(UiText(strings_, control.caption_id));
  }
  // 9. A new editor shows the default configuration.
  data_.Origin = ImageOrigin::FromDefault;
  RefreshTitle();
  // 11.
  mnuFileNewClick();
}

QAction* TfrmEnterData::AddItem(QMenu* menu, const char* name, int caption_id,
                                const QKeySequence& key) {
  QAction* action = menu->addAction(UiText(strings_, caption_id));
  action->setObjectName(name);
  if (!key.isEmpty()) action->setShortcut(key);
  return action;
}

void TfrmEnterData::BuildMenus() {
  auto menu = [this](const char* name, int caption_id) {
    QMenu* m = mnuEnterData_->addMenu(UiText(strings_, caption_id));
    m->setObjectName(name);
    m->menuAction()->setObjectName(QString(name) + "Item");
    return m;
  };
  auto separator = [](QMenu* m, const char* name = nullptr) {
    QAction* s = m->addSeparator();
    if (name) s->setObjectName(name);
  };
  auto on = [this](QAction* action, void (TfrmEnterData::*slot)()) {
    connect(action, &QAction::triggered, this, slot);
  };

  QMenu* file = menu("mnuFile", 13001);
  on(AddItem(file, "mnuFileNew", 13002, QKeySequence(Qt::CTRL | Qt::Key_N)),
     &TfrmEnterData::mnuFileNewClick);
  on(AddItem(file, "mnuFileOpen", 13003, QKeySequence(Qt::CTRL | Qt::Key_O)),
     &TfrmEnterData::mnuFileOpenClick);
  on(AddItem(file, "mnuFileSave", 13004, QKeySequence(Qt::CTRL | Qt::Key_S)),
     &TfrmEnterData::mnuFileSaveClick);
  on(AddItem(file, "mnuFileSaveAs", 13005), &TfrmEnterData::mnuFileSaveAsClick);
  separator(file);
  on(AddItem(file, "mnuFileSelectDefaultDirectory", 13006),
     &TfrmEnterData::mnuFileSelectDefaultDirectoryClick);
  on(AddItem(file, "mnuFileChangeDefaultConfig", 13007),
     &TfrmEnterData::mnuFileChangeDefaultConfigClick);
  separator(file);
  on(AddItem(file, "mnuFilePrint", 13008, QKeySequence(Qt::CTRL | Qt::Key_P)),
     &TfrmEnterData::mnuFilePrintClick);
  separator(file);
  on(AddItem(file, "mnuFileExit", 13009), &TfrmEnterData::mnuFileExitClick);

  QMenu* comm = menu("mnuCommunication", 13010);
  on(AddItem(comm, "mnuCommRead", 13011, QKeySequence(Qt::CTRL | Qt::Key_R)),
     &TfrmEnterData::mnuCommReadClick);
  on(AddItem(comm, "mnuCommWrite", 13012, QKeySequence(Qt::CTRL | Qt::Key_W)),
     &TfrmEnterData::mnuCommWriteClick);
  on(AddItem(comm, "mnuCommReadWeb", 13013), &TfrmEnterData::mnuCommReadWebClick);
  on(AddItem(comm, "mnuCommWriteWeb", 13014), &TfrmEnterData::mnuCommWriteWebClick);
  on(AddItem(comm, "mnuCommDebugReadWeb", 13015), &TfrmEnterData::mnuCommDebugReadWebClick);
  on(AddItem(comm, "mnuCommDebugWriteWeb", 13016), &TfrmEnterData::mnuCommDebugWriteWebClick);

  QMenu* tools = menu("mnuTools", 13019);
  // The guide is never started from here; where it is shown it is greyed.
  AddItem(tools, "mnuToolsGuide", 13020)->setEnabled(false);
  AddItem(tools, "mnuToolsBasic", 13021);
  on(AddItem(tools, "mnuToolsCreateTextFile", 13022), &TfrmEnterData::mnuToolsCreateTextFileClick);
  AddItem(tools, "mnuToolsConfigureHomeAway", 13023);
  AddItem(tools, "mnuToolsConfigureAlarmTypes", 13024);
  on(AddItem(tools, "mnuToolsChangePasswords", 13025),
     &TfrmEnterData::mnuToolsChangePasswordsClick);

  QMenu* help = menu("mnuHelp", 13026);
  AddItem(help, "mnuHelpBS8521LocationCodes", 13028);
  AddItem(help, "mnuHelpTT92LocationCodes", 13029);
  separator(help, "mnuHelpDelimiter");
  on(AddItem(help, "mnuHelpAbout", 13027), &TfrmEnterData::mnuHelpAboutClick);
}

void TfrmEnterData::ApplyItemStates(const std::vector<ItemState>& all_states) {
  // The form's controls take their states there; pages, menu items and the rest here.
  const std::vector<ItemState> states = vyn::ApplyItemStates(form_, all_states);
  binder_->Mirror();
  for (const ItemState& state : states) {
    const QString name = QString::fromStdString(state.name);
    bool found = false;
    for (EditorPage* page : page_list_) {
      if (page->objectName() != name) continue;
      if (state.visible) ShowPage(page, *state.visible);
      if (state.enabled) page->setEnabled(*state.enabled);
      found = true;
    }
    if (found) continue;
    if (auto* action = findChild<QAction*>(name)) {
      if (state.visible) action->setVisible(*state.visible);
      if (state.enabled) action->setEnabled(*state.enabled);
      continue;
    }
    if (auto* widget = findChild<QWidget*>(name)) {
      if (state.visible) widget->setVisible(*state.visible);
      if (state.enabled) widget->setEnabled(*state.enabled);
      if (auto* box = qobject_cast<QAbstractButton*>(widget); box && state.checked)
        box->setChecked(*state.checked);
    }
  }
}

void TfrmEnterData::ShowPage(EditorPage* page, bool shown) {
  // A hidden page leaves the tab widget altogether: a tab that is only made invisible can still
  // be reached with Ctrl+Tab and keeps its width. The page stays a child of the window, so its
  // controls are still found by name and still load and store.
  const int index = pcEnterData_->indexOf(page);
  if (!shown) {
    if (index >= 0) pcEnterData_->removeTab(index);
    return;
  }
  if (index >= 0) return;
  int position = 0;  // among the shown pages, in the order of the page list
  for (const EditorPage* other : page_list_) {
    if (other == page) break;
    if (pcEnterData_->indexOf(other) >= 0) ++position;
  }
  pcEnterData_->insertTab(position, page, UiText(strings_, page->captionId()));
}

void TfrmEnterData::ApplyAccessLevel(int level) {
  session_.AccessLevel = level;
  EditorContext context = Context();
  ApplyItemStates(vyn::ApplyAccessLevel(context, level));
}

int TfrmEnterData::LoadControls() { return Hooks().LoadControls(); }

StoreResult TfrmEnterData::StoreControls(VynData& target) {
  EditorContext context = Context();
  return FormEditorHooks(context, target, FormCallbacks()).StoreControls();
}

FormHookCallbacks TfrmEnterData::FormCallbacks() {
  FormHookCallbacks callbacks;
  callbacks.after_load = [this] { binder_->Mirror(); };
  // The store may set texts (a joined number); a failing control gets the focus.
  callbacks.after_store = [this](const StoreOutcome& outcome) {
    binder_->Mirror();
    if (outcome.result != StoreResult::kOk) binder_->Focus(outcome);
  };
  return callbacks;
}

void TfrmEnterData::RefreshTitle() {
  setWindowTitle(QString::fromStdString(EditorTitle(data_, strings_)));
}

FileCommandContext TfrmEnterData::FileContext() {
  return {data_,
          *prompter_,
          *chooser_,
          strings_,
          folders_.ProgramDataFolder,
          folders_.DefaultDirectory};
}

EditorHooks TfrmEnterData::Hooks() {
  EditorContext context = Context();
  EditorHooks hooks = FormEditorHooks(context, data_, FormCallbacks());
  hooks.UpdateCaption = [this] { RefreshTitle(); };
  return hooks;
}

void TfrmEnterData::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(this);
  pcEnterData_->setCurrentIndex(0);
  // The advanced grid starts on its first row's address cell, where nothing is edited.
  if (auto* grid = findChild<QTableWidget*>("sgAdvanced")) grid->setCurrentCell(0, 0);
  // A new visit starts without the last visit's messages.
  prompter_->SetStatus("");
}

bool TfrmEnterData::HoldsUnsavedChanges() {
  VynData stored = data_;
  // Values the pages cannot store are changes no file holds. The store only looks: it shows
  // no message and moves no focus.
  EditorContext context = Context();
  const StoreResult result = vyn::StoreControls(context, stored).result;
  binder_->Mirror();
  if (result != StoreResult::kOk) return true;
  ParameterImage reference = data_.ReferenceImage;
  // A 512-byte file's image is compared in the full layout the store gives.
  if (data_.ShortLayout) MoveNumbersIntoPool(reference);
  return stored.WorkingImage != reference &&
         (!written_image_ || stored.WorkingImage != *written_image_);
}

void TfrmEnterData::closeEvent(QCloseEvent* event) {
  if (transfer_running_ ||
      (HoldsUnsavedChanges() && FileExit(FileContext(), Hooks()) != ExitDecision::kClose)) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void TfrmEnterData::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TfrmEnterData::mnuFileNewClick() {
  if (Idle()) FileNew(FileContext(), Hooks());
}

void TfrmEnterData::mnuFileOpenClick() {
  if (Idle()) FileOpen(FileContext(), Hooks());
}

void TfrmEnterData::mnuFileSaveClick() {
  if (Idle()) FileSave(FileContext(), Hooks());
}

void TfrmEnterData::mnuFileSaveAsClick() {
  if (Idle()) FileSaveAs(FileContext(), Hooks());
}

void TfrmEnterData::mnuFileSelectDefaultDirectoryClick() {
  if (!Idle() || !dialogs_.select_directory) return;
  TfrmSelectDirectory& dialog = *dialogs_.select_directory;
  // The dialog gives and takes the folder without trailing separator.
  dialog.SetDirectory(QString::fromStdString(folders_.DefaultDirectory));
  if (dialog.exec() != QDialog::Accepted) return;
  folders_.DefaultDirectory = dialog.Directory().toStdString();
  SaveDefaultDirectory(folders_.SettingsFile, folders_.DefaultDirectory);
}

void TfrmEnterData::mnuFileChangeDefaultConfigClick() {
  if (!Idle() || !dialogs_.view_default) return;
  if (!CheckPreparedDefaultsExist(FileContext())) return;
  TfrmViewDefault& dialog = *dialogs_.view_default;
  dialog.SetConfigurations(PreparedDefaultConfigurations(folders_.ProgramDataFolder));
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string chosen = dialog.ChosenConfiguration();
  if (!chosen.empty()) MakeDefaultConfiguration(folders_.ProgramDataFolder, chosen);
}

// The record is shown in the print preview first, from which the user prints it (printer and
// copies in the print dialog) or leaves without printing.
void TfrmEnterData::mnuFilePrintClick() {
  if (!Idle()) return;
  const StoreResult stored = StoreControls(data_);
  if (stored != StoreResult::kOk) {
    ShowStoreError(FileContext(), stored);
    return;
  }
  const RecordInputs inputs = EditorRecordInputs(data_, strings_, dates_);
  const VynData copy = data_;
  record_presenter_->Present(QString::fromStdString(inputs.RecordTitle),
                             [this, &inputs, &copy](Canvas& canvas, int copies) {
                               vyn_print_.SetInputs(inputs);
                               vyn_print_.Copies = copies;
                               vyn_print_.PrintRecord(copy, canvas);
                             });
}

void TfrmEnterData::mnuFileExitClick() {
  if (!Idle()) return;
  if (FileExit(FileContext(), Hooks()) != ExitDecision::kClose) return;
  link_->Close();
  accept();
}

void TfrmEnterData::done(int result) {
  // No window may close under a running transfer; the close handler runs once per closing.
  if (transfer_running_ || closing_) return;
  closing_ = true;
  CloseEditor(FileContext(), Hooks());
  written_image_.reset();
  closing_ = false;
  QDialog::done(result);
}

void TfrmEnterData::RunTransfer(const std::function<void()>& transfer) {
  if (!Idle()) return;
  transfer_running_ = true;
  mnuEnterData_->setEnabled(false);
  transfer();
  progress_->Hide();
  mnuEnterData_->setEnabled(true);
  transfer_running_ = false;
}

void TfrmEnterData::mnuCommReadClick() {
  RunTransfer([this] {
    QtEventPump pump;
    TransferPrompter prompter(*prompter_, *progress_);
    CommRead({data_, session_, *link_, prompter, pump, clock_, strings_}, Hooks());
  });
}

void TfrmEnterData::mnuCommWriteClick() {
  RunTransfer([this] {
    QtEventPump pump;
    // What the pages stored for the write; the unit holds it once the write is verified.
    ParameterImage stored{};
    EditorHooks hooks = Hooks();
    hooks.StoreControls = [this, &stored] {
      const StoreResult result = StoreControls(data_);
      stored = data_.WorkingImage;
      return result;
    };
    TransferPrompter prompter(*prompter_, *progress_);
    if (CommWrite({data_, session_, *link_, prompter, pump, clock_, strings_}, hooks,
                  sip_list_folder_) == DeviceFlowResult::kDone) {
      written_image_ = stored;
    }
  });
}

bool TfrmEnterData::ShowExchangeDialog() {
  TfrmLoad& dialog = *dialogs_.load;
  if (!dialog.EnsureEndpoint()) {
    prompter_->ShowMessage(MessageKind::kError, dialog.PortInUseText(), MessageButtons::kOk);
    return false;
  }
  dialog.ClearEntries();
  return dialog.exec() == QDialog::Accepted;
}

void TfrmEnterData::mnuCommReadWebClick() {
  if (!dialogs_.load) return;
  RunTransfer([this] {
    CommReadWeb({data_, dialogs_.load->exchange(), *prompter_, strings_, &session_}, Hooks(),
                [this] { return ShowExchangeDialog(); });
  });
}

void TfrmEnterData::mnuCommWriteWebClick() {
  if (!dialogs_.load) return;
  RunTransfer([this] {
    CommWriteWeb({data_, dialogs_.load->exchange(), *prompter_, strings_}, Hooks(),
                 sip_list_folder_, [this] { return ShowExchangeDialog(); });
  });
}

std::string TfrmEnterData::SerialNumberText() const {
  if (auto* box = findChild<QLineEdit*>("edtSerialNumber")) return box->text().toStdString();
  return FieldValueText(data_.WorkingImage, *FindField("SerialNumber"), data_.ShortLayout);
}

void TfrmEnterData::RunDiagnostic(int caption_id,
                                  const std::function<void(const DiagnosticContext&)>& command) {
  RunTransfer([&] {
    const std::string folder = DiagnosticFolder(settings_, folders_.ProgramDataFolder);
    DiagnosticWait wait(this, clock_, UiText(strings_, caption_id), QString::fromStdString(folder),
                        UiText(strings_, kCancelButtonText));
    command({data_, *prompter_, strings_, folder,
             [&wait](std::uint32_t ms) { return wait.Pause(ms); }});
  });
}

void TfrmEnterData::mnuCommDebugReadWebClick() {
  RunDiagnostic(13015, [this](const DiagnosticContext& context) {
    DiagnosticRead(context, Hooks(), SerialNumberText(), data_.FileName);
  });
}

void TfrmEnterData::mnuCommDebugWriteWebClick() {
  RunDiagnostic(13016, [this](const DiagnosticContext& context) {
    DiagnosticWrite(context, Hooks(), sip_list_folder_, SerialNumberText(), data_.FileName);
  });
}

void TfrmEnterData::mnuToolsCreateTextFileClick() {
  if (!Idle()) return;
  const FileCommandContext context = FileContext();
  const StoreResult stored = StoreControls(data_);
  if (stored != StoreResult::kOk) {
    ShowStoreError(context, stored);
    return;
  }
  const TextListResult written = WriteTextList(data_, strings_, folders_.ProgramDataFolder);
  if (written.status != TextListStatus::kWritten) return;
  prompter_->ShowMessage(MessageKind::kInformation,
                         strings_.Text(msg::kTextFileCreated) + UnbrokenPath(written.path),
                         MessageButtons::kOk);
  // The opener's failure may only be known once it has ended; the window does not wait.
  open_file_(written.path, [this](bool opened) {
    if (!opened) {
      prompter_->ShowMessage(MessageKind::kInformation, strings_.Text(msg::kCannotOpenTextFile),
                             MessageButtons::kOk);
    }
  });
}

std::string TfrmEnterData::ReadZixVersion() {
  std::string version;
  if (transfer_running_ || link_->Open() != OpenResult::kOpened) return version;
  if (link_->ReadZixVersion(version) != LinkResult::kSuccess) version.clear();
  link_->Close();
  return version;
}

void TfrmEnterData::mnuToolsChangePasswordsClick() {
  if (Idle() && dialogs_.change_passwords) dialogs_.change_passwords->exec();
}

void TfrmEnterData::mnuHelpAboutClick() {
  if (Idle() && dialogs_.about) dialogs_.about->exec();
}

}  // namespace vyn::ui
