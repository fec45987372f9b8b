// Renders the main window, the password prompt, the dialogs, two message boxes, the open dialog
// and every editor page at the access levels 2, 4 and 6 into PNG files, each below the title bar
// a window manager would draw, on Qt's offscreen platform, so the windows can be looked at
// without a display. The program runs against a temporary home (nothing of the user's is touched)
// and without a Zix.
//
//   vyn-screenshots FOLDER

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "core/session/session.h"
#include "core/strings/message_ids.h"
#include "core/strings/string_table.h"
#include "platform/steady_clock.h"
#include "platform/xdg_folders.h"
#include "platform/zix_port_factory.h"
#include "ui/access/frm_change_passwords.h"
#include "ui/access/frm_new_password.h"
#include "ui/access/frm_password.h"
#include "ui/app/dialog_parts.h"
#include "ui/app/frm_about.h"
#include "ui/app/frm_main.h"
#include "ui/app/programmer_windows.h"
#include "ui/app/qt_prompter.h"
#include "ui/editor/frm_enter_data.h"
#include "ui/image/frm_select_directory.h"
#include "ui/image/frm_view_default.h"
#include "ui/server/frm_load.h"

namespace {

// Answers every box with its first button and prints it, so a message shows up in the log
// instead of blocking the run.
class LoggingPrompter : public vyn::Prompter {
 public:
  vyn::MessageButton ShowMessage(vyn::MessageKind, const std::string& text,
                                 vyn::MessageButtons buttons) override {
    std::fprintf(stderr, "vyn-screenshots: message: %s\n", text.c_str());
    return buttons == vyn::MessageButtons::kYesNo || buttons == vyn::MessageButtons::kYesNoCancel
               ? vyn::MessageButton::kYes
               : vyn::MessageButton::kOk;
  }
  void SetStatus(const std::string&) override {}
};

// The window as a window manager shows it: below a title bar with the manager's icon on the
// left and three buttons on the right, the title centred between them and cut in the middle
// where the window is too narrow for it (as much room as desktop_conventions.h reckons with).
QImage WithTitleBar(QWidget& window) {
  const QPixmap content = window.grab();
  QFont font = QApplication::font("QMdiSubWindowTitleBar");
  font.setBold(true);
  const QFontMetrics metrics(font);
  const int bar = metrics.height() + 8;
  const int side = 4 * metrics.height();
  QImage image(content.width(), content.height() + bar, QImage::Format_RGB32);
  image.fill(QColor(0x4a, 0x6e, 0xa0));
  QPainter painter(&image);
  painter.drawPixmap(0, bar, content);
  painter.setPen(Qt::white);
  const int box = bar - 10;
  painter.drawRect(5, 5, box, box);
  for (int i = 1; i <= 3; ++i) painter.drawRect(content.width() - i * (box + 6), 5, box, box);
  painter.setFont(font);
  const QRect text(side, 0, std::max(0, content.width() - 2 * side), bar);
  painter.drawText(text, Qt::AlignCenter,
                   metrics.elidedText(window.windowTitle(), Qt::ElideMiddle, text.width()));
  return image;
}

bool SaveImage(const QImage& image, const QDir& folder, const QString& name) {
  const QString path = folder.filePath(name + ".png");
  if (!image.save(path)) {
    std::fprintf(stderr, "vyn-screenshots: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

bool Save(QWidget& widget, const QDir& folder, const QString& name) {
  widget.show();
  QApplication::processEvents();
  return SaveImage(WithTitleBar(widget), folder, name);
}

// Shows a message box through the program's own prompter and saves it while it is open.
bool SaveBox(QWidget* parent, const vyn::StringTable& strings, vyn::MessageKind kind,
             const std::string& text, vyn::MessageButtons buttons, const QDir& folder,
             const QString& name) {
  bool ok = false;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return;
    ok = SaveImage(WithTitleBar(*box), folder, name);
    box->close();
  });
  vyn::ui::QtPrompter(parent, nullptr, strings).ShowMessage(kind, text, buttons);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: vyn-screenshots FOLDER\n");
    return 2;
  }
  QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(".")) {
    std::fprintf(stderr, "vyn-screenshots: cannot create %s\n", argv[1]);
    return 1;
  }
  QTemporaryDir home;
  if (!home.isValid()) return 1;

