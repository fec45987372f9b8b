#pragma once

// The About box of the editor's Help menu: the program's version lines, the Zix's firmware
// version and the installer's about.ini lines, gathered afresh each time it is shown.

#include <QDialog>

#include <functional>
#include <string>
#include <utility>

#include "core/strings/string_table.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vyn::ui {

class TfrmAbout : public QDialog {
  Q_OBJECT

 public:
  // `read_zix_version` opens the programming unit, reads its 11-character firmware version
  // and closes it again; "" when the unit does not answer.
  TfrmAbout(const StringTable& strings, std::function<std::string()> read_zix_version,
            QWidget* parent = nullptr);

  // The information file read when the box is shown; relative paths are taken from the
  // current working directory.
  void SetAboutIniPath(std::string path) { about_ini_path_ = std::move(path); }
  const std::string& AboutIniPath() const { return about_ini_path_; }

 protected:
  // FormShow: centred over the window that opened it, then the memo and the Zix line are
  // filled.
  void showEvent(QShowEvent* event) override;

 private:
  const StringTable& strings_;
  std::function<std::string()> read_zix_version_;
  std::string about_ini_path_ = "about.ini";
  QPlainTextEdit* mmoInfo_;
  QLabel* lblZixVersion_;
  QPushButton* btnOK_;
};

}  // namespace vyn::ui
