// vynctl zix-version, read and write against the unit simulator on a real pseudo-terminal.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/image/parameter_image.h"
#include "core/link/write_plan.h"
#include "core/session/session.h"
#include "core/strings/message_ids.h"
#include "core/strings/string_table.h"
#include "support/editor_stored.h"
#include "support/run_program.h"
#include "support/unit_sim_process.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;
using testing_support::BinPath;
using testing_support::ProgramRun;
using testing_support::RunProgram;
using testing_support::UnitSim;

std::string Text(int id) { return StringTable::Builtin().Text(id); }

ParameterImage ReadImage(const fs::path& path) {
  ParameterImage image{};
  std::ifstream in(path, std::ios::binary);
  in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
  return image;
}

void WriteImage(const fs::path& path, const ParameterImage& image) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(image.data()),
            static_cast<std::streamsize>(image.size()));
}

// An image with a different byte at nearly every address and eight distinct transmitter codes.
ParameterImage PatternImage() {
  ParameterImage image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 13 + 1);
  return image;
}

// Whether a write at access level 0 keeps the unit's byte at `address`.
bool Protected(int address) {
  for (const WritePlanStep& step : MakeWritePlan(Session{})) {
    if (address >= step.range.first && address <= step.range.last) return true;
  }
  return false;
}

class DeviceCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vyn-device-commands-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    image_file_ = dir_ / "image.Rodid";
    WriteImage(image_file_, PatternImage());
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::vector<std::string> SimArgs(std::vector<std::string> extra) const {
    std::vector<std::string> args = {"--memory", (dir_ / "memory.bin").string(), "--log",
                                     (dir_ / "sim.log").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }
  ProgramRun Vynctl(std::vector<std::string> args) const {
    args.insert(args.begin(), BinPath("vynctl"));
    return RunProgram(args);
  }
  ProgramRun Write(const std::string& port) const {
    return Vynctl({"write", image_file_.string(), "--port", port, "--sip-dir", dir_.string(),
                   "--data-dir", dir_.string()});
  }
  ProgramRun Read(const std::string& port) const {
    return Vynctl(
        {"read", "-o", (dir_ / "read.Rodid").string(), "--port", port, "--data-dir", dir_.string()});
  }

  fs::path dir_;
  fs::path image_file_;
};

TEST_F(DeviceCommandsTest, ZixVersion) {
  UnitSim sim(SimArgs({"--zix-version", "14-1-V03.00"}));
  ASSERT_FALSE(sim.path().empty());
  const ProgramRun run = Vynctl({"zix-version", "--port", sim.path()});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "14-1-V03.00\n");
}

TEST_F(DeviceCommandsTest, WriteThenReadGivesTheImageOutsideTheProtectedRanges) {
  for (const char* kind : {"5", "1"}) {
    SCOPED_TRACE(std::string("memory kind ") + kind);
    fs::remove(dir_ / "memory.bin");
    UnitSim sim(SimArgs({"--memory-kind", kind}));
    ASSERT_FALSE(sim.path().empty());
    std::ofstream(dir_ / "sip_numbers_new.txt") << "new list";

    const ProgramRun write = Write(sim.path());
    EXPECT_EQ(write.exit_code, 0) << write.err;
    EXPECT_NE(write.err.find(Text(msg::kProgrammingComplete)), std::string::npos) << write.err;
    // The pattern's list bytes are not in the lists: reported as opening the file reports them.
    EXPECT_NE(write.err.find("Fehler beim konvertiernen der Daten."), std::string::npos);
    EXPECT_TRUE(fs::exists(dir_ / "sip_numbers.txt"));
    EXPECT_FALSE(fs::exists(dir_ / "sip_numbers_new.txt"));

    const ProgramRun read = Read(sim.path());
    EXPECT_EQ(read.exit_code, 0) << read.err;
    EXPECT_NE(read.err.find(Text(msg::kReadComplete)), std::string::npos) << read.err;
    // The file went through the editor's load and store, as the window would send it.
    const ParameterImage written =
        testing_support::EditorStored(PatternImage(), testing_support::BinPath("Values.i"));
    EXPECT_EQ(written[0x161], 5);
    EXPECT_EQ(written[0x123], PatternImage()[0x123]);  // a duplex value nobody touched
    const ParameterImage back = ReadImage(dir_ / "read.Rodid");
    int differing = 0;
    for (int address = 0; address < static_cast<int>(kImageSize); ++address) {
      // The unit's memory started as zero bytes, which the protected ranges keep.
      const std::uint8_t expected = Protected(address) ? 0 : written[address];
      if (back[address] != expected) ++differing;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(sim.Stop(), 0);
  }
}

TEST_F(DeviceCommandsTest, Failures) {
  struct Case {
    const char* name;
    std::vector<std::string> sim_args;
    bool write;
    int message;
  };
  const std::vector<Case> cases = {
      {"NAKed block", {"--fault", "200:nak"}, true, msg::kWriteFailed},
      {"differing read-back", {"--stuck-byte", "345"}, true, msg::kVerifyFailed},
      {"memory kind 4", {"--memory-kind", "4"}, false, msg::kUnsupportedMemoryKind},
      {"memory kind 4 on write", {"--memory-kind", "4"}, true, msg::kUnsupportedMemoryKind},
      {"old Zix", {"--zix-version", "13-1-V01.00"}, false, msg::kZixFirmwareTooOld},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(dir_ / "memory.bin");  // each unit starts with zero bytes
    UnitSim sim(SimArgs(c.sim_args));
    ASSERT_FALSE(sim.path().empty());
    const ProgramRun run = c.write ? Write(sim.path()) : Read(sim.path());
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find(Text(c.message)), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir_ / "read.Rodid"));
  }
}

