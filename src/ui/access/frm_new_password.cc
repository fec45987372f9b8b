#include "ui/access/frm_new_password.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

#include "core/strings/message_ids.h"
#include "ui/app/dialog_parts.h"
#include "ui/app/window_placement.h"

namespace vyn::ui {

namespace {

constexpr int kCaption = 13781;
constexpr int kGroup = 13782;
constexpr int kEnterNewPassword = 13783;
constexpr int kRetypeNewPassword = 13784;
constexpr int kMaxPasswordLength = 32;
// Shorter passwords are refused; an empty one deletes the password.
constexpr int kShortestPassword = 4;

// The boxes' key filter: any edit that would leave a character outside 0x20-0x7E in the box
// (a typed umlaut as much as a pasted text) is refused whole, so nothing the store or the
// unit's prompt cannot take is ever entered.
class PrintableAsciiValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& /*pos*/) const override {
    for (const QChar c : input) {
      if (c.unicode() < 0x20 || c.unicode() > 0x7E) return Invalid;
    }
    return Acceptable;
  }
};

bool IsEnter(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QLineEdit* MakePasswordBox(const char* object_name, QValidator* validator, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(object_name);
  box->setMaxLength(kMaxPasswordLength);
  box->setEchoMode(QLineEdit::Password);
  box->setValidator(validator);
  return box;
}

}  // namespace

TfrmNewPassword::TfrmNewPassword(const StringTable& strings, Prompter& prompter, QWidget* parent)
    : QDialog(parent), strings_(strings), prompter_(prompter) {
  setObjectName("frmNewPassword");
  setWindowTitle(UiText(strings, kCaption));

  gbSetNewPassword_ = new QGroupBox(UiText(strings, kGroup), this);
  gbSetNewPassword_->setObjectName("gbSetNewPassword");
  lblEnterNewPassword_ = new QLabel(UiText(strings, kEnterNewPassword), gbSetNewPassword_);
  lblEnterNewPassword_->setObjectName("lblEnterNewPassword");
  lblRetypeNewPassword_ = new QLabel(UiText(strings, kRetypeNewPassword), gbSetNewPassword_);
  lblRetypeNewPassword_->setObjectName("lblRetypeNewPassword");
  auto* validator = new PrintableAsciiValidator(this);
  edtPassword_ = MakePasswordBox("edtPassword", validator, gbSetNewPassword_);
  edtPasswordRetype_ = MakePasswordBox("edtPasswordRetype", validator, gbSetNewPassword_);
  const OkCancelRow buttons = MakeOkCancelRow(strings, "btnOk", this);
  btnOk_ = buttons.ok;
  btnCancel_ = buttons.cancel;
  // Enter never reaches the dialog from the boxes (it moves the focus instead); on a focused
  // button it presses that button, so the keyboard alone gets through the dialog.
  btnOk_->setAutoDefault(true);
  btnCancel_->setAutoDefault(true);

  auto* grid = new QGridLayout(gbSetNewPassword_);
  grid->addWidget(lblEnterNewPassword_, 0, 0);
  grid->addWidget(edtPassword_, 0, 1);
  grid->addWidget(lblRetypeNewPassword_, 1, 0);
  grid->addWidget(edtPasswordRetype_, 1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(gbSetNewPassword_);
  layout->addLayout(buttons.row);

  edtPassword_->installEventFilter(this);
  edtPasswordRetype_->installEventFilter(this);
  connect(edtPassword_, &QLineEdit::textChanged, this, &TfrmNewPassword::edtPasswordChange);
  connect(edtPasswordRetype_, &QLineEdit::textChanged, this, &TfrmNewPassword::edtPasswordChange);
  connect(btnOk_, &QPushButton::clicked, this, &TfrmNewPassword::btnOkClick);
}

QString TfrmNewPassword::NewPassword() const { return edtPassword_->text(); }

void TfrmNewPassword::edtPasswordChange() {
  const qsizetype length = edtPassword_->text().size();
  btnOk_->setEnabled(length == edtPasswordRetype_->text().size() &&
                     (length == 0 || length >= kShortestPassword));
}

void TfrmNewPassword::btnOkClick() {
  if (edtPassword_->text() != edtPasswordRetype_->text()) {
    prompter_.ShowMessage(MessageKind::kInformation, strings_.Text(msg::kPasswordsDoNotMatch),
                          MessageButtons::kOk);
    return;
  }
  if (edtPassword_->text().isEmpty() &&
      prompter_.ShowMessage(MessageKind::kConfirmation, strings_.Text(msg::kDeletePasswordQuestion),
                            MessageButtons::kYesNo) != MessageButton::kYes) {
    return;
  }
  accept();
}

void TfrmNewPassword::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(this);
  edtPassword_->clear();
  edtPasswordRetype_->clear();
  edtPassword_->setFocus();
  btnOk_->setEnabled(true);
}

bool TfrmNewPassword::eventFilter(QObject* watched, QEvent* event) {
  if (!IsEnter(event)) return QDialog::eventFilter(watched, event);
  // Enter never reaches the box or the dialog: it only moves the focus on.
  if (watched == edtPassword_) {
    edtPasswordRetype_->setFocus();
  } else if (watched == edtPasswordRetype_ && btnOk_->isEnabled()) {
    btnOk_->setFocus();
  }
  return true;
}

}  // namespace vyn::ui
