// The application's start and the main window: folders and delivered files on a clean home, a
// second start, a start after an update, the command-line folder, the edition layout, and the
// way into the editor through the password prompt.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <filesystem>
#include <fstream>

#include "core/access/password_store.h"
#include "core/settings/vyn_ini.h"
#include "ui/access/frm_password.h"
#include "ui/support/programmer_fixture.h"

namespace vyn::testing {
namespace {

namespace fs = std::filesystem;

using ProgrammerStartTest = ProgrammerFixture;

std::string SetupValue(const std::string& settings_file, std::string_view key) {
  return VynIni(settings_file).ReadText("Setup", key);
}

TEST_F(ProgrammerStartTest, CleanHomeSecondStartAndUpdate) {
  ui::ProgrammerWindows& first = Start();
  const StartupResult& folders = first.main().folders();
  EXPECT_EQ(folders.ProgramDataFolder, ProgramData());
  EXPECT_EQ(folders.DefaultDirectory, environment_.documents_folder + "/KEMB/VYN IP config");
  EXPECT_TRUE(fs::is_directory(folders.DefaultDirectory));
  EXPECT_EQ(fs::file_size(ProgramData() + "Default.bin"), 2048u);
  EXPECT_EQ(SetupValue(ProgramData() + "Values.ini", "AppVersion"), "1.0.0");
  const PasswordStore store(ProgramData() + kPasswordStoreFileName);
  EXPECT_EQ(store.ReadSlot(2), "8109");
  EXPECT_EQ(store.ReadSlot(3), "7162");
  EXPECT_EQ(store.ReadSlot(5), "ortex");
  // Folders of the program are never open to other users.
  EXPECT_EQ(fs::status(ProgramData()).permissions() & fs::perms::others_write, fs::perms::none);

  // A second start of the same version keeps the user's default configuration.
  std::ofstream(ProgramData() + "Default.bin", std::ios::binary) << std::string(2048, 'u');
  VynIni(ProgramData() + "Values.ini").WriteText("Setup", "ConfigDirectory", "/srv/configs/");
  Start();
  EXPECT_EQ(TempFolder::Read(ProgramData() + "Default.bin"), std::string(2048, 'u'));
  EXPECT_EQ(windows_->main().folders().DefaultDirectory, "/srv/configs");

  // An update replaces both delivered files and keeps the chosen folder.
  environment_.program_version = "1.1.0";
  Start();
  EXPECT_NE(TempFolder::Read(ProgramData() + "Default.bin"), std::string(2048, 'u'));
  EXPECT_EQ(SetupValue(ProgramData() + "Values.ini", "AppVersion"), "1.1.0");
  EXPECT_EQ(SetupValue(ProgramData() + "Values.ini", "ConfigDirectory"), "/srv/configs/");
  EXPECT_EQ(windows_->main().folders().DefaultDirectory, "/srv/configs");
}

TEST_F(ProgrammerStartTest, CommandLineFolder) {
  const std::string folder = root_.File("customer");
  fs::create_directories(folder);
  const std::string saved = ConfigFolder().substr(0, ConfigFolder().size() - 1);
  const struct {
    std::vector<std::string> arguments;
    std::string directory;
  } cases[] = {
      {{folder}, folder},
      {{folder, folder}, saved},         // two arguments are ignored
      {{root_.File("missing")}, saved},  // as is a folder that does not exist
  };
  for (const auto& c : cases) {
    environment_.arguments = c.arguments;
    Start();
    EXPECT_EQ(windows_->main().folders().DefaultDirectory, c.directory) << c.arguments.size();
  }
}

TEST_F(ProgrammerStartTest, EditionLayoutOfTheMainWindow) {
  const struct {
    const char* edition;
    bool guide_shown;
  } cases[] = {{"KEMB GmbH", false}, {"KEMB UK", false}, {"Velkstrom", true}, {"Other", true}};
  for (const auto& c : cases) {
    Start(StringTable::Builtin().WithText(15555, c.edition));
    ui::TfrmMain& main = windows_->main();
    main.show();
    auto* guide = main.findChild<QPushButton*>("btnProgrammingGuide");
    auto* enter = main.findChild<QPushButton*>("btnEnterData");
    auto* basic = main.findChild<QPushButton*>("btnBasicProgramming");
    ASSERT_TRUE(guide && enter && basic);
    EXPECT_EQ(guide->isVisible(), c.guide_shown) << c.edition;
    EXPECT_FALSE(guide->isEnabled()) << c.edition;
    EXPECT_EQ(main.findChild<QWidget*>("lblAStepByStep")->isVisible(), c.guide_shown);
    // The detailed button is on top in the KEMB layout, at the bottom otherwise.
    EXPECT_EQ(enter->y() < basic->y(), !c.guide_shown) << c.edition;
    EXPECT_EQ(enter->text().toStdString(), "Profiprogrammierung");
    EXPECT_EQ(main.windowTitle().toStdString(), "VYN IP/GSM Programmiergerät");

    // The window fits its content: every text whole, Exit right below the last row, and the
    // window centred on the screen.
    int rows_bottom = 0;
    for (const QLabel* label : main.findChildren<QLabel*>()) {
      if (!label->isVisible()) continue;
      EXPECT_GE(label->height(), label->heightForWidth(label->width()))
          << label->objectName().toStdString();
      EXPECT_GE(label->width(), label->minimumSizeHint().width())
          << label->objectName().toStdString();
      rows_bottom = std::max(rows_bottom, label->mapTo(&main, QPoint(0, label->height())).y());
    }
    const QWidget* exit = main.findChild<QWidget*>("btnExit");
    const int exit_top = exit->mapTo(&main, QPoint(0, 0)).y();
    EXPECT_GT(exit_top, rows_bottom);
    EXPECT_LE(exit_top - rows_bottom, 3 * exit->height()) << c.edition;
    EXPECT_LE(main.height() - (exit_top + exit->height()), exit->height()) << c.edition;
    const QRect screen = main.screen()->geometry();
    EXPECT_EQ(main.frameGeometry().left(), (screen.width() - main.frameGeometry().width()) / 2);
    EXPECT_EQ(main.frameGeometry().top(), (screen.height() - main.frameGeometry().height()) / 2);
    main.hide();
  }
}

TEST_F(ProgrammerStartTest, PasswordPromptDecidesTheLevel) {
  const struct {
    const char* password;
    int level;  // 0: refused with message 10013
  } cases[] = {{"8109", 2}, {"7162", 3}, {"ortex", 5}, {"Ortex", 0}, {"", 0}};
  Start();
  ui::TfrmMain& main = windows_->main();
  for (const auto& c : cases) {
    int editor_level = -1;
    bool main_hidden_meanwhile = false;
    main.show();
    session_.FirmwareUpdateActive = true;
    main.run_modal = [&](QDialog& dialog) {
      if (&dialog == &windows_->password()) {
        dialog.findChild<QLineEdit*>("edtPassword")->setText(c.password);
        return int(QDialog::Accepted);
      }
      editor_level = Editor().accessLevel();
      main_hidden_meanwhile = main.isHidden();
      return int(QDialog::Rejected);
    };
    main.findChild<QPushButton*>("btnEnterData")->click();
    EXPECT_FALSE(session_.FirmwareUpdateActive);
    if (c.level == 0) {
      EXPECT_EQ(editor_level, -1) << c.password;
      EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Falsches Passwort eingegeben"});
    } else {
      EXPECT_EQ(editor_level, c.level) << c.password;
      EXPECT_TRUE(main_hidden_meanwhile);
      EXPECT_TRUE(TakeBoxes().empty());
    }
    EXPECT_TRUE(main.isVisible());
  }

  // Cancelling the prompt does nothing; basic programming sets level 0 and opens nothing yet.
  main.run_modal = [](QDialog&) { return int(QDialog::Rejected); };
  main.findChild<QPushButton*>("btnEnterData")->click();
  EXPECT_TRUE(TakeBoxes().empty());
  session_.AccessLevel = 4;
  main.findChild<QPushButton*>("btnBasicProgramming")->click();
  EXPECT_EQ(session_.AccessLevel, 0);
  EXPECT_TRUE(main.isVisible());
  main.hide();
}

}  // namespace
}  // namespace vyn::testing
