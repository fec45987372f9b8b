#include "ui/app/frm_main.h"

#include <QGridLayout>

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "core/access/password_store.h"
#include "core/backup/unit_backups.h"
#include "core/strings/edition.h"
#include "core/strings/message_ids.h"
#include "ui/access/frm_password.h"
#include "ui/app/dialog_parts.h"
#include "ui/app/qt_prompter.h"
#include "ui/app/window_placement.h"
#include "ui/editor/frm_enter_data.h"

namespace vyn::ui {

namespace {

QLabel* NewLabel(QWidget* parent, const char* name, bool wrap) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setWordWrap(wrap);
  return label;
}

QPushButton* NewButton(QWidget* parent, const char* name) {
  auto* button = new QPushButton(parent);
  button->setObjectName(name);
  button->setMinimumWidth(200);
  return button;
}

}  // namespace

TfrmMain::TfrmMain(const StringTable& strings, Session& session,
                   const StartupEnvironment& environment, Prompter* prompter, QWidget* parent)
    : QWidget(parent), strings_(strings), session_(session), prompter_(prompter) {
  if (!prompter_) {
    own_prompter_ = std::make_unique<QtPrompter>(this, nullptr, strings_);
    prompter_ = own_prompter_.get();
  }
  FormCreate(environment);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::SetWindows(TfrmEnterData* editor, TfrmPassword* password) {
  editor_ = editor;
  password_ = password;
}

void TfrmMain::FormCreate(const StartupEnvironment& environment) {
  setObjectName("frmMain");
  auto* outer = new QVBoxLayout(this);
  pnlMain_ = new QFrame(this);
  pnlMain_->setObjectName("pnlMain");
  pnlMain_->setFrameShape(QFrame::StyledPanel);
  outer->addWidget(pnlMain_);

  lblWelcome_ = NewLabel(pnlMain_, "lblWelcome", true);
  QFont welcome_font = lblWelcome_->font();
  welcome_font.setPointSizeF(welcome_font.pointSizeF() * 1.5);
  welcome_font.setBold(true);
  lblWelcome_->setFont(welcome_font);
  lblPleaseSelect_ = NewLabel(pnlMain_, "lblPleaseSelect", true);
  btnProgrammingGuide_ = NewButton(pnlMain_, "btnProgrammingGuide");
  btnBasicProgramming_ = NewButton(pnlMain_, "btnBasicProgramming");
  btnEnterData_ = NewButton(pnlMain_, "btnEnterData");
  btnExit_ = NewButton(pnlMain_, "btnExit");
  btnExit_->setMinimumWidth(0);
  lblAStepByStep_ = NewLabel(pnlMain_, "lblAStepByStep", true);
  lblSelectAPredefined_ = NewLabel(pnlMain_, "lblSelectAPredefined", true);
  lblEditAllParameters_ = NewLabel(pnlMain_, "lblEditAllParameters", true);
  // The guide is disabled as designed: the wizard is never started from here.
  btnProgrammingGuide_->setEnabled(false);

  connect(btnEnterData_, &QPushButton::clicked, this, &TfrmMain::btnEnterDataClick);
  connect(btnBasicProgramming_, &QPushButton::clicked, this, &TfrmMain::btnBasicProgrammingClick);
  connect(btnExit_, &QPushButton::clicked, this, &TfrmMain::btnExitClick);

  // 1. Edition layout; then 2-10, the folders and files every later window reads.
  EditionLayout();
  folders_ = RunMainWindowStartup(environment, strings_);
  // Every image read from or verified in the unit is also kept in the data folder's backups.
  session_.BackupFolder = folders_.ProgramDataFolder + kBackupFolderName;
}

void TfrmMain::EditionLayout() {
  auto* panel = new QVBoxLayout(pnlMain_);
  panel->addWidget(lblWelcome_);
  panel->addWidget(lblPleaseSelect_);
  panel->addSpacing(12);
  auto* grid = new QGridLayout();
  grid->setVerticalSpacing(12);
  panel->addLayout(grid);
  panel->addSpacing(12);
  grdButtons_ = grid;
  auto* bottom = new QHBoxLayout();
  bottom->addStretch(1);
  bottom->addWidget(btnExit_);
  panel->addLayout(bottom);

  auto row = [grid](int r, QPushButton* button, QLabel* label) {
    grid->addWidget(button, r, 0, Qt::AlignTop);
    grid->addWidget(label, r, 1, Qt::AlignTop);
  };
  if (IsKembEdition(strings_)) {
    // The guide's row goes; the detailed button takes the top position.
    btnProgrammingGuide_->hide();
    lblAStepByStep_->hide();
    row(0, btnEnterData_, lblEditAllParameters_);
    row(1, btnBasicProgramming_, lblSelectAPredefined_);
    setTabOrder(btnEnterData_, btnBasicProgramming_);
    setTabOrder(btnBasicProgramming_, btnExit_);
  } else {
    row(0, btnProgrammingGuide_, lblAStepByStep_);
    row(1, btnBasicProgramming_, lblSelectAPredefined_);
    row(2, btnEnterData_, lblEditAllParameters_);
    lblAStepByStep_->setEnabled(true);
  }
}

void TfrmMain::showEvent(QShowEvent* event) {
  // The title as it stands: no application display name is set, which the platform would
  // append to every window's title.
  setWindowTitle(UiText(strings_, kApplicationTitle));
  lblWelcome_->setText(UiText(strings_, 10002));
  lblPleaseSelect_->setText(UiText(strings_, 10003));
  btnProgrammingGuide_->setText(UiText(strings_, 10004));
  btnBasicProgramming_->setText(UiText(strings_, 10005));
  btnEnterData_->setText(UiText(strings_, 10006));
  btnExit_->setText(UiText(strings_, 14001));
  lblAStepByStep_->setText(UiText(strings_, 10007));
  lblSelectAPredefined_->setText(UiText(strings_, 10008));
  lblEditAllParameters_->setText(UiText(strings_, 10009));
  FitToContent();
  QWidget::showEvent(event);
  CentreOnScreen(this);
}

void TfrmMain::FitToContent() {
  // The descriptions wrap in a column of at least about this many characters beside the buttons.
  constexpr int kDescriptionCharacters = 50;
  const QList<QLabel*> descriptions = {lblAStepByStep_, lblSelectAPredefined_,
                                       lblEditAllParameters_};
  const int column =
      lblSelectAPredefined_->fontMetrics().averageCharWidth() * kDescriptionCharacters;
  for (QLabel* label : descriptions) label->setFixedWidth(column);
  // The two upper labels take 90 % of the panel's width, so the panel is wide enough for the
  // welcome line in that share; the descriptions take what the buttons leave.
  const int welcome = lblWelcome_->fontMetrics().horizontalAdvance(lblWelcome_->text()) + 1;
  grdButtons_->invalidate();
  const int grid = grdButtons_->sizeHint().width();
  const int inner = std::max(grid, (welcome * 10 + 8) / 9);
  for (QLabel* label : descriptions) label->setFixedWidth(column + inner - grid);
  lblWelcome_->setFixedWidth(inner * 9 / 10);
  lblPleaseSelect_->setFixedWidth(inner * 9 / 10);
  // The window is as large as its content, and no larger.
  setMinimumSize(0, 0);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  adjustSize();
  setFixedSize(size());
}

void TfrmMain::btnEnterDataClick() {
  if (!editor_ || !password_) return;
  session_.FirmwareUpdateActive = false;
  password_->Reset();
  if (run_modal(*password_) != QDialog::Accepted) return;
  const PasswordStore store(folders_.ProgramDataFolder + kPasswordStoreFileName);
  const int level = store.LevelFor(password_->EnteredPassword().toStdString());
  if (level == 0) {
    // A store that cannot be read is not the user's wrong password.
    const std::string problem = store.Problem();
    prompter_->ShowMessage(problem.empty() ? MessageKind::kInformation : MessageKind::kError,
                           problem.empty() ? strings_.Text(msg::kWrongPassword)
                                           : strings_.Text(msg::kPasswordStoreUnreadable) + "\n" +
                                                 store.file().string() + " (" + problem + ")",
                           MessageButtons::kOk);
    return;
  }
  hide();
  editor_->ApplyAccessLevel(level);
  editor_->mnuFileNewClick();
  run_modal(*editor_);
  show();
}

void TfrmMain::btnBasicProgrammingClick() {
  session_.AccessLevel = 0;
  session_.FirmwareUpdateActive = false;
  // The basic programming windows open here once they exist.
}

void TfrmMain::btnExitClick() { close(); }

}  // namespace vyn::ui
