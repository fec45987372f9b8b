#include "ui/access/frm_password.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/app/dialog_parts.h"
#include "ui/app/window_placement.h"

namespace vyn::ui {

namespace {
constexpr int kCaption = 10011;
constexpr int kEnterPassword = 10012;
constexpr int kMaxPasswordLength = 32;
}  // namespace

TfrmPassword::TfrmPassword(const StringTable& strings, QWidget* parent) : QDialog(parent) {
  setObjectName("frmPassword");
  setWindowTitle(UiText(strings, kCaption));

  lblEnterPassword_ = new QLabel(UiText(strings, kEnterPassword), this);
  lblEnterPassword_->setObjectName("lblEnterPassword");
  edtPassword_ = new QLineEdit(this);
  edtPassword_->setObjectName("edtPassword");
  edtPassword_->setMaxLength(kMaxPasswordLength);
  edtPassword_->setEchoMode(QLineEdit::Password);
  const OkCancelRow buttons = MakeOkCancelRow(strings, "btnOK", this);
  btnOK_ = buttons.ok;
  btnCancel_ = buttons.cancel;

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblEnterPassword_);
  layout->addWidget(edtPassword_);
  layout->addLayout(buttons.row);

  connect(btnOK_, &QPushButton::clicked, this, &TfrmPassword::btnOKClick);
  // edtPasswordKeyPress: Enter closes with OK. The buttons are not default buttons, so the
  // dialog does not accept a second time.
  connect(edtPassword_, &QLineEdit::returnPressed, this, &TfrmPassword::btnOKClick);
}

void TfrmPassword::Reset() { edtPassword_->clear(); }

QString TfrmPassword::EnteredPassword() const { return edtPassword_->text(); }

void TfrmPassword::btnOKClick() { accept(); }

void TfrmPassword::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(this);
  edtPassword_->setFocus();
}

}  // namespace vyn::ui
