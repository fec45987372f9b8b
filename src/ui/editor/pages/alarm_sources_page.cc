#include "ui/editor/pages/alarm_sources_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

namespace vyn::ui {
AlarmSourcesPage::AlarmSourcesPage(const EditorPageContext& context, QWidget* parent)
    : EditorPage("tbshtAlarmSources", 13101, context, parent) {
  // Transmitters: one row per position, the supervision boxes under their "Test" heading and
  // the location codes (UK edition) at the end.
  auto* radio = Make<QGroupBox>("gbxRadioAlarms");
  auto* rows = new QGridLayout(radio);
  rows->setHorizontalSpacing(6);
  rows->addWidget(Make("lblRadioTestAlarm"), 0, 6, Qt::AlignHCenter);
  for (int n = 1; n <= 8; ++n) {
    const std::string x = std::to_string(n);
    auto* code = Make<QLineEdit>("edtRadioPos" + x);
    code->setFixedWidth(52);
    auto* receive = Make<QPushButton>("btnReceive" + x);
    receive->setFixedWidth(30);
    auto* location = Make<QLineEdit>("edtLocationCode" + x);
    location->setFixedWidth(44);
    rows->addWidget(Make("lblRadioPos" + x), n, 0);
    rows->addWidget(code, n, 1);
    rows->addWidget(receive, n, 2);
    rows->addWidget(Make("bbtnInfoRadioPos" + x), n, 3);
    rows->addWidget(Make("lblAlarmTypePos" + x), n, 4);
    rows->addWidget(Make("cbbxAlarmTypePos" + x), n, 5);
    rows->addWidget(Make("cbTestRadioPos" + x), n, 6, Qt::AlignHCenter);
    rows->addWidget(Make("lblLocationPos" + x), n, 7);
    rows->addWidget(location, n, 8);
  }
  rows->setColumnMinimumWidth(4, 8);
  rows->setColumnStretch(5, 1);
  rows->setRowStretch(9, 1);

  // The alarm source boxes, one column per group.
  auto boxes = [this](const char* group_name, std::initializer_list<const char*> names) {
    auto* group = Make<QGroupBox>(group_name);
    auto* column = new QVBoxLayout(group);
    for (const char* name : names) column->addWidget(Make(name));
    column->addStretch(1);
    return group;
  };
  auto* internal = boxes("gbxInternal", {"cbTestAlarm", "cbMainsFailure", "cbMainsOK",
                                         "cbAccumulator", "cbRadioInterference",
                                         "cbRadioOutOfRange", "cbRadioWithinRange",
                                         "cbEmergencyAlarm", "cbRoamingAlarm",
                                         "cbNetworkFailureAlarm", "cbNetworkReturnAlarm"});
  auto* additional =
      boxes("gbxAdditional", {"cbReminder", "cbPassive", "cbAssistance", "cbLogCall",
                              "cbAutoReady", "cbInactivity", "cbCarpetAlarm", "cbAssaultAlarm"});

  auto* buttons = Make<QGroupBox>("gbxButtons");
  auto* button_rows = new QGridLayout(buttons);
  button_rows->addWidget(Make("cbFrontButton"), 0, 0, 1, 2);
  button_rows->addWidget(Make("lblExtraButtonAlarmType"), 1, 0);
  button_rows->addWidget(Make("cbbxAlarmTypeExtraButton"), 1, 1);
  button_rows->setColumnStretch(1, 1);

  auto* left = new QVBoxLayout;
  left->addWidget(radio);
  left->addWidget(buttons);
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(internal);
  right->addWidget(additional);
  right->addStretch(1);
  auto* page = new QHBoxLayout(this);
  page->addLayout(left, 3);
  page->addLayout(right, 1);
}

}  // namespace vyn::ui
