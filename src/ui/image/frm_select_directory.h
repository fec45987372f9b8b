#pragma once

// The select-default-directory dialog: the folder in a box, a Browse button that opens the
// system's folder selection. The caller takes Directory() when the dialog closes with OK.

#include <QDialog>
#include <QString>

#include <functional>

#include "core/strings/string_table.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vyn::ui {

class TfrmSelectDirectory : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmSelectDirectory(const StringTable& strings, QWidget* parent = nullptr);

  void SetDirectory(const QString& directory);
  // The box's text without a trailing separator ("/" stays "/").
  QString Directory() const;

  // The system's folder selection: returns the chosen folder, "" when cancelled. Tests
  // replace it.
  std::function<QString(const QString& title, const QString& start)> choose_folder;

 public slots:
  void btnBrowseClick();

 protected:
  // FormShow: centred over the window that opened it.
  void showEvent(QShowEvent* event) override;

 private:
  const StringTable& strings_;
  QGroupBox* gbxActiveConfigDirectory_;
  QLabel* lblDirectoryInfo_;
  QLineEdit* edtActiveConfigDirectory_;
  QPushButton* btnBrowse_;
  QPushButton* btnOK_;
  QPushButton* btnCancel_;
};

}  // namespace vyn::ui
