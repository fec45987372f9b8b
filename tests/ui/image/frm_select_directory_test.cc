#include "ui/image/frm_select_directory.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "core/strings/string_table.h"

namespace vyn::ui {
namespace {

TEST(TfrmSelectDirectoryTest, DirectoryHasNoTrailingSeparator) {
  const struct {
    const char* box;
    const char* directory;
  } cases[] = {
      {"/home/user/config/", "/home/user/config"},
      {"/home/user/config//", "/home/user/config"},
      {"/home/user/config", "/home/user/config"},
      {"/", "/"},
      {"", ""},
  };
  TfrmSelectDirectory form(StringTable::Builtin());
  auto* box = form.findChild<QLineEdit*>("edtActiveConfigDirectory");
  for (const auto& c : cases) {
    box->setText(c.box);
    EXPECT_EQ(form.Directory().toStdString(), c.directory) << c.box;
  }
  form.SetDirectory("/srv/configs/");
  EXPECT_EQ(box->text(), "/srv/configs");
}

TEST(TfrmSelectDirectoryTest, BrowseReplacesTheBoxUnlessCancelled) {
  const StringTable& strings = StringTable::Builtin();
  TfrmSelectDirectory form(strings);
  form.SetDirectory("/home/user/config");
  QString asked_title;
  QString asked_start;
  QString answer = "/media/stick/configs/";
  form.choose_folder = [&](const QString& title, const QString& start) {
    asked_title = title;
    asked_start = start;
    return answer;
  };
  auto* browse = form.findChild<QPushButton*>("btnBrowse");
  ASSERT_NE(browse, nullptr);
  QTest::mouseClick(browse, Qt::LeftButton);
  EXPECT_EQ(asked_title.toStdString(), strings.Text(15037));
  EXPECT_EQ(asked_start, "/home/user/config");
  EXPECT_EQ(form.Directory(), "/media/stick/configs");

  answer = "";  // cancelled
  QTest::mouseClick(browse, Qt::LeftButton);
  EXPECT_EQ(asked_start, "/media/stick/configs");
  EXPECT_EQ(form.Directory(), "/media/stick/configs");
}

}  // namespace
}  // namespace vyn::ui
