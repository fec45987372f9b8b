#include "ui/app/qt_file_chooser.h"

#include <QFileDialog>

namespace vyn::ui {

namespace {

std::optional<std::string> Run(QWidget* parent, const FileDialogRequest& request, bool open) {
  QFileDialog dialog(parent, QString::fromStdString(request.title),
                     QString::fromStdString(request.folder));
  dialog.setNameFilter(QString::fromStdString(request.filter_name) + " (" +
                       QString::fromStdString(request.pattern) + ")");
  dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // The save command asks about overwriting itself, with its own texts.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!open && request.proposed_name.find('*') == std::string::npos)
    dialog.selectFile(QString::fromStdString(request.proposed_name));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

}  // namespace

std::optional<std::string> QtFileChooser::ChooseFileToOpen(const FileDialogRequest& request) {
  return Run(parent_, request, true);
}

std::optional<std::string> QtFileChooser::ChooseFileToSave(const FileDialogRequest& request) {
  return Run(parent_, request, false);
}

}  // namespace vyn::ui
