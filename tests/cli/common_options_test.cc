// The options every vynctl command shares, and the data folder it prepares as the programmer's
// start-up does.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/image/parameter_image.h"
#include "core/link/write_plan.h"
#include "core/session/session.h"
#include "core/strings/message_ids.h"
#include "core/strings/string_table.h"
#include "support/editor_stored.h"
#include "support/run_program.h"
#include "support/temp_folder.h"
#include "support/unit_sim_process.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;
using testing_support::BinPath;
using testing_support::ProgramRun;
using Words = std::vector<std::string>;

ProgramRun Vynctl(Words args) {
  args.insert(args.begin(), BinPath("vynctl"));
  return testing_support::RunProgram(args);
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CommonOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(fs::path(VYN_BIN_DIR) / "Default.b", folder_.Path() / "a.Rodid");
    fs::copy_file(fs::path(VYN_BIN_DIR) / "Default.b", folder_.Path() / "b.Rodid");
  }
  std::string File(const std::string& name) const { return folder_.File(name); }

  testing::TempFolder folder_;
};

TEST_F(CommonOptionsTest, EveryCommandTakesTheDataFolderBeforeAndAfterItsName) {
  const std::string no_port = File("no-such-tty");
  struct Case {
    Words words;  // the command and its own arguments
    int exit_code;
  };
  const std::vector<Case> cases = {
      {{"show", File("a.Rodid")}, 0},
      {{"convert", File("a.Rodid"), "-o", File("c.Rodid")}, 0},
      {{"diff", File("a.Rodid"), File("b.Rodid")}, 0},
      {{"strings", "10001"}, 0},
      {{"textlist", File("a.Rodid"), "-o", File("list.txt")}, 0},
      {{"zix-version", "--port", no_port}, 1},
      {{"read", "-o", File("read.Rodid"), "--port", no_port}, 1},
      {{"write", File("a.Rodid"), "--port", no_port}, 1},
  };
  for (const Case& c : cases) {
    for (const bool before : {true, false}) {
      SCOPED_TRACE(c.words.front() + (before ? " (option first)" : " (option last)"));
      const std::string data = File(c.words.front() + (before ? "-before" : "-after"));
      Words args = c.words;
      args.insert(before ? args.begin() : args.end(), {"--data-dir", data});
      const ProgramRun run = Vynctl(args);
      EXPECT_EQ(run.exit_code, c.exit_code) << run.err;
      EXPECT_EQ(run.err.find("option"), std::string::npos) << run.err;
    }
  }
  // The commands that read the data folder found it prepared; the others left it alone.
  EXPECT_TRUE(fs::exists(File("show-before") + "/Values.ini"));
  EXPECT_TRUE(fs::exists(File("write-after") + "/VynLng.tbl"));
  EXPECT_FALSE(fs::exists(File("diff-before")));
}

TEST_F(CommonOptionsTest, WriteWithTheLevelTwoPasswordIntoANewDataFolder) {
  testing_support::UnitSim sim({"--memory", File("memory.bin"), "--log", File("sim.log")});
  ASSERT_FALSE(sim.path().empty());
  ParameterImage image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
  std::ofstream(File("pattern.Rodid"), std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(kImageSize));

  const std::string data = File("fresh/data");
  const ProgramRun write = Vynctl({"--data-dir", data, "write", File("pattern.Rodid"), "--port",
                                   sim.path(), "--password", "8109"});
  ASSERT_EQ(write.exit_code, 0) << write.err;
  EXPECT_EQ(write.err.find(StringTable::Builtin().Text(msg::kWrongPassword)), std::string::npos);
  const ProgramRun read =
      Vynctl({"read", "-o", File("back.Rodid"), "--port", sim.path(), "--data-dir", data});
  ASSERT_EQ(read.exit_code, 0) << read.err;

  // The unit started with zero bytes; the level-2 plan keeps its protected ranges, and they are
  // not the ranges of level 0.
  Session level_two;
  level_two.AccessLevel = 2;
  const auto protected_in = [](const Session& session, int address) {
    for (const WritePlanStep& step : MakeWritePlan(session)) {
      if (address >= step.range.first && address <= step.range.last) return true;
    }
    return false;
  };
  // The file went through the editor's load and store, as the window would send it.
  const ParameterImage sent = testing_support::EditorStored(image, data + "/Values.ini", 2);
  const std::string back = ReadAll(File("back.Rodid"));
  ASSERT_EQ(back.size(), kImageSize);
  int differing = 0;
  int level_differences = 0;
  for (int address = 0; address < static_cast<int>(kImageSize); ++address) {
    const bool kept = protected_in(level_two, address);
    if (kept != protected_in(Session{}, address)) ++level_differences;
    const std::uint8_t expected = kept ? 0 : sent[address];
    if (static_cast<std::uint8_t>(back[address]) != expected) ++differing;
  }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(level_differences, 0);
  EXPECT_EQ(sim.Stop(), 0);
}

