#pragma once

// The desktop's file dialogs for the file commands.

#include <QPointer>
#include <QWidget>

#include "core/editor/file_commands.h"

namespace vyn::ui {

class QtFileChooser : public FileChooser {
 public:
  explicit QtFileChooser(QWidget* parent) : parent_(parent) {}

  std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace vyn::ui
