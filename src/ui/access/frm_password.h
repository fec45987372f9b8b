#pragma once

// The password prompt shown before the detailed editor opens: one hidden-text box, OK and
// Cancel. The caller looks the entered text up in the password store.

#include <QDialog>
#include <QString>

#include "core/strings/string_table.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vyn::ui {

class TfrmPassword : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmPassword(const StringTable& strings, QWidget* parent = nullptr);

  // Empties the box before the prompt is shown again.
  void Reset();
  QString EnteredPassword() const;

 public slots:
  void btnOKClick();

 protected:
  // FormShow: centred on the screen, the box has the focus.
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* lblEnterPassword_;
  QLineEdit* edtPassword_;
  QPushButton* btnOK_;
  QPushButton* btnCancel_;
};

}  // namespace vyn::ui
