#pragma once

// The password change dialog of the editor's Tools menu: one Change button for each of the
// user slots 2, 3 and 5. Each asks for the new text in TfrmNewPassword, asks before storing a
// text that another slot already holds, and writes the slot of the password store.

#include <QDialog>

#include <functional>

#include "core/access/password_store.h"
#include "core/session/prompter.h"
#include "core/strings/string_table.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace vyn::ui {

class TfrmNewPassword;

class TfrmChangePasswords : public QDialog {
  Q_OBJECT

 public:
  TfrmChangePasswords(const StringTable& strings, Prompter& prompter, TfrmNewPassword& new_password,
                      PasswordStore store, QWidget* parent = nullptr);

  // Shows the new-password dialog modally and returns its result (QDialog::Accepted or
  // Rejected); tests replace it to script the dialog.
  std::function<int()> run_new_password;

 public slots:
  // The handler of btnChangePass2, btnChangePass3 and btnChangePass5 with their slot.
  void btnChangePassClick(int slot);

 signals:
  // The store file could not be written; the slot keeps its old password. No string of the
  // table reports this, so the dialog itself stays silent.
  void passwordWriteFailed(int slot);

 protected:
  // FormShow: centred over the window that opened it.
  void showEvent(QShowEvent* event) override;

 private:
  const StringTable& strings_;
  Prompter& prompter_;
  TfrmNewPassword& new_password_;
  PasswordStore store_;
  QGroupBox* gbChangePasswords_;
  QPushButton* btnOk_;
};

}  // namespace vyn::ui
