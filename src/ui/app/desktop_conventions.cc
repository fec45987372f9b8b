#include "ui/app/desktop_conventions.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QTranslator>

namespace vyn::ui {

namespace {

constexpr char kTranslatorName[] = "qtGermanTranslation";
constexpr char kFilterName[] = "desktopConventions";
constexpr char kWidenedForTitle[] = "vynWidenedForTitle";

class DesktopConventions : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress)
      return PressFocusedButton(watched, *static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::Show) WidenForTitle(watched);
    return false;
  }

 private:
  // Qt presses a focused button on Enter only where it is a dialog's default candidate; users
  // expect it of every button.
  static bool PressFocusedButton(QObject* watched, const QKeyEvent& key) {
    auto* button = qobject_cast<QPushButton*>(watched);
    if (!button || !button->hasFocus() || !button->isEnabled()) return false;
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) return false;
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    // A held key presses once.
    if (!key.isAutoRepeat()) button->click();
    return true;
  }

  static void WidenForTitle(QObject* watched) {
    auto* window = qobject_cast<QWidget*>(watched);
    if (!window || !window->isWindow()) return;
    if (window->windowType() != Qt::Window && window->windowType() != Qt::Dialog) return;
    if (window->windowTitle().isEmpty()) return;
    const int needed = TitleBarWidth(window->windowTitle());
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
      // A message box fixes its size from its layout's minimum while it is shown: a strut in
      // its first row makes that minimum wide enough, and the text still wraps as it would.
      auto* grid = qobject_cast<QGridLayout*>(box->layout());
      if (!grid || box->property(kWidenedForTitle).toBool()) return;
      const QMargins margins = grid->contentsMargins();
      grid->addItem(new QSpacerItem(needed - margins.left() - margins.right(), 0,
                                    QSizePolicy::Fixed, QSizePolicy::Minimum),
                    0, 0, 1, grid->columnCount());
      box->setProperty(kWidenedForTitle, true);
      return;
    }
    if (window->minimumWidth() < needed) window->setMinimumWidth(needed);
  }
};

bool InstallQtGermanTranslation() {
  auto* translator = new QTranslator(qApp);
  translator->setObjectName(kTranslatorName);
  if (!translator->load(QStringLiteral("qtbase_de"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}

}  // namespace

void InstallDesktopConventions() {
  if (!qApp || qApp->findChild<QObject*>(kFilterName, Qt::FindDirectChildrenOnly)) return;
  InstallQtGermanTranslation();
  auto* conventions = new DesktopConventions(qApp);
  conventions->setObjectName(kFilterName);
  qApp->installEventFilter(conventions);
}

bool QtGermanTranslationInstalled() {
  return qApp && qApp->findChild<QTranslator*>(kTranslatorName, Qt::FindDirectChildrenOnly);
}

int TitleBarWidth(const QString& title) {
  QFont font = QApplication::font("QMdiSubWindowTitleBar");
  font.setBold(true);
  const QFontMetrics metrics(font);
  // The window manager's icon on one side and three buttons on the other; a centred title
  // needs the wider side on both, and a little room of its own.
  return metrics.horizontalAdvance(title) + 8 * metrics.height() + 2 * metrics.averageCharWidth();
}

}  // namespace vyn::ui
