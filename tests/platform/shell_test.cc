#include "platform/shell.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

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

  // `before` runs first in the stand-in; `exit_status` is what it ends with.
  void InstallOpener(mode_t mode, const std::string& before = "", int exit_status = 0) {
    // PATH holds only this folder, so the script names everything else by its full path.
    const std::string record = folder_.File("opened");
    const std::string script =
        folder_.Write("xdg-open", "#!/bin/sh\n" + before + "\nprintf '%s' \"$1\" > '" + record +
                                      ".part' && /bin/mv '" + record + ".part' '" + record +
                                      "'\nexit " + std::to_string(exit_status) + "\n");
    chmod(script.c_str(), mode);
  }

  // Starts the opener and waits for its outcome.
  static bool Open(const std::string& path) {
    const std::optional<OpenerLaunch> launch = StartAssociatedProgram(path);
    return launch && FinishAssociatedProgram(*launch);
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
  EXPECT_TRUE(Open(path));
  EXPECT_EQ(Opened(), path);
}

TEST_F(ShellTest, ANameStartingWithADashIsNotTakenForAnOption) {
  InstallOpener(0755);
  EXPECT_TRUE(Open("-x.txt"));
  EXPECT_EQ(Opened(), "./-x.txt");
}

TEST_F(ShellTest, FailsWithoutAUsableOpener) {
  EXPECT_FALSE(StartAssociatedProgram("/data/list.txt"));  // none on PATH
  InstallOpener(0644);                                     // present but not executable
  EXPECT_FALSE(StartAssociatedProgram("/data/list.txt"));
  // Executable, but its interpreter is missing, so the exec itself fails.
  chmod(folder_.Write("xdg-open", "#!/nonexistent/sh\n").c_str(), 0755);
  EXPECT_FALSE(Open("/data/list.txt"));
  InstallOpener(0755);
  EXPECT_FALSE(StartAssociatedProgram(""));
  // The desktop has no program for the file: xdg-open ends with a failure of its own.
  InstallOpener(0755, "", 3);
  EXPECT_FALSE(Open("/data/list.txt"));
}

TEST_F(ShellTest, TheOutcomeArrivesWhenTheOpenerEndsAndNothingOfTheCallerIsKept) {
  // A descriptor of the caller's (a display connection, say) that a child kept open would
  // outlive the caller.
  int held[2];
  ASSERT_EQ(pipe(held), 0);
  // The stand-in opener waits until the test lets it end (at most about ten seconds).
  const std::string release = folder_.File("release");
  InstallOpener(0755, "i=0; while [ ! -e '" + release +
                          "' ] && [ $i -lt 500 ]; do /bin/sleep 0.02; i=$((i+1)); done");
  const std::optional<OpenerLaunch> launch = StartAssociatedProgram("/data/list.txt");
  ASSERT_TRUE(launch);
  pollfd outcome{launch->fd, POLLIN, 0};
  EXPECT_EQ(poll(&outcome, 1, 0), 0);  // started, not waited for
  close(held[1]);
  // The caller's descriptor is closed by every child while the opener still runs.
  pollfd caller_end{held[0], POLLIN, 0};
  ASSERT_EQ(poll(&caller_end, 1, 10000), 1);
  char byte;
  EXPECT_EQ(read(held[0], &byte, 1), 0);
  close(held[0]);
  EXPECT_EQ(poll(&outcome, 1, 0), 0);
  folder_.Write("release", "");
  EXPECT_TRUE(FinishAssociatedProgram(*launch));
  EXPECT_EQ(Opened(), "/data/list.txt");
}

}  // namespace
}  // namespace vyn
