#include "ui/access/frm_password.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "core/strings/string_table.h"

namespace vyn::ui {
namespace {

TEST(TfrmPasswordTest, EnterClosesWithOkAndResetEmptiesTheBox) {
  TfrmPassword form(StringTable::Builtin());
  form.show();
  auto* edit = form.findChild<QLineEdit*>("edtPassword");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(form.windowTitle(), "Passwort erforderlich");
  EXPECT_EQ(edit->echoMode(), QLineEdit::Password);

  QTest::keyClicks(edit, "ortex");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.EnteredPassword(), "ortex");

  form.Reset();
  EXPECT_EQ(form.EnteredPassword(), "");
}

TEST(TfrmPasswordTest, TakesAtMost32Characters) {
  TfrmPassword form(StringTable::Builtin());
  QTest::keyClicks(form.findChild<QLineEdit*>("edtPassword"), QString(40, 'a'));
  EXPECT_EQ(form.EnteredPassword(), QString(32, 'a'));
}

}  // namespace
}  // namespace vyn::ui
