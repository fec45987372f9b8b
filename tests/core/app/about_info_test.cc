#include "core/app/about_info.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace vyn {
namespace {

using Lines = std::vector<std::string>;

TEST(AboutInfoTest, InformationFileLines) {
  const struct {
    const char* name;
    const char* content;  // nullptr: no file
    Lines expected;
  } cases[] = {
      {"no file", nullptr, {"KEMB Electronics AB", "", ""}},
      {"lines missing",
       "[AboutInfo]\nWWW=www.example.com\nMAIL=info@example.com\n",
       {"KEMB Electronics AB", "www.example.com", "info@example.com"}},
      {"lines zero", "[Aboutinfo]\nLines=0\nLine1=x\n", {"KEMB Electronics AB", "", ""}},
      {"negative", "[Aboutinfo]\nLines=-3\n", {"KEMB Electronics AB", "", ""}},
      {"mixed case, second line missing",
       "[ABOUTINFO]\nlines=2\nLINE1=Service partner\nwww=www.example.com\n",
       {"", "Service partner", "", "www.example.com", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempFolder folder;
    const std::string path =
        c.content ? folder.Write("about.ini", c.content) : folder.File("about.ini");
    EXPECT_EQ(AboutInfoFileLines(path), c.expected);
  }
}

// A damaged count must not make the box read or show without bound.
TEST(AboutInfoTest, HugeLineCountIsCapped) {
  testing::TempFolder folder;
  for (const char* count : {"1000000000", "99999999999999999999999"}) {
    SCOPED_TRACE(count);
    const std::string path =
        folder.Write("about.ini", std::string("[Aboutinfo]\nLines=") + count + "\nLine1=a\n");
    const Lines lines = AboutInfoFileLines(path);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kMaxAboutInfoLines) + 3);
    EXPECT_EQ(lines[1], "a");
  }
}

TEST(AboutInfoTest, VersionLines) {
  EXPECT_EQ(AboutVersionLines(), (Lines{"VYN IP/GSM Programmer", "Version: " VYN_VERSION}));
}

}  // namespace
}  // namespace vyn
