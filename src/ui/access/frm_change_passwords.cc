#include "ui/access/frm_change_passwords.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>
#include <utility>

#include "core/strings/message_ids.h"
#include "ui/access/frm_new_password.h"
#include "ui/app/dialog_parts.h"
#include "ui/app/window_placement.h"

namespace vyn::ui {

namespace {

constexpr int kCaption = 13761;
constexpr int kGroup = 13762;
constexpr int kChange = 13769;

// One row per user slot: what the level allows, a second line (absent in some editions) and
// the Change button.
struct SlotRow {
  int slot;
  int info;
  int info_b;
};
constexpr SlotRow kRows[] = {{2, 13763, 13764}, {3, 13765, 13766}, {5, 13767, 13768}};

QLabel* MakeLabel(const QString& text, const QString& object_name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(object_name);
  label->setWordWrap(true);
  return label;
}

}  // namespace

TfrmChangePasswords::TfrmChangePasswords(const StringTable& strings, Prompter& prompter,
                                         TfrmNewPassword& new_password, PasswordStore store,
                                         QWidget* parent)
    : QDialog(parent),
      run_new_password([this] { return new_password_.exec(); }),
      strings_(strings),
      prompter_(prompter),
      new_password_(new_password),
      store_(std::move(store)) {
  setObjectName("frmChangePasswords");
  setWindowTitle(UiText(strings, kCaption));

  gbChangePasswords_ = new QGroupBox(UiText(strings, kGroup), this);
  gbChangePasswords_->setObjectName("gbChangePasswords");
  auto* grid = new QGridLayout(gbChangePasswords_);
  int row = 0;
  for (const SlotRow& r : kRows) {
    const QString number = QString::number(r.slot);
    grid->addWidget(MakeLabel(UiText(strings, r.info), "lblInfoPass" + number, this), row, 0);
    grid->addWidget(MakeLabel(UiText(strings, r.info_b), "lblInfoPass" + number + "b", this),
                    row + 1, 0);
    auto* button = new QPushButton(UiText(strings, kChange), gbChangePasswords_);
    button->setObjectName("btnChangePass" + number);
    button->setAutoDefault(false);
    grid->addWidget(button, row, 1);
    const int slot = r.slot;
    connect(button, &QPushButton::clicked, this, [this, slot] { btnChangePassClick(slot); });
    row += 2;
  }

  btnOk_ = MakeOkButton("btnOk", this);
  connect(btnOk_, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOk_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(gbChangePasswords_);
  layout->addLayout(buttons);
}

void TfrmChangePasswords::btnChangePassClick(int slot) {
  if (run_new_password() != QDialog::Accepted) return;
  const std::string text = new_password_.NewPassword().toStdString();
  if (store_.UsedByOtherSlot(text, slot) &&
      prompter_.ShowMessage(MessageKind::kConfirmation,
                            strings_.Text(msg::kPasswordAlreadyUsedQuestion),
                            MessageButtons::kYesNo) != MessageButton::kYes) {
    return;
  }
  if (!store_.WriteSlot(slot, text)) emit passwordWriteFailed(slot);
}

void TfrmChangePasswords::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOver(this, parentWidget());
}

}  // namespace vyn::ui
