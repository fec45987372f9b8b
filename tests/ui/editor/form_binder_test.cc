// The editor's pages through their widgets: every name the tables and rules use has its widget,
// the binder shows the form and takes typing, selections and clicks, the handlers' messages
// and corrections appear, and the grid's in-place editor follows the level.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest/QTest>
#include <set>

#include "core/editor/editor_layout.h"
#include "core/editor/form/binding.h"
#include "core/strings/edition.h"
#include "ui/editor/up_down_arrows.h"
#include "ui/support/programmer_fixture.h"

namespace vyn::testing {
namespace {

class FormBinderTest : public ProgrammerFixture {
 protected:
  template <typename T = QWidget>
  T* W(const char* name) {
    T* widget = Editor().findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  // Shown by its own state (the page may be behind another tab).
  bool Shown(const char* name) { return !W(name)->isHidden(); }
  void ShowPage(const char* page) {
    Editor().pages()->setCurrentWidget(W(page));
    Editor().show();
  }
};

TEST_F(FormBinderTest, EveryNameOfTheTablesAndRulesHasItsWidget) {
  for (const char* edition : {"KEMB GmbH", "KEMB UK", "Velkstrom"}) {
    Start(StringTable::Builtin().WithText(kEditionNameStringId, edition));
    EXPECT_EQ(Editor().binder().Unresolved(), std::vector<std::string>{}) << edition;
    for (const Control& control : Editor().form().controls())
      EXPECT_NE(Editor().findChild<QWidget*>(QString::fromStdString(control.name())), nullptr);

    std::set<std::string> names;
    for (int level = 0; level <= 6; ++level) {
      for (const ItemState& state : AccessView(level, edition)) names.insert(state.name);
    }
    for (const ItemState& state : EditorLayoutRules(strings_)) names.insert(state.name);
    std::set<std::string> pending;
    for (const PendingControl& control : PendingControls()) pending.insert(std::string(control.name));
    for (const std::string& name : names) {
      const QString q = QString::fromStdString(name);
      const bool found = Editor().findChild<QWidget*>(q) || Editor().findChild<QAction*>(q);
      if (pending.contains(name)) {
        EXPECT_FALSE(found) << name << " has its widget now: take it off the pending list";
      } else {
        EXPECT_TRUE(found) << name << " is not found";
      }
    }
  }
}

TEST_F(FormBinderTest, TheDefaultIsShownAndTypingGoesThroughTheChecks) {
  Start();
  EXPECT_EQ(W<QLineEdit>("edtCallAttemptsA")->text(), "3");
  EXPECT_EQ(W<QComboBox>("cbbxProtocolA")->currentText(), "KEMB TALK");
  EXPECT_EQ(W<QComboBox>("cbbxAlarmTypePos1")->count(), 21);
  EXPECT_EQ(W<QComboBox>("cbbxLineVolume1")->maxVisibleItems(), 9);
  EXPECT_EQ(W<QLineEdit>("edtTelephoneNoA")->maxLength(), 100);
  EXPECT_TRUE(W<QCheckBox>("cbTestAlarm")->isChecked());
  EXPECT_EQ(W<QLabel>("lblRadioPos2")->text(), "Funk pos. 2");
  EXPECT_TRUE(W("cbbxUserAlarms")->toolTip().startsWith("Die Gruppe Anwenderalarme"));
  ShowPage("tbshtSequences");

  QLineEdit* repeat = W<QLineEdit>("edtRepeatSequence");
  repeat->selectAll();
  QTest::keyClicks(repeat, "300");
  EXPECT_EQ(repeat->text(), "255");
  EXPECT_EQ(Editor().form().Get("edtRepeatSequence").text(), "255");
  EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Eingegebener Wert muss zwischen 0 und 255 "
                                                  "liegen."});
  repeat->selectAll();
  QTest::keyClick(repeat, Qt::Key_X);
  EXPECT_EQ(repeat->text(), "0");
  TakeBoxes();
  W<ui::UpDownArrows>("udRepeatSequence")->stepBy(1);
  EXPECT_EQ(repeat->text(), "1");

