#include "ui/app/window_placement.h"

#include <QGuiApplication>
#include <QScreen>

namespace vyn::ui {

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  const QSize size = window->frameGeometry().size();
  window->move(area.left() + (area.width() - size.width()) / 2,
               area.top() + (area.height() - size.height()) / 2);
}

void CentreOver(QWidget* window, const QWidget* over) {
  if (!over || !over->isVisible()) {
    CentreOnScreen(window);
    return;
  }
  const QRect frame = over->frameGeometry();
  const QSize size = window->frameGeometry().size();
  window->move(frame.left() + (frame.width() - size.width()) / 2,
               frame.top() + (frame.height() - size.height()) / 2);
}

}  // namespace vyn::ui
