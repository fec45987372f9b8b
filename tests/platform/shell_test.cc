#include "platform/shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "support/temp_folder.h"

namespace vyn {
namespace {

// Puts a stand-in opener first on PATH that records the argument it was given.
class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* path = std::getenv("PATH");
    saved_path_ = path != nullptr ? path : "";
    setenv("PATH", folder_.Path().c_str(), 1);
  }
  void TearDown() override { setenv("PATH", saved_path_.c_str(), 1); }

  void InstallOpener(mode_t mode) {
    // PATH holds only this folder, so the script names everything else by its full path.
    const std::string record = folder_.File("opened");
    const std::string script =
        folder_.Write("xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + record +
                                      ".part' && /bin/mv '" + record + ".part' '" + record + "'\n");
    chmod(script.c_str(), mode);
  }

  // The argument the opener received; it runs detached, so its record is waited for.
  std::string Opened() const {
    const std::string record = folder_.File("opened");
    for (int i = 0; i < 500 && !std::filesystem::exists(record); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return testing::TempFolder::Read(record);
  }

  testing::TempFolder folder_;
  std::string saved_path_;
};

TEST_F(ShellTest, HandsThePathToTheOpenerAsOneArgument) {
  InstallOpener(0755);
  const std::string path = "/data/a list; $(rm -rf x) 'quoted'.txt";
  EXPECT_TRUE(OpenWithAssociatedProgram(path));
  EXPECT_EQ(Opened(), path);
}

TEST_F(ShellTest, ANameStartingWithADashIsNotTakenForAnOption) {
  InstallOpener(0755);
  EXPECT_TRUE(OpenWithAssociatedProgram("-x.txt"));
  EXPECT_EQ(Opened(), "./-x.txt");
}

TEST_F(ShellTest, FailsWithoutAUsableOpener) {
  EXPECT_FALSE(OpenWithAssociatedProgram("/data/list.txt"));  // none on PATH
  InstallOpener(0644);                                        // present but not executable
  EXPECT_FALSE(OpenWithAssociatedProgram("/data/list.txt"));
  // Executable, but its interpreter is missing, so the exec itself fails.
  chmod(folder_.Write("xdg-open", "#!/nonexistent/sh\n").c_str(), 0755);
  EXPECT_FALSE(OpenWithAssociatedProgram("/data/list.txt"));
  InstallOpener(0755);
  EXPECT_FALSE(OpenWithAssociatedProgram(""));
}

}  // namespace
}  // namespace vyn
