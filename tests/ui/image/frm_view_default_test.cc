#include "ui/image/frm_view_default.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/strings/string_table.h"

namespace vyn::ui {
namespace {

QStringList Items(const TfrmViewDefault& form) {
  auto* combo = form.findChild<QComboBox*>("cmbDefaultConfig");
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

TEST(TfrmViewDefaultTest, EmptyFolderShowsThePlaceholderAndChoosesNothing) {
  const StringTable& strings = StringTable::Builtin();
  TfrmViewDefault form(strings);
  form.SetConfigurations({"prepared.bin"});
  form.SetConfigurations({});
  EXPECT_EQ(Items(form), QStringList{QString::fromStdString(strings.Text(13734))});
  EXPECT_EQ(form.ChosenConfiguration(), "");
}

TEST(TfrmViewDefaultTest, FirstNameIsChosenAndAnotherCanBe) {
  TfrmViewDefault form(StringTable::Builtin());
  form.SetConfigurations({"care home.bin", "flat.bin"});
  EXPECT_EQ(Items(form), (QStringList{"care home.bin", "flat.bin"}));
  EXPECT_EQ(form.ChosenConfiguration(), "care home.bin");
  form.findChild<QComboBox*>("cmbDefaultConfig")->setCurrentIndex(1);
  EXPECT_EQ(form.ChosenConfiguration(), "flat.bin");
}

TEST(TfrmViewDefaultTest, ExplanationIsNinetyPercentOfTheGroup) {
  TfrmViewDefault form(StringTable::Builtin());
  form.show();
  const int group = form.findChild<QGroupBox*>("gbxSelectNewConfiguration")->width();
  EXPECT_EQ(form.findChild<QLabel*>("lblConfigInfo")->width(), group * 9 / 10);
  EXPECT_EQ(form.windowTitle().toStdString(), StringTable::Builtin().Text(13731));
}

}  // namespace
}  // namespace vyn::ui
