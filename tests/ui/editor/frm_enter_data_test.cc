// The detailed editor's frame: creation, menus, the access view by level and edition, the file
// commands through the menu, and reading and writing the unit through the in-process simulator.

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QTabBar>
#include <QTest>
#include <QTextBoundaryFinder>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "core/settings/vyn_ini.h"
#include "ui/app/frm_about.h"
#include "ui/image/frm_select_directory.h"
#include "ui/image/frm_view_default.h"
#include "ui/support/programmer_fixture.h"

namespace vyn::testing {
namespace {

namespace fs = std::filesystem;

using EditorFrameTest = ProgrammerFixture;

std::vector<std::string> VisibleTabs(ui::TfrmEnterData& editor) {
  std::vector<std::string> names;
  QTabWidget* tabs = editor.pages();
  for (int i = 0; i < tabs->count(); ++i) {
    if (tabs->isTabVisible(i)) names.push_back(tabs->widget(i)->objectName().toStdString());
  }
  return names;
}

bool ItemVisible(ui::TfrmEnterData& editor, const char* name) {
  QAction* action = editor.findChild<QAction*>(name);
  EXPECT_NE(action, nullptr) << name;
  return action && action->isVisible();
}

TEST_F(EditorFrameTest, PagesMenusAndShortcuts) {
  Start();
  EXPECT_EQ(VisibleTabs(Editor()).size(), 10u);
  const struct {
    const char* item;
    const char* caption;
    const char* shortcut;
  } items[] = {
      {"mnuFileNew", "&Neu", "Ctrl+N"},
      {"mnuFileOpen", "&Öffnen...", "Ctrl+O"},
      {"mnuFileSave", "&Speichern", "Ctrl+S"},
      {"mnuFileSaveAs", "Speichern &als...", ""},
      {"mnuFilePrint", "Dr&ucken...", "Ctrl+P"},
      {"mnuCommRead", "&Lese aus VYN IP/GSM", "Ctrl+R"},
      {"mnuCommWrite", "&Schreibe zu VYN IP/GSM", "Ctrl+W"},
      {"mnuCommDebugWriteWeb", "Debug write to VYN IP/GSM", ""},
      {"mnuToolsConfigureHomeAway", "&Konfiguration Tagestaste (An/Abmeldung/Passivalarm)", ""},
      {"mnuHelpAbout", "&Info...", ""},
  };
  for (const auto& i : items) {
    QAction* action = Editor().findChild<QAction*>(i.item);
    ASSERT_NE(action, nullptr) << i.item;
    EXPECT_EQ(action->text().toStdString(), i.caption);
    EXPECT_EQ(action->shortcut().toString().toStdString(), i.shortcut) << i.item;
  }
  EXPECT_EQ(Editor().pages()->tabText(2).toStdString(), "Sequenzen");
  EXPECT_EQ(Editor().windowTitle().toStdString(), "Standard - VYN IP/GSM Programmiergerät");
  EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(EditorFrameTest, EditionRulesOfTheMenus) {
  const struct {
    const char* edition;
    bool guide;
    bool home_away;
    bool location_codes;
  } cases[] = {
      {"KEMB GmbH", false, true, false},
      {"KEMB UK", false, true, true},
      {"Velkstrom", true, false, false},
  };
  for (const auto& c : cases) {
    Start(StringTable::Builtin().WithText(15555, c.edition));
    EXPECT_EQ(ItemVisible(Editor(), "mnuToolsGuide"), c.guide) << c.edition;
    EXPECT_FALSE(Editor().findChild<QAction*>("mnuToolsGuide")->isEnabled());
    EXPECT_EQ(ItemVisible(Editor(), "mnuToolsConfigureHomeAway"), c.home_away) << c.edition;
    EXPECT_EQ(ItemVisible(Editor(), "mnuHelpBS8521LocationCodes"), c.location_codes);
    EXPECT_EQ(ItemVisible(Editor(), "mnuHelpDelimiter"), c.location_codes);
  }
}

TEST_F(EditorFrameTest, MissingSettingsFileIsReportedAndTheEditorStillOpens) {
  Start();
  fs::remove(ProgramData() + "Values.ini");
  environment_.install_folder = root_.File("empty-install");
  fs::create_directories(environment_.install_folder);
  TakeBoxes();
  Start();
  EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Datei Values.ini konnte im "
                                                  "Anwendungsverzeichnis nicht gefunden werden."});
}

TEST_F(EditorFrameTest, AccessLevelsInTheEditionsThatDiffer) {
  const char* const all_tabs[] = {"tbshtAlarmSources",   "tbshtCallNumbers",
                                  "tbshtSequences",      "tbshtTimersAndIndications",
                                  "tbshtCallParameters", "tbshtExtendedFunctions"};
  const struct {
    const char* edition;
    int level;
    std::vector<std::string> extra_tabs;  // after the six that every level shows
    bool debug, text_file, alarm_types, change_default, ip_enabled;
  } cases[] = {
      {"KEMB GmbH", 2, {"tbshtIp"}, false, false, false, true, false},
      {"KEMB GmbH", 3, {"tbshtIp"}, false, false, true, true, true},
      {"KEMB GmbH",
       4,
       {"tbshtAdvanced", "tbshtConfiguration", "tbshtIp"},
       false,
       true,
       true,
       true,
       true},
      {"KEMB GmbH", 5, {"tbshtConfiguration", "tbshtIp"}, false, true, true, true, true},
      {"KEMB GmbH",
       6,
       {"tbshtAdvanced", "tbshtConfiguration", "tbshtIp", "tbshtMisc"},
       true,
       true,
       true,
       true,
       true},
      {"Velkstrom", 2, {"tbshtIp"}, false, false, false, false, false},
      {"Velkstrom", 3, {"tbshtIp"}, false, false, false, false, true},
      {"Velkstrom",
       4,
       {"tbshtAdvanced", "tbshtConfiguration", "tbshtIp"},
       false,
       true,
       true,
       false,
       true},
      {"Velkstrom", 5, {"tbshtConfiguration", "tbshtIp"}, false, true, true, false, true},
      {"Velkstrom",
       6,
       {"tbshtAdvanced", "tbshtConfiguration", "tbshtIp", "tbshtMisc"},
       true,
       true,
       true,
       false,
       true},
  };
  for (const auto& c : cases) {
    Start(StringTable::Builtin().WithText(15555, c.edition));
    // Walk the levels through one window, as the program does, so nothing depends on the
    // window's first layout: the level before is always a different one.
    Editor().ApplyAccessLevel(c.level == 6 ? 2 : 6);
    Editor().ApplyAccessLevel(c.level);
    std::vector<std::string> expected(std::begin(all_tabs), std::end(all_tabs));
    expected.insert(expected.end(), c.extra_tabs.begin(), c.extra_tabs.end());
    const std::string where = std::string(c.edition) + " level " + std::to_string(c.level);
    EXPECT_EQ(VisibleTabs(Editor()), expected) << where;
    EXPECT_EQ(session_.AccessLevel, c.level);
    EXPECT_EQ(ItemVisible(Editor(), "mnuCommDebugReadWeb"), c.debug) << where;
    EXPECT_EQ(ItemVisible(Editor(), "mnuCommDebugWriteWeb"), c.debug) << where;
    EXPECT_EQ(ItemVisible(Editor(), "mnuToolsCreateTextFile"), c.text_file) << where;
    EXPECT_EQ(ItemVisible(Editor(), "mnuToolsChangePasswords"), c.text_file) << where;
    EXPECT_EQ(ItemVisible(Editor(), "mnuToolsConfigureAlarmTypes"), c.alarm_types) << where;
    EXPECT_EQ(ItemVisible(Editor(), "mnuFileChangeDefaultConfig"), c.change_default) << where;
    EXPECT_EQ(Editor().findChild<QWidget*>("tbshtIp")->isEnabled(), c.ip_enabled) << where;
    EXPECT_EQ(Editor().AdvancedGridEditable(), c.level >= 4) << where;
  }
}

TEST_F(EditorFrameTest, SaveOfTheDefaultBecomesSaveAsAndExitWithYesStillCloses) {
  Start();
  ui::TfrmEnterData& editor = Editor();
  chooser_.answers = {root_.File("abc")};
  Click("mnuFileSave");
  ASSERT_EQ(chooser_.requests.size(), 1u);
  EXPECT_EQ(chooser_.requests[0].folder, ConfigFolder().substr(0, ConfigFolder().size() - 1));
  EXPECT_EQ(chooser_.requests[0].pattern, "*.Rodid");
  EXPECT_EQ(fs::file_size(root_.File("abc.Rodid")), 2048u);
  EXPECT_EQ(editor.windowTitle().toStdString(), "abc.Rodid - VYN IP/GSM Programmiergerät");

  // Exit, Yes; the save's dialog is cancelled, and the editor closes all the same, with the
  // default configuration back in it.
  editor.show();
  prompter_.answers = {MessageButton::kYes};
  chooser_.answers = {};
  editor.data().Origin = ImageOrigin::FromDefault;
  editor.data().WorkingImage[0x300] ^= 0xFF;
  Click("mnuFileExit");
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(chooser_.requests.size(), 2u);
  EXPECT_EQ(editor.data().Origin, ImageOrigin::FromDefault);
  EXPECT_EQ(editor.windowTitle().toStdString(), "Standard - VYN IP/GSM Programmiergerät");
  EXPECT_EQ(editor.data().WorkingImage[0x300],
            static_cast<std::uint8_t>(TempFolder::Read(ProgramData() + "Default.bin")[0x300]));
  EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Möchten Sie die Konfiguration speichern "
                                                  "bevor Sie das Programm verlassen?"});

  // Cancel at the question keeps the window open.
  editor.show();
  prompter_.answers = {MessageButton::kCancel};
  Click("mnuFileExit");
  EXPECT_TRUE(editor.isVisible());
  editor.hide();
}

