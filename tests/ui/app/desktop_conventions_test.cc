// What every window shares: German standard texts, titles as they stand and wide enough to be
// read whole, and Enter pressing the focused button.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "core/strings/message_ids.h"
#include "ui/access/frm_change_passwords.h"
#include "ui/access/frm_new_password.h"
#include "ui/access/frm_password.h"
#include "ui/app/desktop_conventions.h"
#include "ui/app/frm_about.h"
#include "ui/app/qt_prompter.h"
#include "ui/image/frm_select_directory.h"
#include "ui/image/frm_view_default.h"
#include "ui/support/programmer_fixture.h"

namespace vyn::testing {
namespace {

using DesktopConventionsTest = ProgrammerFixture;

// The next modal box, looked at while it is open and then closed with `answer`.
struct ShownBox {
  QString title;
  std::vector<std::string> buttons;
  int width = 0;
};
std::shared_ptr<ShownBox> AnswerNextBox(QMessageBox::StandardButton answer) {
  auto shown = std::make_shared<ShownBox>();
  QTimer::singleShot(0, [shown, answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown->title = box->windowTitle();
    shown->width = box->width();
    for (QAbstractButton* button : box->buttons())
      shown->buttons.push_back(button->text().toStdString());
    box->button(answer)->click();
  });
  return shown;
}

TEST_F(DesktopConventionsTest, QuestionBoxSpeaksGermanAndShowsItsWholeTitle) {
  Start();
  ASSERT_TRUE(ui::QtGermanTranslationInstalled());
  ui::QtPrompter prompter(&Editor(), nullptr, strings_);
  const std::shared_ptr<ShownBox> shown = AnswerNextBox(QMessageBox::Cancel);
  const MessageButton answer =
      prompter.ShowMessage(MessageKind::kInformation, strings_.Text(msg::kSaveBeforeExitQuestion),
                           MessageButtons::kYesNoCancel);
  EXPECT_EQ(answer, MessageButton::kCancel);
  std::sort(shown->buttons.begin(), shown->buttons.end());
  EXPECT_EQ(shown->buttons, (std::vector<std::string>{"&Abbruch", "&Ja", "&Nein"}));
  EXPECT_EQ(shown->title.toStdString(), "VYN IP/GSM Programmiergerät");
  EXPECT_GE(shown->width, ui::TitleBarWidth(shown->title));
}

TEST_F(DesktopConventionsTest, EveryWindowShowsItsCaptionWhole) {
  ui::ProgrammerWindows& windows = Start();
  const std::pair<QWidget*, int> windows_and_captions[] = {
      {&windows.main(), 10001},
      {&windows.password(), 10011},
      {&windows.about(), 13701},
      {&windows.viewDefault(), 13731},
      {&windows.selectDirectory(), 13741},
      {&windows.changePasswords(), 13761},
      {&windows.newPassword(), 13781},
  };
  for (const auto& [window, caption] : windows_and_captions) {
    SCOPED_TRACE(window->objectName().toStdString());
    window->show();
    EXPECT_EQ(window->windowTitle().toStdString(), strings_.Text(caption));
    EXPECT_GE(window->width(), ui::TitleBarWidth(window->windowTitle()));
    window->hide();
  }
  // The platform appends a set application display name to every title; none is set.
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

TEST_F(DesktopConventionsTest, EnterPressesTheFocusedButton) {
  ui::ProgrammerWindows& windows = Start();
  std::vector<std::string> opened;
  windows.main().run_modal = [&opened](QDialog& dialog) {
    opened.push_back(dialog.objectName().toStdString());
    return static_cast<int>(QDialog::Rejected);
  };
  windows.main().show();
  windows.main().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&windows.main()));
  auto* enter_data = windows.main().findChild<QPushButton*>("btnEnterData");
  enter_data->setFocus();
  QTest::keyClick(enter_data, Qt::Key_Return);
  EXPECT_EQ(opened, std::vector<std::string>{"frmPassword"});
  windows.main().hide();

  // In a dialog whose OK is the default button, Enter on the focused Cancel cancels.
  ui::TfrmSelectDirectory& dialog = windows.selectDirectory();
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  auto* cancel = dialog.findChild<QPushButton*>("btnCancel");
  cancel->setFocus();
  QTest::keyClick(cancel, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace vyn::testing