  // The transmitter boxes let hexadecimal digits through only.
  ShowPage("tbshtAlarmSources");
  QLineEdit* code = W<QLineEdit>("edtRadioPos1");
  QTest::keyClicks(code, "1g2hAz");
  EXPECT_EQ(code->text(), "12A");
  EXPECT_EQ(Editor().form().Get("edtRadioPos1").text(), "12A");
  QLineEdit* id = W<QLineEdit>("edtAlarmCodeA");
  QTest::keyClicks(id, "12C3aB#");
  EXPECT_EQ(id->text(), "123a#");
}

TEST_F(FormBinderTest, SelectionsAndClicksRunTheirHandlers) {
  Start();
  ShowPage("tbshtCallNumbers");
  QComboBox* protocol = W<QComboBox>("cbbxProtocolB");
  const int mptp = protocol->findText("MPTP");
  ASSERT_GE(mptp, 0);
  protocol->setCurrentIndex(mptp);
  emit protocol->activated(mptp);
  EXPECT_TRUE(W("edtTelephoneNoB")->isHidden());
  EXPECT_FALSE(W("edtTelephoneNoBMptp1")->isHidden());
  EXPECT_FALSE(W("lblTelephoneNumberBDescr")->isHidden());

  // Separator lines of the alarm type lists are skipped.
  QComboBox* type = W<QComboBox>("cbbxAlarmTypePos1");
  const int separator = type->findText("--- nur für Funksender ---");
  ASSERT_GT(separator, 0);
  emit type->activated(separator);
  EXPECT_EQ(type->currentIndex(), separator + 1);

  // A supervision box tells the user; the load does not.
  ShowPage("tbshtAlarmSources");
  QTest::mouseClick(W<QCheckBox>("cbTestRadioPos4"), Qt::LeftButton);
  const std::vector<std::string> boxes = TakeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("Position 4 eingeschaltet"), std::string::npos);
  Click("mnuFileNew");
  EXPECT_TRUE(TakeBoxes().empty());
  EXPECT_FALSE(W<QCheckBox>("cbTestRadioPos4")->isChecked());
}

TEST_F(FormBinderTest, TheGridsInPlaceEditorFollowsTheLevel) {
  Start();
  for (const int level : {3, 4}) {
    Editor().ApplyAccessLevel(level);
    ShowPage("tbshtAdvanced");
    auto* grid = W<QTableWidget>("sgAdvanced");
    ASSERT_EQ(grid->rowCount(), 56);
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Beschreibung");
    EXPECT_EQ(grid->item(0, 2)->text(), "70");
    grid->setCurrentCell(0, 1);
    grid->setCurrentCell(0, 2);
    grid->editItem(grid->item(0, 2));
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->model()->index(0, 2)));
    if (level == 3) {
      EXPECT_EQ(editor, nullptr);
      continue;
    }
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(editor->validator(), nullptr);  // row 1 takes digits only
    editor->selectAll();
    QTest::keyClicks(editor, "12x3");
    EXPECT_EQ(editor->text(), "123");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the view commits the editor's text queued
    EXPECT_EQ(Editor().form().Get("sgAdvanced").cell(1, 2), "123");
    // Row 4 has no mask.
    grid->setCurrentCell(3, 2);
    grid->editItem(grid->item(3, 2));
    editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->model()->index(3, 2)));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->validator(), nullptr);
  }
}

TEST_F(FormBinderTest, AFailedStoreFocusesItsControl) {
  Start();
  Editor().show();
  for (const char* row : {"A", "B", "C", "D"}) {
    QLineEdit* number = W<QLineEdit>((std::string("edtTelephoneNo") + row).c_str());
    number->setText(QString(100, '1'));
    emit number->textEdited(number->text());
  }
  chooser_.answers = {root_.File("full")};
  Click("mnuFileSaveAs");
  EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Konvertierungsfehler!\nSpeicherüberlauf durch "
                                                  "Telefonnummern"});
  EXPECT_EQ(Editor().pages()->currentWidget()->objectName(), "tbshtCallNumbers");
  EXPECT_EQ(Editor().focusWidget(), W("edtTelephoneNoD"));
  EXPECT_FALSE(std::filesystem::exists(root_.File("full.Rodid")));
}

}  // namespace
}  // namespace vyn::testing
