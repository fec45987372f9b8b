#include "core/files/replace_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;

std::size_t EntryCount(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(ReplaceFileTest, ReplacesTheWholeFileAndKeepsItsPermissions) {
  testing::TempFolder folder;
  const std::string path = folder.Write("list.txt", std::string(5000, 'x'));
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  const std::string content("a\r\nb\0c\r\n", 8);  // bytes as they are, NUL included
  EXPECT_EQ(ReplaceFileContent(path, content), ReplaceFileResult::kOk);
  EXPECT_EQ(testing::TempFolder::Read(path), content);
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(EntryCount(folder.Path()), 1u);
}

TEST(ReplaceFileTest, FailuresLeaveNothingBehind) {
  testing::TempFolder folder;
  EXPECT_EQ(ReplaceFileContent(folder.File("missing/list.txt"), "x"),
            ReplaceFileResult::kCannotCreate);
  fs::create_directory(folder.Path() / "taken");
  fs::create_directory(folder.Path() / "taken" / "inside");
  EXPECT_EQ(ReplaceFileContent(folder.File("taken"), "x"), ReplaceFileResult::kNotAFile);
  EXPECT_TRUE(fs::is_directory(folder.Path() / "taken" / "inside"));
  EXPECT_EQ(EntryCount(folder.Path()), 1u);
  EXPECT_EQ(ReplaceFileContent(folder.Path().string() + "/", "x"), ReplaceFileResult::kNotAFile);
}

}  // namespace
}  // namespace vyn