TEST_F(EditorFrameTest, ShortFileOpensAndSavesInFullLength) {
  Start();
  const std::string path = root_.Write("old.Rodid", std::string(512, '\0'));
  chooser_.answers = {path};
  Click("mnuFileOpen");
  EXPECT_EQ(Editor().data().Origin, ImageOrigin::OpenedFile);
  EXPECT_EQ(Editor().windowTitle().toStdString(), "old.Rodid - VYN IP/GSM Programmiergerät");
  Click("mnuFileSave");
  EXPECT_EQ(fs::file_size(path), 2048u);
  EXPECT_FALSE(Editor().data().ShortLayout);
}

TEST_F(EditorFrameTest, ChangeDefaultListsOnlyPreparedConfigurations) {
  Start();
  std::ofstream(ProgramData() + "prepared.bin", std::ios::binary) << std::string(2048, 'p');
  ui::TfrmViewDefault& dialog = windows_->viewDefault();
  std::vector<std::string> listed;
  QTimer::singleShot(0, &dialog, [&] {
    auto* list = dialog.findChild<QComboBox*>("cmbDefaultConfig");
    for (int i = 0; list && i < list->count(); ++i)
      listed.push_back(list->itemText(i).toStdString());
    dialog.accept();
  });
  Click("mnuFileChangeDefaultConfig");
  EXPECT_EQ(listed, std::vector<std::string>{"prepared.bin"});
  EXPECT_EQ(TempFolder::Read(ProgramData() + "Default.bin"), std::string(2048, 'p'));
  EXPECT_FALSE(fs::exists(ProgramData() + "default.bin"));
}

