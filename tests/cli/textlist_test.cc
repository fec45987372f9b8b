#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/image/image_file.h"
#include "core/reports/text_list.h"
#include "core/strings/message_ids.h"
#include "core/strings/string_table.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace vyn {
namespace {

using testing_support::ProgramRun;

// Runs the built vynctl in `folder` as a user would; `args` are blank-separated words.
ProgramRun RunVynctl(const testing::TempFolder& folder, const std::string& args) {
  std::vector<std::string> argv = {testing_support::BinPath("vynctl")};
  std::istringstream words(args);
  for (std::string word; words >> word;) argv.push_back(word);
  return testing_support::RunProgram(argv, folder.Path().string());
}

// The generated default configuration, copied to `folder` as `name`.
std::string CopyDefault(const testing::TempFolder& folder, const std::string& name) {
  const std::string path = folder.File(name);
  std::filesystem::copy_file(std::string(VYN_BIN_DIR) + "/Default.b", path);
  return path;
}

// What the editor writes for the configuration opened from `path`.
std::string ExpectedList(const std::string& path) {
  VynData data;
  EXPECT_EQ(ReadImageFile(path, data), ImageFileResult::kOk);
  data.Origin = ImageOrigin::OpenedFile;
  data.FileName = path;
  return TextListContent(data, StringTable::Builtin());
}

TEST(VynctlTextListTest, WritesTheListBesideTheFileAndPrintsItsPath) {
  testing::TempFolder folder;
  const std::string file = CopyDefault(folder, "abc.Rodid");
  const ProgramRun run = RunVynctl(folder, "textlist " + file);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, file + ".txt\n");
  EXPECT_EQ(run.err, "");
  const std::string list = testing::TempFolder::Read(file + ".txt");
  EXPECT_EQ(list, ExpectedList(file));
  EXPECT_EQ(list.substr(0, 15 + file.size() + 4), "Parameters in\r\n<" + file + ">\r\n");
}

TEST(VynctlTextListTest, ARelativeFileIsNamedByItsFullPath) {
  testing::TempFolder folder;
  const std::string file = CopyDefault(folder, "abc.Rodid");
  std::filesystem::create_directory(folder.Path() / "sub");
  const ProgramRun run = RunVynctl(folder, "textlist sub/../abc.Rodid");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, file + ".txt\n");
  EXPECT_EQ(testing::TempFolder::Read(file + ".txt"), ExpectedList(file));
}

TEST(VynctlTextListTest, OutputGoesWhereTheOptionSays) {
  testing::TempFolder folder;
  const std::string file = CopyDefault(folder, "abc.Rodid");
  const ProgramRun run = RunVynctl(folder, "textlist -o list.txt abc.Rodid");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "list.txt\n");
  EXPECT_EQ(testing::TempFolder::Read(folder.File("list.txt")), ExpectedList(file));
  EXPECT_FALSE(std::filesystem::exists(file + ".txt"));
}

TEST(VynctlTextListTest, BadFilesAndUsageErrorsFail) {
  testing::TempFolder folder;
  const std::string short_file = folder.Write("bad.Rodid", std::string(100, '\0'));
  const std::string cannot_load = StringTable::Builtin().Text(msg::kCannotLoadConfiguration);
  const struct {
    std::string args;
    int exit_code;
    std::string err_part;
  } cases[] = {
      {"textlist " + short_file, 1, cannot_load},
      {"textlist " + folder.File("missing.Rodid"), 1, cannot_load},
      {"textlist " + CopyDefault(folder, "a.Rodid") + " -o " + folder.File("no/x.txt"), 1,
       "cannot be written"},
      {"textlist a.Rodid -o ./a.Rodid", 2, "is the configuration file itself"},
      {"textlist", 2, "usage: vynctl textlist FILE [-o OUT]"},
      {"textlist a b", 2, "usage:"},
      {"textlist a -o", 2, "needs a value"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = RunVynctl(folder, c.args);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.args;
    EXPECT_NE(run.err.find(c.err_part), std::string::npos) << c.args << ": " << run.err;
    EXPECT_EQ(run.out, "") << c.args;
  }
  EXPECT_FALSE(std::filesystem::exists(short_file + ".txt"));
  EXPECT_EQ(testing::TempFolder::Read(folder.File("a.Rodid")).size(), 2048u);
}

}  // namespace
}  // namespace vyn
