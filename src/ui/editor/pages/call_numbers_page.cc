#include "ui/editor/pages/call_numbers_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/editor/form/call_numbers.h"

namespace vyn::ui {

CallNumbersPage::CallNumbersPage(const EditorPageContext& context, QWidget* parent)
    : EditorPage("tbshtCallNumbers", 13103, context, parent) {
  // Each call row is a line of captions over a line of boxes; the number column shows either
  // the whole number or its two parts, as the row's protocol decides.
  enum Column { kNumber, kAlarmCode, kProtocol, kAttempts, kCallBack, kAccount };
  auto* group = Make<QGroupBox>("gbxCallInformation");
  auto* grid = new QGridLayout(group);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(2);
  for (int i = 0; i < kCallRows; ++i) {
    const CallRowNames names = CallRow(i);
    const int captions = 3 * i;
    const int boxes = captions + 1;
    auto* number_caption = new QHBoxLayout;
    number_caption->setSpacing(6);
    number_caption->addWidget(Make(names.number_label));
    number_caption->addWidget(Make(names.description));
    number_caption->addStretch(1);
    grid->addLayout(number_caption, captions, kNumber);
    auto* number = new QHBoxLayout;
    number->setSpacing(6);
    number->addWidget(Make(names.number), 2);
    number->addWidget(Make(names.part1), 1);
    number->addWidget(Make(names.part2), 1);
    grid->addLayout(number, boxes, kNumber);

    grid->addWidget(Make(names.alarm_code_label), captions, kAlarmCode);
    auto* code = Make<QLineEdit>(names.alarm_code);
    code->setMinimumWidth(130);
    grid->addWidget(code, boxes, kAlarmCode);
    grid->addWidget(Make(names.protocol_label), captions, kProtocol);
    grid->addWidget(Make(names.protocol), boxes, kProtocol);
    grid->addWidget(Make(names.attempts_label), captions, kAttempts);
    auto* attempts = new QHBoxLayout;
    attempts->setSpacing(0);
    auto* attempts_box = Make<QLineEdit>(names.attempts);
    attempts_box->setFixedWidth(44);
    attempts->addWidget(attempts_box);
    attempts->addWidget(Make(names.attempts_updown));
    attempts->addStretch(1);
    grid->addLayout(attempts, boxes, kAttempts);
    grid->addWidget(Make(names.call_back), boxes, kCallBack, Qt::AlignHCenter);
    grid->addWidget(Make(names.account_label), captions, kAccount);
    auto* account = Make(names.account);
    account->setMinimumWidth(120);
    grid->addWidget(account, boxes, kAccount);
    grid->setRowMinimumHeight(boxes + 1, 10);  // space between the call rows
  }
  grid->addWidget(Make("lblCallBack"), 0, kCallBack, Qt::AlignHCenter);
  grid->setColumnStretch(kNumber, 1);

  auto* page = new QVBoxLayout(this);
  page->addWidget(group);
  page->addStretch(1);
}

}  // namespace vyn::ui