TEST_F(EditorFrameTest, SelectDefaultDirectoryIsKeptForTheNextStart) {
  Start();
  ui::TfrmSelectDirectory& dialog = windows_->selectDirectory();
  QTimer::singleShot(0, &dialog, [&] {
    dialog.SetDirectory("/nowhere/yet/");
    dialog.accept();
  });
  Click("mnuFileSelectDefaultDirectory");
  EXPECT_EQ(windows_->main().folders().DefaultDirectory, "/nowhere/yet");
  EXPECT_EQ(VynIni(ProgramData() + "Values.ini").ReadText("Setup", "ConfigDirectory"),
            "/nowhere/yet");
  Start();
  EXPECT_EQ(windows_->main().folders().DefaultDirectory, "/nowhere/yet");
}

TEST_F(EditorFrameTest, ReadsAndWritesTheUnit) {
  Start();
  ui::TfrmEnterData& editor = Editor();
  editor.ApplyAccessLevel(6);
  Click("mnuCommRead");
  EXPECT_EQ(editor.data().WorkingImage, unit_memory_);
  EXPECT_EQ(editor.data().Origin, ImageOrigin::ReadFromUnit);
  EXPECT_EQ(editor.windowTitle().toStdString(),
            "aus VYN IP/GSM ausgelesen - VYN IP/GSM Programmiergerät");
  ASSERT_FALSE(prompter_.Statuses().empty());
  EXPECT_EQ(prompter_.Statuses().back(), "Lesen vollständig");
  EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Lesen vollständig"});
  auto* progress = editor.findChild<QProgressBar*>("pbTransfer");
  EXPECT_EQ(progress->value(), 2048);  // the last block reached the end of the memory
  EXPECT_TRUE(progress->isHidden());   // and the bar went away with the transfer
  EXPECT_FALSE(editor.transferRunning());

  // Written back with a change, verified by the read-back.
  editor.data().WorkingImage[0x300] = 0xA5;
  Click("mnuCommWrite");
  EXPECT_EQ(unit_memory_[0x300], 0xA5);
  EXPECT_EQ(editor.data().DeviceImage, editor.data().WorkingImage);
  EXPECT_EQ(TakeBoxes(), std::vector<std::string>{
                             "Programmierung vollständig. Bitte schalten Sie VYN IP/GSM aus und "
                             "wieder an, damit alle Änderungen wirksam werden."});
}