  const vyn::StringTable& strings = vyn::StringTable::Builtin();
  vyn::Session session;
  vyn::SteadyClock clock;
  LoggingPrompter prompter;
  vyn::ui::ProgrammerSetup setup;
  setup.environment.data_folder = home.filePath("data").toStdString();
  setup.environment.documents_folder = home.filePath("Documents").toStdString();
  QDir().mkpath(home.filePath("data"));
  QDir().mkpath(home.filePath("Documents"));
  setup.environment.executable_folder = vyn::ExecutableFolder();
  setup.environment.install_folder = vyn::InstallationFolder(vyn::ExecutableFolder());
  // No Zix: the port is never opened while rendering.
  setup.port = vyn::MakeZixPort(home.filePath("no-zix").toStdString());
  setup.clock = &clock;
  setup.prompter = &prompter;
  vyn::ui::ProgrammerWindows windows(strings, session, std::move(setup));

  bool ok = Save(windows.main(), folder, "main");
  windows.main().hide();
  ok = Save(windows.password(), folder, "password") && ok;
  windows.password().hide();
  const std::pair<QWidget*, const char*> dialogs[] = {
      {&windows.changePasswords(), "change-passwords"},
      {&windows.newPassword(), "new-password"},
      {&windows.about(), "about"},
      {&windows.viewDefault(), "change-default"},
      {&windows.selectDirectory(), "select-directory"},
      {&windows.load(), "server-exchange"},
  };
  for (const auto& [dialog, name] : dialogs) {
    ok = Save(*dialog, folder, name) && ok;
    dialog->hide();
  }

  // The exchange dialog while it fetches the image.
  windows.load().show();
  windows.load().ShowStatus(strings.Text(10032) + " 49 % \t\t(Timeout: 297 s)");
  ok = Save(windows.load(), folder, "server-exchange-running") && ok;
  windows.load().hide();

  // The boxes and the file dialog in Qt's German, with the program's own Cancel text.
  vyn::ui::TfrmEnterData& editor = windows.editor();
  ok = SaveBox(&editor, strings, vyn::MessageKind::kInformation,
               strings.Text(vyn::msg::kSaveBeforeExitQuestion), vyn::MessageButtons::kYesNoCancel,
               folder, "box-save-before-exit") &&
       ok;
  const std::string list = windows.main().folders().ProgramDataFolder + "Default.txt";
  ok = SaveBox(&editor, strings, vyn::MessageKind::kInformation,
               strings.Text(vyn::msg::kTextFileCreated) + vyn::ui::UnbrokenPath(list),
               vyn::MessageButtons::kOk, folder, "box-text-list") &&
       ok;
  QFileDialog open_dialog(&editor, QString::fromStdString(strings.Text(13802)),
                          QString::fromStdString(windows.main().folders().DefaultDirectory));
  open_dialog.setNameFilter(QString::fromStdString(strings.Text(15018)) + " (*.Rodid)");
  ok = Save(open_dialog, folder, "file-open") && ok;
  open_dialog.hide();

  for (const int level : {2, 4, 6}) {
    editor.ApplyAccessLevel(level);
    editor.mnuFileNewClick();
    editor.show();
    QTabWidget* tabs = editor.pages();
    for (int i = 0; i < tabs->count(); ++i) {
      if (!tabs->isTabVisible(i)) continue;
      tabs->setCurrentIndex(i);
      const QString name = QString("editor-level%1-%2-%3")
                               .arg(level)
                               .arg(i + 1, 2, 10, QChar('0'))
                               .arg(tabs->widget(i)->objectName());
      ok = Save(editor, folder, name) && ok;
    }
    editor.hide();
  }

  // The print command's preview of the printed record, closed without printing.
  editor.show();
  QTimer::singleShot(0, &editor, [&] {
    if (QWidget* preview = QApplication::activeModalWidget()) {
      preview->resize(900, 1000);
      ok = Save(*preview, folder, "print-preview") && ok;
      preview->close();
    }
  });
  editor.mnuFilePrintClick();
  editor.hide();
  return ok ? 0 : 1;
}
