#pragma once

// What every window of the program shares on the desktop, whoever made the window:
// - Qt's own texts (standard buttons, file dialogs, context menus) are German, whatever the
//   user's locale, from Qt's translation "qtbase_de" of the system's Qt installation;
// - Enter on a focused push button presses it, as Space does;
// - a window is at least as wide as its title needs in a window manager's title bar, so no
//   title is cut.

#include <QString>
#include <QWidget>

namespace vyn::ui {

// Installs the above into the running application once; later calls do nothing. A missing
// translation file leaves Qt's English texts and is no error.
void InstallDesktopConventions();

// Whether Qt's German translation was found and installed.
bool QtGermanTranslationInstalled();

// The width a window needs for `title` to show whole in a title bar with the window manager's
// icon and buttons beside it, at the default font.
int TitleBarWidth(const QString& title);

}  // namespace vyn::ui