// The text of a box as read (without the characters that only keep a line together).
QString Readable(const std::string& shown) {
  QString text = QString::fromStdString(shown);
  text.remove(QChar(0x2060));
  return text.replace(QChar(0x00A0), u' ');
}
// Whether a line may break inside `tail`, the part with which the shown text ends.
bool MayBreakInside(const std::string& shown, const std::string& tail) {
  const QString text = QString::fromStdString(shown);
  // What comes before the tail is shown as it reads.
  const qsizetype start = Readable(shown).lastIndexOf(QString::fromStdString(tail));
  QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
  for (qsizetype at = finder.toNextBoundary(); at != -1; at = finder.toNextBoundary()) {
    if (at > start && at < text.size()) return true;
  }
  return false;
}

TEST_F(EditorFrameTest, TextListIsWrittenAndOpened) {
  Start();
  Editor().ApplyAccessLevel(4);
  open_file_works_ = false;
  Click("mnuToolsCreateTextFile");
  const std::string list = ProgramData() + "Default.txt";
  EXPECT_TRUE(fs::exists(list));
  EXPECT_EQ(opened_files_, std::vector<std::string>{list});
  const std::vector<std::string> boxes = TakeBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(Readable(boxes[0]).toStdString(),
            "Eine Textdatei mit allen Konfigurationsparametern wurde erstellt. " + list);
  // The path (with its blanks, slashes and brackets) is never broken over two lines.
  EXPECT_FALSE(MayBreakInside(boxes[0], list)) << boxes[0];
  EXPECT_EQ(boxes[1], "Konnte Textdatei nicht öffnen.");
}

