#pragma once

// The new-password dialog of the password change: the new text twice, OK only while both
// boxes agree in length and the length is 0 or at least 4. Only printable ASCII reaches the
// boxes, typed or pasted; Enter moves on to the next control instead of closing.

#include <QDialog>
#include <QString>

#include "core/session/prompter.h"
#include "core/strings/string_table.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vyn::ui {

class TfrmNewPassword : public QDialog {
  Q_OBJECT

 public:
  TfrmNewPassword(const StringTable& strings, Prompter& prompter, QWidget* parent = nullptr);

  QString NewPassword() const;

 public slots:
  void edtPasswordChange();
  void btnOkClick();

 protected:
  // FormShow: centred on the screen, both boxes empty, focus in edtPassword, btnOk enabled.
  void showEvent(QShowEvent* event) override;
  // edtPasswordKeyPress and edtPasswordRetypeKeyPress: Enter moves the focus.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const StringTable& strings_;
  Prompter& prompter_;
  QGroupBox* gbSetNewPassword_;
  QLabel* lblEnterNewPassword_;
  QLabel* lblRetypeNewPassword_;
  QLineEdit* edtPassword_;
  QLineEdit* edtPasswordRetype_;
  QPushButton* btnOk_;
  QPushButton* btnCancel_;
};

}  // namespace vyn::ui
