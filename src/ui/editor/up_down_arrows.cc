#include "ui/editor/up_down_arrows.h"

#include <QLineEdit>

namespace vyn::ui {

UpDownArrows::UpDownArrows(QWidget* parent) : QAbstractSpinBox(parent) {
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  // Only the arrows show; the number is in the edit box beside them.
  lineEdit()->setReadOnly(true);
  setFocusPolicy(Qt::NoFocus);
  setFixedWidth(20);
}

}  // namespace vyn::ui
