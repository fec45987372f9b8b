#include "ui/image/frm_select_directory.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/files/path_text.h"
#include "ui/app/dialog_parts.h"
#include "ui/app/window_placement.h"

namespace vyn::ui {

namespace {

constexpr int kCaption = 13741;
constexpr int kGroup = 13742;
constexpr int kDirectoryInfo = 13743;
constexpr int kBrowse = 14005;
constexpr int kBrowseTitle = 15037;

QString WithoutTrailingSeparator(const QString& directory) {
  return QString::fromStdString(vyn::WithoutTrailingSeparator(directory.toStdString()));
}

}  // namespace

TfrmSelectDirectory::TfrmSelectDirectory(const StringTable& strings, QWidget* parent)
    : QDialog(parent),
      choose_folder([this](const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(this, title, start);
      }),
      strings_(strings) {
  setObjectName("frmSelectDirectory");
  setWindowTitle(UiText(strings, kCaption));

  gbxActiveConfigDirectory_ = new QGroupBox(UiText(strings, kGroup), this);
  gbxActiveConfigDirectory_->setObjectName("gbxActiveConfigDirectory");
  lblDirectoryInfo_ = MakeGroupInfoLabel(UiText(strings, kDirectoryInfo), "lblDirectoryInfo",
                                         gbxActiveConfigDirectory_);
  edtActiveConfigDirectory_ = new QLineEdit(gbxActiveConfigDirectory_);
  edtActiveConfigDirectory_->setObjectName("edtActiveConfigDirectory");
  btnBrowse_ = new QPushButton(UiText(strings, kBrowse), gbxActiveConfigDirectory_);
  btnBrowse_->setObjectName("btnBrowse");
  btnBrowse_->setAutoDefault(false);
  connect(btnBrowse_, &QPushButton::clicked, this, &TfrmSelectDirectory::btnBrowseClick);
  auto* folder = new QHBoxLayout;
  folder->addWidget(edtActiveConfigDirectory_, 1);
  folder->addWidget(btnBrowse_);
  auto* group = new QVBoxLayout(gbxActiveConfigDirectory_);
  group->addWidget(lblDirectoryInfo_);
  group->addLayout(folder);

  const OkCancelRow buttons = LayOutGroupDialog(strings, gbxActiveConfigDirectory_, this);
  btnOK_ = buttons.ok;
  btnCancel_ = buttons.cancel;
  setMinimumWidth(450);
}

void TfrmSelectDirectory::SetDirectory(const QString& directory) {
  edtActiveConfigDirectory_->setText(WithoutTrailingSeparator(directory));
}

QString TfrmSelectDirectory::Directory() const {
  return WithoutTrailingSeparator(edtActiveConfigDirectory_->text());
}

void TfrmSelectDirectory::btnBrowseClick() {
  const QString chosen = choose_folder(UiText(strings_, kBrowseTitle), Directory());
  if (!chosen.isEmpty()) SetDirectory(chosen);
}

void TfrmSelectDirectory::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FitInfoLabelToGroup(lblDirectoryInfo_, gbxActiveConfigDirectory_);
  CentreOver(this, parentWidget());
}

}  // namespace vyn::ui