TEST_F(DeviceCommandsTest, NoDevice) {
  const std::string missing = (dir_ / "no-such-tty").string();
  for (const std::string command : {"zix-version", "read", "write"}) {
    SCOPED_TRACE(command);
    const ProgramRun run = command == "write"  ? Write(missing)
                           : command == "read" ? Read(missing)
                                               : Vynctl({"zix-version", "--port", missing});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find(Text(msg::kZixNotFound)), std::string::npos) << run.err;
  }
}

// A port that opens but never answers, as a Zix without power behind its USB adapter.
TEST_F(DeviceCommandsTest, SilentZixIsNotFoundRatherThanTooOld) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string port = ptsname(master);
  for (const std::string command : {"zix-version", "read"}) {
    SCOPED_TRACE(command);
    const ProgramRun run = command == "read" ? Read(port) : Vynctl({"zix-version", "--port", port});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find(Text(msg::kZixNotFound)), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find(Text(msg::kZixFirmwareTooOld)), std::string::npos) << run.err;
  }
  close(master);
}

TEST_F(DeviceCommandsTest, PasswordThatGrantsNothingStopsBeforeTheDevice) {
  const ProgramRun run =
      Vynctl({"write", image_file_.string(), "--port", (dir_ / "no-such-tty").string(),
              "--password", "not a password", "--data-dir", dir_.string()});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find(Text(msg::kWrongPassword)), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find(Text(msg::kZixNotFound)), std::string::npos) << run.err;
}

TEST_F(DeviceCommandsTest, UsageErrors) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"read"},
                                             {"write"},
                                             {"read", "-o"},
                                             {"zix-version", "extra"},
                                             {"write", "a", "--bogus"}}) {
    EXPECT_EQ(Vynctl(args).exit_code, 2) << args.front();
  }
}

}  // namespace
}  // namespace vyn

namespace vyn {
namespace {

// An output that cannot be written is found before the whole unit is read, not after.
TEST_F(DeviceCommandsTest, ReadChecksItsOutputBeforeTalkingToTheUnit) {
  UnitSim sim(SimArgs({}));
  ASSERT_FALSE(sim.path().empty());
  for (const std::string& out : {(dir_ / "no/such/x.Rodid").string(), dir_.string()}) {
    const ProgramRun run =
        Vynctl({"read", "-o", out, "--port", sim.path(), "--data-dir", dir_.string()});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err.rfind("vynctl read: " + out + ": cannot be written (", 0), 0u) << run.err;
  }
  EXPECT_EQ(sim.Stop(), 0);
  std::ifstream log(dir_ / "sim.log");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(log), {}), "");
}

