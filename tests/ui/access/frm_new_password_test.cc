#include "ui/access/frm_new_password.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "core/session/scripted_prompter.h"
#include "core/strings/message_ids.h"
#include "core/strings/string_table.h"

namespace vyn::ui {
namespace {

class TfrmNewPasswordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.show();
    form_.activateWindow();
    password_ = form_.findChild<QLineEdit*>("edtPassword");
    retype_ = form_.findChild<QLineEdit*>("edtPasswordRetype");
    ok_ = form_.findChild<QPushButton*>("btnOk");
    ASSERT_NE(password_, nullptr);
    ASSERT_NE(retype_, nullptr);
    ASSERT_NE(ok_, nullptr);
  }
  // QTest::keyClicks takes ASCII only: other characters go in as key events of their own.
  static void TypeChar(QLineEdit* box, Qt::Key key, const QString& text) {
    QTest::sendKeyEvent(QTest::Click, box, key, text, Qt::NoModifier);
  }
  void Type(const QString& first, const QString& second) {
    QTest::keyClicks(password_, first);
    QTest::keyClicks(retype_, second);
  }

  const StringTable& strings_ = StringTable::Builtin();
  testing::ScriptedPrompter prompter_;
  TfrmNewPassword form_{strings_, prompter_};
  QLineEdit* password_ = nullptr;
  QLineEdit* retype_ = nullptr;
  QPushButton* ok_ = nullptr;
};

TEST_F(TfrmNewPasswordTest, OkEnabledForEqualLengthsOfZeroOrAtLeastFour) {
  const struct {
    const char* first;
    const char* second;
    bool enabled;
  } cases[] = {
      {"abc", "abc", false},  {"abcd", "abcd", true}, {"", "", true},
      {"abcd", "abc", false}, {"abcd", "wxyz", true},  // same length: the texts are compared on OK
  };
  for (const auto& c : cases) {
    password_->clear();
    retype_->clear();
    Type(c.first, c.second);
    EXPECT_EQ(ok_->isEnabled(), c.enabled) << c.first << " / " << c.second;
  }
}

TEST_F(TfrmNewPasswordTest, ShowingEmptiesBothBoxesAndEnablesOk) {
  Type("abc", "abc");
  EXPECT_FALSE(ok_->isEnabled());
  form_.hide();
  form_.show();
  EXPECT_EQ(password_->text(), "");
  EXPECT_EQ(retype_->text(), "");
  EXPECT_TRUE(ok_->isEnabled());
  EXPECT_EQ(form_.focusWidget(), password_);
}

TEST_F(TfrmNewPasswordTest, OnlyPrintableAsciiReachesTheBoxes) {
  QTest::keyClicks(password_, "ab");
  TypeChar(password_, Qt::Key_Adiaeresis, QString::fromUtf8("\xC3\xA4"));
  TypeChar(password_, Qt::Key_unknown, "\x01");
  QTest::keyClicks(password_, "c");
  QTest::keyClick(password_, Qt::Key_Backspace);
  QTest::keyClicks(password_, "~ d");
  EXPECT_EQ(password_->text(), "ab~ d");

  // A pasted text with a character outside 0x20-0x7E is refused as a whole.
  QApplication::clipboard()->setText(QString::fromUtf8("x\xC3\xA4y"));
  retype_->paste();
  EXPECT_EQ(retype_->text(), "");
  QApplication::clipboard()->setText("tab\there");
  retype_->paste();
  EXPECT_EQ(retype_->text(), "");
  QApplication::clipboard()->setText("xy");
  retype_->paste();
  EXPECT_EQ(retype_->text(), "xy");
}

TEST_F(TfrmNewPasswordTest, EnterMovesTheFocusAndNeverCloses) {
  password_->setFocus();
  QTest::keyClicks(password_, "abcd");
  QTest::keyClick(password_, Qt::Key_Return);
  EXPECT_EQ(form_.focusWidget(), retype_);
  QTest::keyClicks(retype_, "abc");
  QTest::keyClick(retype_, Qt::Key_Enter);  // btnOk disabled: the focus stays
  EXPECT_EQ(form_.focusWidget(), retype_);
  QTest::keyClicks(retype_, "d");
  QTest::keyClick(retype_, Qt::Key_Return);
  EXPECT_EQ(form_.focusWidget(), ok_);
  EXPECT_TRUE(form_.isVisible());
  EXPECT_EQ(password_->text(), "abcd");
  EXPECT_TRUE(prompter_.Boxes().empty());
  // Enter on the focused OK presses it.
  QTest::keyClick(ok_, Qt::Key_Return);
  EXPECT_FALSE(form_.isVisible());
  EXPECT_EQ(form_.result(), QDialog::Accepted);
}

TEST_F(TfrmNewPasswordTest, DifferentTextsAreReportedAndTheDialogStays) {
  Type("abcd", "abce");
  form_.btnOkClick();
  ASSERT_EQ(prompter_.Boxes().size(), 1u);
  EXPECT_EQ(prompter_.Boxes()[0].kind, MessageKind::kInformation);
  EXPECT_EQ(prompter_.Boxes()[0].text, strings_.Text(msg::kPasswordsDoNotMatch));
  EXPECT_TRUE(form_.isVisible());
}

TEST_F(TfrmNewPasswordTest, EmptyPasswordIsDeletedOnlyAfterYes) {
  prompter_.answers = {MessageButton::kNo, MessageButton::kYes};
  form_.btnOkClick();
  EXPECT_TRUE(form_.isVisible());
  form_.btnOkClick();
  EXPECT_FALSE(form_.isVisible());
  EXPECT_EQ(form_.result(), QDialog::Accepted);
  ASSERT_EQ(prompter_.Boxes().size(), 2u);
  for (const auto& box : prompter_.Boxes()) {
    EXPECT_EQ(box.kind, MessageKind::kConfirmation);
    EXPECT_EQ(box.buttons, MessageButtons::kYesNo);
    EXPECT_EQ(box.text, strings_.Text(msg::kDeletePasswordQuestion));
  }
}

TEST_F(TfrmNewPasswordTest, MatchingTextsCloseWithOk) {
  Type("s3cr", "s3cr");
  QTest::mouseClick(ok_, Qt::LeftButton);
  EXPECT_EQ(form_.result(), QDialog::Accepted);
  EXPECT_EQ(form_.NewPassword(), "s3cr");
  EXPECT_TRUE(prompter_.Boxes().empty());
}

}  // namespace
}  // namespace vyn::ui