TEST_F(CommonOptionsTest, ShowChecksTheListsOfTheDataFoldersSettingsFile) {
  const std::string data = File("data");
  ASSERT_EQ(Vynctl({"show", File("a.Rodid"), "--data-dir", data}).exit_code, 0);

  // Without the SequenceNumber section the sequence bytes of the alarm type groups are invalid.
  std::string values = ReadAll(data + "/Values.ini");
  const std::size_t begin = values.find("[SequenceNumber]");
  ASSERT_NE(begin, std::string::npos);
  values.erase(begin, values.find("\n[", begin + 1) + 1 - begin);
  std::ofstream(data + "/Values.ini", std::ios::binary | std::ios::trunc) << values;

  const ProgramRun run = Vynctl({"show", File("a.Rodid"), "--data-dir", data});
  EXPECT_EQ(run.exit_code, 4);
  for (const char* address : {"0x080", "0x089"}) {
    EXPECT_NE(run.err.find(std::string("at address ") + address), std::string::npos) << run.err;
  }
  EXPECT_EQ(run.err.find("0x070"), std::string::npos) << run.err;
}

TEST_F(CommonOptionsTest, ADataFolderThatCannotBeMadeFailsWithAMessage) {
  std::ofstream(File("plain")) << "not a folder";
  for (const Words& words :
       {Words{"show", File("a.Rodid")}, Words{"write", File("a.Rodid"), "--password", "8109"}}) {
    SCOPED_TRACE(words.front());
    Words args = words;
    args.insert(args.end(), {"--data-dir", File("plain/data")});
    const ProgramRun run = Vynctl(args);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("plain/data"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(CommonOptionsTest, HelpListsTheCommonOptionsOnceAndEachCommandsOwn) {
  const ProgramRun all = Vynctl({"--help"});
  EXPECT_EQ(all.exit_code, 0);
  for (const char* word : {"--data-dir", "--port", "--trace", "--verbose"}) {
    const std::size_t first = all.out.find(word);
    EXPECT_NE(first, std::string::npos) << word;
    EXPECT_EQ(all.out.find(std::string("  ") + word, first + 1), std::string::npos) << word;
  }
  for (const char* command :
       {"show", "convert", "diff", "strings", "textlist", "zix-version", "read", "write"}) {
    EXPECT_NE(all.out.find(std::string("  ") + command), std::string::npos) << command;
  }

  const ProgramRun write = Vynctl({"write", "--help"});
  EXPECT_EQ(write.exit_code, 0);
  EXPECT_NE(write.out.find("usage: vynctl write FILE"), std::string::npos) << write.out;
  EXPECT_NE(write.out.find("--sip-dir"), std::string::npos);
  EXPECT_NE(write.out.find("--data-dir"), std::string::npos);
  EXPECT_EQ(Vynctl({"--help", "diff"}).out.find("--json"), std::string::npos);

  // Option errors are usage errors, wherever they stand.
  EXPECT_EQ(Vynctl({"show", File("a.Rodid"), "--data-dir"}).exit_code, 2);
  EXPECT_EQ(Vynctl({"--port", "a", "--port", "b", "zix-version"}).exit_code, 2);
}

}  // namespace
}  // namespace vyn
