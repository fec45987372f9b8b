#include "ui/image/frm_view_default.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/app/dialog_parts.h"
#include "ui/app/window_placement.h"

namespace vyn::ui {

namespace {
constexpr int kCaption = 13731;
constexpr int kGroup = 13732;
constexpr int kConfigInfo = 13733;
constexpr int kNoConfiguration = 13734;
}  // namespace

TfrmViewDefault::TfrmViewDefault(const StringTable& strings, QWidget* parent)
    : QDialog(parent), strings_(strings) {
  setObjectName("frmViewDefault");
  setWindowTitle(UiText(strings, kCaption));

  gbxSelectNewConfiguration_ = new QGroupBox(UiText(strings, kGroup), this);
  gbxSelectNewConfiguration_->setObjectName("gbxSelectNewConfiguration");
  lblConfigInfo_ =
      MakeGroupInfoLabel(UiText(strings, kConfigInfo), "lblConfigInfo", gbxSelectNewConfiguration_);
  cmbDefaultConfig_ = new QComboBox(gbxSelectNewConfiguration_);
  cmbDefaultConfig_->setObjectName("cmbDefaultConfig");
  auto* group = new QVBoxLayout(gbxSelectNewConfiguration_);
  group->addWidget(lblConfigInfo_);
  group->addWidget(cmbDefaultConfig_);

  const OkCancelRow buttons = LayOutGroupDialog(strings, gbxSelectNewConfiguration_, this);
  btnOK_ = buttons.ok;
  btnCancel_ = buttons.cancel;
  setMinimumWidth(400);

  SetConfigurations({});
}

void TfrmViewDefault::SetConfigurations(const std::vector<std::string>& names) {
  names_ = names;
  cmbDefaultConfig_->clear();
  if (names_.empty()) {
    cmbDefaultConfig_->addItem(UiText(strings_, kNoConfiguration));
  } else {
    for (const std::string& name : names_) cmbDefaultConfig_->addItem(QString::fromStdString(name));
  }
  cmbDefaultConfig_->setCurrentIndex(0);
}

std::string TfrmViewDefault::ChosenConfiguration() const {
  // The stored name, not the shown text, so a file name that is not valid UTF-8 is kept.
  const int index = cmbDefaultConfig_->currentIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= names_.size()) return "";
  return names_[static_cast<std::size_t>(index)];
}

void TfrmViewDefault::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FitInfoLabelToGroup(lblConfigInfo_, gbxSelectNewConfiguration_);
  CentreOver(this, parentWidget());
}

}  // namespace vyn::ui