// Every read and verified write leaves a backup in the data folder; `backups` lists them.
TEST_F(DeviceCommandsTest, ReadsAndWritesAreBackedUpAndListed) {
  UnitSim sim(SimArgs({}));
  ASSERT_FALSE(sim.path().empty());
  ASSERT_EQ(Write(sim.path()).exit_code, 0);
  ASSERT_EQ(Read(sim.path()).exit_code, 0);
  EXPECT_EQ(sim.Stop(), 0);
  const ProgramRun list = Vynctl({"backups", "--data-dir", dir_.string()});
  ASSERT_EQ(list.exit_code, 0) << list.err;
  std::vector<std::string> lines;
  std::istringstream in(list.out);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 2u) << list.out;
  EXPECT_NE(lines[0].find("  read   "), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("  written  "), std::string::npos) << lines[1];
  const std::string newest = lines[0].substr(lines[0].find(dir_.string()));
  EXPECT_EQ(ReadImage(newest), ReadImage(dir_ / "read.Rodid"));
  EXPECT_EQ(fs::status(dir_ / "backups").permissions() & fs::perms::all, fs::perms::owner_all);

  // The pattern image carries the serial number 0x0FD-0x0FF of its own.
  const ParameterImage image = PatternImage();
  const unsigned serial = image[0x0FD] << 16 | image[0x0FE] << 8 | image[0x0FF];
  EXPECT_EQ(Vynctl({"backups", "--serial", std::to_string(serial), "--data-dir", dir_.string()})
                .out.empty(),
            Protected(0x0FD));
  EXPECT_EQ(Vynctl({"backups", "--serial", "x"}).exit_code, 2);
}

}  // namespace
}  // namespace vyn

namespace vyn {
namespace {

// Runs vynctl with stderr on a pseudo-terminal (stdout and stdin on /dev/null) and returns what
// the terminal showed.
std::string RunOnTerminal(const std::vector<std::string>& words) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return "<no pty>";
  const std::string slave = ptsname(master);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, slave.c_str(), O_RDWR | O_NOCTTY, 0);
  posix_spawn_file_actions_addclose(&actions, master);
  std::vector<std::string> argv = {BinPath("vynctl")};
  argv.insert(argv.end(), words.begin(), words.end());
  std::vector<char*> args;
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  std::string shown;
  if (spawned == 0) {
    char buffer[4096];
    // Read until the program has ended and the terminal holds nothing more.
    for (;;) {
      pollfd fd{master, POLLIN, 0};
      if (poll(&fd, 1, 200) > 0 && (fd.revents & POLLIN)) {
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) break;
        shown.append(buffer, static_cast<std::size_t>(n));
        continue;
      }
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) break;
    }
  }
  close(master);
  return shown;
}

// On a terminal, device commands show their status texts and a progress bar by default, so a
// unit that is slow to get ready is not a silent wait; --quiet shows neither.
TEST_F(DeviceCommandsTest, DeviceCommandsShowProgressOnATerminal) {
  UnitSim sim(SimArgs({"--ready-after", "3"}));
  ASSERT_FALSE(sim.path().empty());
  const std::string shown = RunOnTerminal(
      {"write", image_file_.string(), "--port", sim.path(), "--data-dir", dir_.string()});
  EXPECT_NE(shown.find("vynctl write: " + Text(msg::kUnitBusyWaiting)), std::string::npos) << shown;
  EXPECT_NE(shown.find("vynctl write: [################................] 1024/2048"),
            std::string::npos)
      << shown;
  EXPECT_NE(shown.find(Text(msg::kProgrammingComplete)), std::string::npos) << shown;

  const std::string quiet = RunOnTerminal({"write", image_file_.string(), "--port", sim.path(),
                                           "--data-dir", dir_.string(), "--quiet"});
  EXPECT_EQ(quiet.find(Text(msg::kUnitBusyWaiting)), std::string::npos) << quiet;
  EXPECT_EQ(quiet.find("/2048"), std::string::npos) << quiet;
  EXPECT_NE(quiet.find(Text(msg::kProgrammingComplete)), std::string::npos) << quiet;

  // Not on a terminal: no bar, and status texts only with --verbose.
  const ProgramRun piped = Write(sim.path());
  EXPECT_EQ(piped.exit_code, 0) << piped.err;
  EXPECT_EQ(piped.err.find("/2048"), std::string::npos) << piped.err;
  EXPECT_EQ(piped.err.find(Text(msg::kWritingToUnit)), std::string::npos) << piped.err;
  EXPECT_EQ(sim.Stop(), 0);
}

}  // namespace
}  // namespace vyn
