#pragma once

// The change-default-configuration dialog: the prepared default configurations of the program
// data folder in a list, the first one chosen. The caller copies the chosen file over
// "default.bin" when the dialog closes with OK.

#include <QDialog>

#include <string>
#include <vector>

#include "core/strings/string_table.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace vyn::ui {

class TfrmViewDefault : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmViewDefault(const StringTable& strings, QWidget* parent = nullptr);

  // File names with their extension, in the order of the directory listing. An empty list
  // shows the single text "no default configuration to load" instead.
  void SetConfigurations(const std::vector<std::string>& names);
  // The chosen name exactly as given to SetConfigurations; "" while the list is empty.
  std::string ChosenConfiguration() const;

 protected:
  // FormShow: centred over the window that opened it.
  void showEvent(QShowEvent* event) override;

 private:
  const StringTable& strings_;
  std::vector<std::string> names_;
  QGroupBox* gbxSelectNewConfiguration_;
  QLabel* lblConfigInfo_;
  QComboBox* cmbDefaultConfig_;
  QPushButton* btnOK_;
  QPushButton* btnCancel_;
};

}  // namespace vyn::ui
