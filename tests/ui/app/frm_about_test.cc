#include "ui/app/frm_about.h"

#include <QLabel>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/about_info.h"
#include "core/strings/string_table.h"
#include "support/temp_folder.h"

namespace vyn::ui {
namespace {

std::vector<std::string> MemoLines(const TfrmAbout& form) {
  std::vector<std::string> lines;
  for (const QString& line : form.findChild<QPlainTextEdit*>("mmoInfo")->toPlainText().split('\n'))
    lines.push_back(line.toStdString());
  return lines;
}

TEST(TfrmAboutTest, ShowsVersionZixAndInformationFileLinesEachTimeItIsShown) {
  testing::TempFolder folder;
  const std::string ini =
      folder.Write("about.ini",
                   "[AboutInfo]\r\nLines=2\r\nLine1=Service partner\r\nLine2=Town\r\n"
                   "WWW=www.example.org\r\nMAIL=service@example.org\r\n");
  std::vector<std::string> expected = AboutVersionLines();
  for (const char* line : {"", "Service partner", "Town", "www.example.org", "service@example.org"})
    expected.push_back(line);

  const struct {
    std::string answer;
    const char* label;
  } cases[] = {
      {"V01.02.0304", "ZIX info: V01.02.0304"}, {"", ""},  // the unit does not answer
  };
  for (const auto& c : cases) {
    int reads = 0;
    TfrmAbout form(StringTable::Builtin(), [&] {
      ++reads;
      return c.answer;
    });
    form.SetAboutIniPath(ini);
    for (int shown = 0; shown < 2; ++shown) {  // the memo is rebuilt, not appended to
      form.show();
      EXPECT_EQ(MemoLines(form), expected);
      EXPECT_EQ(form.findChild<QLabel*>("lblZixVersion")->text().toStdString(), c.label);
      form.hide();
    }
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(form.windowTitle().toStdString(), StringTable::Builtin().Text(13701));
  }
}

TEST(TfrmAboutTest, MissingInformationFileGivesTheMakersLine) {
  testing::TempFolder folder;
  TfrmAbout form(StringTable::Builtin(), [] { return std::string(); });
  form.SetAboutIniPath(folder.File("about.ini"));
  form.show();
  std::vector<std::string> expected = AboutVersionLines();
  expected.push_back("KEMB Electronics AB");
  expected.push_back("");
  expected.push_back("");
  EXPECT_EQ(MemoLines(form), expected);
}

}  // namespace
}  // namespace vyn::ui
