#include "platform/xdg_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_folder.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;

TEST(XdgFoldersTest, DocumentsEntryOfUserDirs) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", "/home/anna/Dokumente"},
      {"# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\r\n  XDG_DOCUMENTS_DIR=\"$HOME/Meine "
       "Dokumente/\"\r\n",
       "/home/anna/Meine Dokumente"},
      {"XDG_DOCUMENTS_DIR=\"/data/docs\"", "/data/docs"},
      {"XDG_DOCUMENTS_DIR=\"$HOME/A \\\"B\\\"\"", "/home/anna/A \"B\""},
      {"XDG_DOCUMENTS_DIR=\"$HOME\"", "/home/anna"},
      {"XDG_DOCUMENTS_DIR=\"$HOME/a\"\nXDG_DOCUMENTS_DIR=\"$HOME/b\"", "/home/anna/b"},
      // Forms the file does not allow, or no entry at all.
      {"XDG_DOCUMENTS_DIR=\"Dokumente\"", ""},
      {"XDG_DOCUMENTS_DIR=\"$HOMEx/Dokumente\"", ""},
      {"XDG_DOCUMENTS_DIR=$HOME/Dokumente", ""},
      {"# XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"", ""},
      {"XDG_DOCUMENTS_DIR=\"", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DocumentsFolderFromUserDirs(c.text, "/home/anna/"), c.expected) << c.text;
  }
  EXPECT_EQ(DocumentsFolderFromUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/D\"", ""), "");
}

TEST(XdgFoldersTest, DataHomeNeedsAnAbsolutePath) {
  EXPECT_EQ(DataHomeFolder("/xdg/data/", "/home/anna"), "/xdg/data");
  EXPECT_EQ(DataHomeFolder("relative", "/home/anna"), "/home/anna/.local/share");
  EXPECT_EQ(DataHomeFolder("", "/home/anna"), "/home/anna/.local/share");
  EXPECT_EQ(DataHomeFolder(nullptr, "/home/anna"), "/home/anna/.local/share");
  EXPECT_EQ(DataHomeFolder(nullptr, nullptr), "");
  EXPECT_EQ(DataHomeFolder(nullptr, ""), "");
}

class XdgFolderFilesTest : public ::testing::Test {
 protected:
  void Write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
  }
  testing::TempFolder folder_;
  const fs::path root_ = folder_.Path();
};

TEST_F(XdgFolderFilesTest, DocumentsFolderReadsUserDirsOrFallsBack) {
  const std::string home = (root_ / "home").string();
  EXPECT_EQ(DocumentsFolder(nullptr, home.c_str()), home + "/Documents");
  Write(root_ / "home/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
  EXPECT_EQ(DocumentsFolder(nullptr, home.c_str()), home + "/Dokumente");
  const std::string config = (root_ / "config").string();
  Write(root_ / "config/user-dirs.dirs", "XDG_MUSIC_DIR=\"$HOME/Musik\"\n");
  EXPECT_EQ(DocumentsFolder(config.c_str(), home.c_str()), home + "/Documents");
  EXPECT_EQ(DocumentsFolder(nullptr, nullptr), "");
}

TEST_F(XdgFolderFilesTest, InstallationFolderIsWhereValuesIs) {
  const std::string bin = (root_ / "usr/bin").string();
  fs::create_directories(bin);
  EXPECT_EQ(InstallationFolder(bin), bin);  // nothing delivered anywhere
  Write(root_ / "usr/share/vyn-programmer/Values.i", "[Setup]\n");
  EXPECT_EQ(InstallationFolder(bin), (root_ / "usr/share/vyn-programmer").string());
  Write(root_ / "usr/bin/Values.i", "[Setup]\n");
  EXPECT_EQ(InstallationFolder(bin), bin);  // beside the executable comes first
}

TEST_F(XdgFolderFilesTest, MissingDataHomeIsCreatedForTheUserOnly) {
  fs::create_directories(root_ / "home");
  const fs::path data = root_ / "home/.local/share";
  // Under a umask that lets the group write, every level made (.local too) is the user's only.
  const mode_t old_mask = umask(002);
  const bool made = EnsureUserFolder(data.string());
  umask(old_mask);
  ASSERT_TRUE(made);
  EXPECT_TRUE(fs::is_directory(data));
  for (const fs::path& level : {root_ / "home/.local", data}) {
    EXPECT_EQ(fs::status(level).permissions() & fs::perms::all, fs::perms::owner_all) << level;
  }
  EXPECT_TRUE(EnsureUserFolder(data.string()));  // an existing folder is kept as it is
  EXPECT_FALSE(EnsureUserFolder(""));
  Write(root_ / "file", "x");
  EXPECT_FALSE(EnsureUserFolder((root_ / "file/share").string()));
}

TEST(XdgFoldersSystemTest, ExecutableFolderHoldsTheTestProgram) {
  EXPECT_TRUE(fs::exists(fs::path(ExecutableFolder()) / "platform_tests"));
}

}  // namespace
}  // namespace vyn
