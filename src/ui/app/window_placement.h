#pragma once

// Where windows open: centred on the screen (left = (screen width - window width) / 2 as an
// integer, top likewise) or over another window.

#include <QWidget>

namespace vyn::ui {

void CentreOnScreen(QWidget* window);
// Centred over `over`; on the screen when `over` is null or not shown.
void CentreOver(QWidget* window, const QWidget* over);

}  // namespace vyn::ui
