#pragma once

// The arrows of an up-down control beside its edit box: they show no number of their own and
// only report the steps; the form decides what the box then holds.

#include <QAbstractSpinBox>

namespace vyn::ui {

class UpDownArrows : public QAbstractSpinBox {
  Q_OBJECT

 public:
  explicit UpDownArrows(QWidget* parent = nullptr);

  void stepBy(int steps) override { emit stepped(steps); }

 signals:
  void stepped(int steps);

 protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

}  // namespace vyn::ui
