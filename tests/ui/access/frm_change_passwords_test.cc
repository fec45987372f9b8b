#include "ui/access/frm_change_passwords.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "core/access/password_store.h"
#include "core/session/scripted_prompter.h"
#include "core/strings/message_ids.h"
#include "core/strings/string_table.h"
#include "support/temp_folder.h"
#include "ui/access/frm_new_password.h"

namespace vyn::ui {
namespace {

class TfrmChangePasswordsTest : public ::testing::Test {
 protected:
  TfrmChangePasswordsTest() { store_.EnsureDefaultPasswords(); }

  // The new-password dialog as if the user typed `text` twice and left it with `result`.
  void Script(const QString& text, int result = QDialog::Accepted) {
    form_.run_new_password = [this, text, result] {
      new_password_.findChild<QLineEdit*>("edtPassword")->setText(text);
      new_password_.findChild<QLineEdit*>("edtPasswordRetype")->setText(text);
      ++runs_;
      return result;
    };
  }

  const StringTable& strings_ = StringTable::Builtin();
  testing::TempFolder folder_;
  PasswordStore store_{folder_.Path() / kPasswordStoreFileName};
  testing::ScriptedPrompter prompter_;
  TfrmNewPassword new_password_{strings_, prompter_};
  TfrmChangePasswords form_{strings_, prompter_, new_password_, store_};
  int runs_ = 0;
};

TEST_F(TfrmChangePasswordsTest, EachButtonWritesItsSlot) {
  EXPECT_EQ(form_.findChild<QLabel*>("lblInfoPass5")->text().toStdString(), strings_.Text(13767));
  EXPECT_EQ(form_.findChild<QLabel*>("lblInfoPass5b")->text(), "");  // absent from the table
  const struct {
    const char* button;
    int slot;
  } cases[] = {{"btnChangePass2", 2}, {"btnChangePass3", 3}, {"btnChangePass5", 5}};
  for (const auto& c : cases) {
    const QString text = QString("new%1").arg(c.slot);
    Script(text);
    auto* button = form_.findChild<QPushButton*>(c.button);
    ASSERT_NE(button, nullptr) << c.button;
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(store_.ReadSlot(c.slot), text.toStdString()) << c.button;
  }
  EXPECT_EQ(runs_, 3);
  EXPECT_TRUE(prompter_.Boxes().empty());
}

TEST_F(TfrmChangePasswordsTest, CancelledNewPasswordLeavesTheSlot) {
  // The real modal dialog, cancelled as soon as it runs.
  QTimer::singleShot(0, &new_password_, [this] {
    new_password_.findChild<QLineEdit*>("edtPassword")->setText("abcd");
    new_password_.reject();
  });
  form_.btnChangePassClick(5);
  EXPECT_EQ(store_.ReadSlot(5), "ortex");
}

TEST_F(TfrmChangePasswordsTest, PasswordOfAnotherSlotIsStoredOnlyAfterYes) {
  const struct {
    MessageButton answer;
    const char* slot5;
  } cases[] = {{MessageButton::kNo, "ortex"}, {MessageButton::kYes, "8109"}};
  for (const auto& c : cases) {
    prompter_.events.clear();
    prompter_.answers = {c.answer};
    Script("8109");  // slot 2's password
    form_.btnChangePassClick(5);
    EXPECT_EQ(store_.ReadSlot(5), c.slot5);
    ASSERT_EQ(prompter_.Boxes().size(), 1u);
    EXPECT_EQ(prompter_.Boxes()[0].kind, MessageKind::kConfirmation);
    EXPECT_EQ(prompter_.Boxes()[0].buttons, MessageButtons::kYesNo);
    EXPECT_EQ(prompter_.Boxes()[0].text, strings_.Text(msg::kPasswordAlreadyUsedQuestion));
  }
}

TEST_F(TfrmChangePasswordsTest, EmptyPasswordIsStoredAsNoPassword) {
  Script("");
  form_.btnChangePassClick(5);
  EXPECT_EQ(store_.LevelFor(""), 5);
}

TEST(TfrmChangePasswordsWriteTest, FailedWriteIsSignalled) {
  const StringTable& strings = StringTable::Builtin();
  testing::TempFolder folder;
  testing::ScriptedPrompter prompter;
  TfrmNewPassword new_password(strings, prompter);
  const PasswordStore store(folder.Path() / "missing" / kPasswordStoreFileName);
  TfrmChangePasswords form(strings, prompter, new_password, store);
  form.run_new_password = [] { return int{QDialog::Accepted}; };
  new_password.findChild<QLineEdit*>("edtPassword")->setText("abcd");
  QSignalSpy failed(&form, &TfrmChangePasswords::passwordWriteFailed);
  form.btnChangePassClick(3);
  ASSERT_EQ(failed.count(), 1);
  EXPECT_EQ(failed.at(0).at(0).toInt(), 3);
  EXPECT_EQ(store.ReadSlot(3), "");
}

}  // namespace
}  // namespace vyn::ui