// The desktop's opener fails only after it has started (no program for text files): the
// failure reaches the user without the window waiting for the opener.
TEST_F(EditorFrameTest, FailureOfTheDesktopsOpenerIsReported) {
  const char* path = std::getenv("PATH");
  const std::string saved_path = path != nullptr ? path : "";
  const std::string bin = root_.File("bin");
  fs::create_directories(bin);
  const std::string release = root_.File("release");
  const std::string opener = root_.Write(
      "bin/xdg-open", "#!/bin/sh\ni=0; while [ ! -e '" + release +
                          "' ] && [ $i -lt 500 ]; do /bin/sleep 0.02; i=$((i+1)); done\n"
                          "echo 'x-terminal-emulator: not found' >&2\nexit 3\n");
  fs::permissions(opener, fs::perms::owner_all);
  setenv("PATH", bin.c_str(), 1);
  desktop_opener_ = true;
  Start();
  Editor().ApplyAccessLevel(4);
  Click("mnuToolsCreateTextFile");
  EXPECT_EQ(TakeBoxes().size(), 1u);  // the file's message; the opener still runs
  root_.Write("release", "");
  EXPECT_TRUE(QTest::qWaitFor([this] { return !prompter_.Boxes().empty(); }, 10000));
  EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Konnte Textdatei nicht öffnen."});
  setenv("PATH", saved_path.c_str(), 1);
}

TEST_F(EditorFrameTest, AboutBoxShowsTheZixVersion) {
  unit_options_.zix_version = "15-1-V02.03";
  Start();
  ui::TfrmAbout& about = windows_->about();
  std::string shown;
  QTimer::singleShot(0, &about, [&] {
    shown = about.findChild<QLabel*>("lblZixVersion")->text().toStdString();
    about.accept();
  });
  Click("mnuHelpAbout");
  EXPECT_EQ(shown, "ZIX info: 15-1-V02.03");
  EXPECT_EQ(port_->opens, port_->closes);  // the link is closed again
}

TEST_F(EditorFrameTest, UnitThatNeverGetsReady) {
  unit_options_.ready_after = 1000;
  Start();
  Click("mnuCommRead");
  const std::vector<std::string> boxes = TakeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("Keine Verbindung mit VYN IP/GSM.", 0), 0u) << boxes[0];
  EXPECT_EQ(Editor().data().Origin, ImageOrigin::FromDefault);
}

