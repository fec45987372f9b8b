#include "ui/app/frm_about.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

#include "core/app/about_info.h"
#include "ui/app/dialog_parts.h"
#include "ui/app/window_placement.h"

namespace vyn::ui {

namespace {
constexpr int kCaption = 13701;
// The Zix answers its firmware version in this many characters.
constexpr qsizetype kZixVersionLength = 11;
}  // namespace

TfrmAbout::TfrmAbout(const StringTable& strings, std::function<std::string()> read_zix_version,
                     QWidget* parent)
    : QDialog(parent), strings_(strings), read_zix_version_(std::move(read_zix_version)) {
  setObjectName("frmAbout");
  setWindowTitle(UiText(strings, kCaption));

  mmoInfo_ = new QPlainTextEdit(this);
  mmoInfo_->setObjectName("mmoInfo");
  mmoInfo_->setReadOnly(true);
  lblZixVersion_ = new QLabel(this);
  lblZixVersion_->setObjectName("lblZixVersion");
  btnOK_ = MakeOkButton("btnOK", this);
  btnOK_->setDefault(true);
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lblZixVersion_);
  buttons->addStretch();
  buttons->addWidget(btnOK_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(mmoInfo_);
  layout->addLayout(buttons);
}

void TfrmAbout::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOver(this, parentWidget());
  setWindowTitle(UiText(strings_, kCaption));

  mmoInfo_->clear();
  for (const std::string& line : AboutVersionLines())
    mmoInfo_->appendPlainText(QString::fromStdString(line));

  const std::string version = read_zix_version_ ? read_zix_version_() : std::string();
  lblZixVersion_->setText(
      version.empty() ? QString()
                      : "ZIX info: " + QString::fromLatin1(version.data(),
                                                           static_cast<qsizetype>(version.size()))
                                           .left(kZixVersionLength));

  for (const std::string& line : AboutInfoFileLines(about_ini_path_))
    mmoInfo_->appendPlainText(QString::fromStdString(line));
}

}  // namespace vyn::ui
