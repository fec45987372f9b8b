#include "ui/editor/pages/sequences_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <string>

namespace vyn::ui {

SequencesPage::SequencesPage(const EditorPageContext& context, QWidget* parent)
    : EditorPage("tbshtSequences", 13102, context, parent) {
  // The sequence each alarm type group calls.
  auto* groups = Make<QGroupBox>("gbxSequenceForAlarmTypeGroups");
  auto* group_rows = new QGridLayout(groups);
  static constexpr const char* kGroups[] = {
      "UserAlarms",     "ExternalAlarms", "PowerAlarms",    "SmokeDetectorAlarm",
      "AssaultAlarms",  "PresenceAlarms", "TestAlarm",      "EmergencyAlarm",
      "AssistanceAlarm", "UserDefinedAlarm"};
  int row = 0;
  for (const char* stem : kGroups) {
    group_rows->addWidget(Make(std::string("lbl") + stem), row, 0);
    group_rows->addWidget(Make(std::string("cbbx") + stem), row, 1);
    ++row;
  }
  group_rows->setColumnStretch(1, 1);

  // The four sequences side by side, their steps from top to bottom.
  auto* definitions = Make<QGroupBox>("gbxSequenceDefinitions");
  auto* sequences = new QHBoxLayout(definitions);
  for (int s = 1; s <= 4; ++s) {
    auto* sequence = Make<QGroupBox>("gbxSequence" + std::to_string(s));
    auto* steps = new QVBoxLayout(sequence);
    for (int t = 1; t <= 4; ++t)
      steps->addWidget(Make("cbbxSequence" + std::to_string(s) + "_" + std::to_string(t)));
    sequences->addWidget(sequence);
  }

  // The repetitions with their up-down arrows.
  auto* cycles = Make<QGroupBox>("gbxCycles");
  auto* cycle_rows = new QGridLayout(cycles);
  row = 0;
  for (const char* stem : {"RepeatSequence", "MaxNoCallAttempts"}) {
    auto* box = Make<QLineEdit>(std::string("edt") + stem);
    box->setFixedWidth(48);
    auto* number = new QHBoxLayout;
    number->setSpacing(0);
    number->addWidget(box);
    number->addWidget(Make(std::string("ud") + stem));
    number->addStretch(1);
    cycle_rows->addWidget(Make(std::string("lbl") + stem), row, 0);
    cycle_rows->addLayout(number, row, 1);
    ++row;
  }
  cycle_rows->setColumnStretch(1, 1);

  auto* right = new QVBoxLayout;
  right->addWidget(definitions);
  right->addWidget(cycles);
  right->addStretch(1);
  auto* left = new QVBoxLayout;
  left->addWidget(groups);
  left->addStretch(1);
  auto* page = new QHBoxLayout(this);
  page->addLayout(left, 1);
  page->addLayout(right, 1);
}

}  // namespace vyn::ui