TEST_F(EditorFrameTest, EscapeNeverClosesAndTheCloseBoxAsksOnlyAboutChanges) {
  Start();
  ui::TfrmEnterData& editor = Editor();
  editor.ApplyAccessLevel(6);
  editor.show();
  QTest::keyClick(&editor, Qt::Key_Escape);
  EXPECT_TRUE(editor.isVisible());
  // Nothing changed: the close box closes without a question.
  editor.close();
  EXPECT_FALSE(editor.isVisible());
  EXPECT_TRUE(TakeBoxes().empty());

  // Read from the unit, then changed (the pages store what they show; a changed byte stands in
  // for a changed control): the close box asks as Exit does.
  editor.show();
  Click("mnuCommRead");
  QTest::keyClick(&editor, Qt::Key_Escape);
  EXPECT_TRUE(editor.isVisible());
  editor.data().WorkingImage[0x300] ^= 0x01;
  TakeBoxes();
  prompter_.answers = {MessageButton::kCancel};
  editor.close();
  EXPECT_TRUE(editor.isVisible());
  const std::vector<std::string> question = {
      "Möchten Sie die Konfiguration speichern bevor Sie das Programm verlassen?"};
  EXPECT_EQ(TakeBoxes(), question);
  prompter_.answers = {MessageButton::kNo};
  editor.close();
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(TakeBoxes(), question);
  EXPECT_EQ(editor.data().Origin, ImageOrigin::FromDefault);

  // Changes written to the unit and verified there are not lost either.
  editor.show();
  editor.data().WorkingImage[0x300] ^= 0x01;
  Click("mnuCommWrite");
  TakeBoxes();
  editor.close();
  EXPECT_FALSE(editor.isVisible());
  EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(EditorFrameTest, WaitingTransferAndItsEndInTheStatusBar) {
  unit_options_.ready_after = 4;
  Start();
  ui::TfrmEnterData& editor = Editor();
  auto* bar = editor.findChild<QProgressBar*>("pbTransfer");
  // The bar as each readiness poll after the first is sent, and as each box appears.
  std::vector<std::string> bar_at_polls;
  const auto inner = port_->responder;
  port_->responder = [&](const Bytes& frame) {
    if (frame.size() == 5 && frame[1] == 'O')  // STX, "O", checksum, ETX
      bar_at_polls.push_back(bar->isHidden() ? "hidden" : bar->maximum() == 0 ? "busy" : "value");
    return inner(frame);
  };
  std::vector<bool> bar_hidden_at_boxes;
  prompter_.on_box = [&](const std::string&) { bar_hidden_at_boxes.push_back(bar->isHidden()); };
  editor.show();
  Click("mnuCommRead");
  ASSERT_EQ(bar_at_polls.size(), 10u);  // four NAKs, then six acknowledgements
  EXPECT_EQ(bar_at_polls.front(), "hidden");
  EXPECT_EQ(std::set<std::string>(bar_at_polls.begin() + 1, bar_at_polls.end()),
            std::set<std::string>{"busy"});
  const std::vector<std::string> statuses = prompter_.Statuses();
  EXPECT_EQ(
      std::count(statuses.begin(), statuses.end(), "VYN IP/GSM beschäftigt, bitte warten... "), 9);
  EXPECT_EQ(bar_hidden_at_boxes, std::vector<bool>{true});  // "Lesen vollständig"
  EXPECT_TRUE(bar->isHidden());

  // The next visit starts with an empty status line.
  editor.hide();
  editor.show();
  EXPECT_EQ(prompter_.Statuses().back(), "");
  editor.hide();
}

TEST_F(EditorFrameTest, HiddenPagesCannotBeReachedAtAnyLevel) {
  Start();
  ui::TfrmEnterData& editor = Editor();
  QTabWidget* tabs = editor.pages();
  editor.show();
  editor.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
  // The levels one after another in one run, as users come and go.
  for (const int level : {6, 2, 5, 4, 2, 6}) {
    SCOPED_TRACE(level);
    editor.ApplyAccessLevel(level);
    const std::vector<std::string> shown = VisibleTabs(editor);
    const std::set<std::string> reachable(shown.begin(), shown.end());
    tabs->setCurrentIndex(0);
    const std::pair<int, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_Tab, Qt::ControlModifier},
        {Qt::Key_PageDown, Qt::ControlModifier},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_PageUp, Qt::ControlModifier}};
    for (const auto& [key, modifiers] : keys) {
      for (int press = 0; press < 12; ++press) {
        QTest::keyClick(press % 2 ? static_cast<QWidget*>(tabs->tabBar()) : tabs,
                        static_cast<Qt::Key>(key), modifiers);
        EXPECT_EQ(reachable.count(tabs->currentWidget()->objectName().toStdString()), 1u)
            << tabs->currentWidget()->objectName().toStdString();
        EXPECT_TRUE(tabs->currentWidget()->isVisible());
      }
    }
    // A hidden page is out of every focus chain: its controls cannot be shown.
    for (const ui::EditorPage* page : editor.pageList()) {
      if (reachable.count(page->objectName().toStdString()) == 0) {
        EXPECT_FALSE(page->isVisibleTo(&editor)) << page->objectName().toStdString();
      }
    }
    // Every tab is as wide as its caption asks, whatever was shown before: about the same
    // margin around every caption.
    std::set<int> margins;
    for (int i = 0; i < tabs->count(); ++i) {
      const QTabBar* bar = tabs->tabBar();
      margins.insert(bar->tabRect(i).width() -
                     bar->fontMetrics().horizontalAdvance(tabs->tabText(i)));
    }
    EXPECT_LE(*margins.rbegin() - *margins.begin(), 2);
  }
  editor.hide();
}

}  // namespace
}  // namespace vyn::testing
