#include "core/app/startup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/access/password_store.h"
#include "core/settings/vyn_ini.h"
#include "core/strings/string_table.h"

#include "support/temp_folder.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;

constexpr char kDeliveredSettings[] =
    "[Setup]\nConfigDirectory=\nAppVersion=\n\n[YesNo]\n0=Nein\n1=Ja\n2=<END>\n";

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& file, const std::string& content) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << content;
}

// A fake machine: a home with data and documents folders and an installation folder that holds
// the delivered files and is also the executable's folder.
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_ / "home/.local/share");
    fs::create_directories(root_ / "home/Documents");
    fs::create_directories(root_ / "opt/vyn");
    WriteAll(Install() / "Values.i", kDeliveredSettings);
    WriteAll(Install() / "Default.b", DeliveredDefault());
    env_.data_folder = (root_ / "home/.local/share").string();
    env_.documents_folder = (root_ / "home/Documents").string();
    env_.executable_folder = Install().string();
    env_.install_folder = Install().string();
    env_.program_version = "1.0.0";
  }
  fs::path Install() const { return root_ / "opt/vyn"; }
  static std::string DeliveredDefault() { return std::string(2048, '\x5a'); }
  std::string ProgramData() const { return env_.data_folder + "/KEMB/VYN IP GSM Programmer (DE)/"; }

  StartupResult Run(const StringTable& table = StringTable::Builtin()) {
    return RunMainWindowStartup(env_, table);
  }

  testing::TempFolder folder_;
  const fs::path root_ = folder_.Path();
  StartupEnvironment env_;
};

TEST_F(StartupTest, FirstStartCreatesFoldersAndCopiesTheDeliveredFiles) {
  const StartupResult result = Run();

  EXPECT_EQ(result.ProgramDataFolder, ProgramData());
  EXPECT_EQ(result.ConfigFolder, env_.documents_folder + "/KEMB/VYN IP config/");
  EXPECT_EQ(result.DefaultDirectory, env_.documents_folder + "/KEMB/VYN IP config");
  EXPECT_EQ(result.SettingsFile, ProgramData() + "Values.ini");
  EXPECT_FALSE(result.SettingsUpdated);
  EXPECT_TRUE(fs::is_directory(result.ConfigFolder));

  const VynIni ini(result.SettingsFile);
  EXPECT_EQ(ini.ReadText(kSetupSection, kAppVersionKey), "1.0.0");
  EXPECT_EQ(ini.ReadText("YesNo", "1"), "Ja");
  EXPECT_EQ(ReadAll(ProgramData() + "Default.bin"), DeliveredDefault());

  const PasswordStore store(ProgramData() + kPasswordStoreFileName);
  EXPECT_EQ(store.LevelFor("8109"), 2);
  EXPECT_EQ(store.LevelFor("7162"), 3);
  EXPECT_EQ(store.LevelFor("ortex"), 5);
}

TEST_F(StartupTest, CreatedFoldersGetTheirPermissionsWhateverTheUmask) {
  // The program data folder holds the password store: the user's only. The configuration
  // folder's files are handed on: readable, as a documents folder is. Nobody else writes.
  const fs::perms user_only = fs::perms::owner_all;
  const fs::perms readable = user_only | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec;
  for (const mode_t mask : {mode_t{0}, mode_t{002}, mode_t{027}, mode_t{077}}) {
    SCOPED_TRACE(mask);
    fs::remove_all(fs::path(env_.data_folder) / "KEMB");
    fs::remove_all(fs::path(env_.documents_folder) / "KEMB");
    const mode_t old_mask = umask(mask);
    const StartupResult result = Run();
    umask(old_mask);
    const std::pair<fs::path, fs::perms> expected[] = {
        {fs::path(env_.data_folder) / "KEMB", user_only},
        {fs::path(result.ProgramDataFolder), user_only},
        {fs::path(env_.documents_folder) / "KEMB", readable},
        {fs::path(result.ConfigFolder), readable}};
    for (const auto& [folder, perms] : expected) {
      EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, perms) << folder;
    }
  }
}

TEST_F(StartupTest, SecondStartWithTheSameVersionCopiesNothing) {
  Run();
  const VynIni ini(ProgramData() + "Values.ini");
  ASSERT_TRUE(ini.WriteText("YesNo", "1", "Jawohl"));
  WriteAll(ProgramData() + "Default.bin", "changed by the user");

  const StartupResult result = Run();

  EXPECT_FALSE(result.SettingsUpdated);
  EXPECT_EQ(ini.ReadText("YesNo", "1"), "Jawohl");
  EXPECT_EQ(ReadAll(ProgramData() + "Default.bin"), "changed by the user");
}

TEST_F(StartupTest, VersionChangeReplacesBothFilesButKeepsTheSavedDirectory) {
  Run();
  const VynIni ini(ProgramData() + "Values.ini");
  ASSERT_TRUE(ini.WriteText("YesNo", "1", "Jawohl"));
  ASSERT_TRUE(ini.WriteText(kSetupSection, kConfigDirectoryKey, "/srv/configs/"));
  WriteAll(ProgramData() + "Default.bin", "changed by the user");
  env_.program_version = "1.0.1";

  const StartupResult result = Run();

  EXPECT_TRUE(result.SettingsUpdated);
  EXPECT_EQ(ini.ReadText("YesNo", "1"), "Ja");
  EXPECT_EQ(ini.ReadText(kSetupSection, kConfigDirectoryKey), "/srv/configs/");
  EXPECT_EQ(ini.ReadText(kSetupSection, kAppVersionKey), "1.0.1");
  EXPECT_EQ(ReadAll(ProgramData() + "Default.bin"), DeliveredDefault());
  EXPECT_EQ(result.DefaultDirectory, "/srv/configs");
}

TEST_F(StartupTest, MissingDeliveredSettingsFileCopiesNothingButStoresPasswords) {
  fs::remove(Install() / "Values.i");
  const StartupResult result = Run();
  EXPECT_FALSE(fs::exists(result.SettingsFile));
  EXPECT_TRUE(fs::exists(ProgramData() + "Default.bin"));
  EXPECT_EQ(PasswordStore(ProgramData() + kPasswordStoreFileName).LevelFor("8109"), 2);
  EXPECT_EQ(result.DefaultDirectory, env_.documents_folder + "/KEMB/VYN IP config");
}

TEST_F(StartupTest, CommandLineFolderWinsOnlyAsTheOneExistingArgument) {
  const std::string saved = (root_ / "saved").string();
  const std::string given = (root_ / "given/").string();  // kept as typed, separator and all
  fs::create_directories(given);
  Run();
  ASSERT_TRUE(VynIni(ProgramData() + "Values.ini")
                  .WriteText(kSetupSection, kConfigDirectoryKey, saved + "/"));
  struct Case {
    std::vector<std::string> arguments;
    std::string expected;
  };
  const Case cases[] = {
      {{}, saved},
      {{given}, given},
      {{given, given}, saved},
      {{(root_ / "missing").string()}, saved},
      {{ProgramData() + "Values.ini"}, saved},  // a file, not a folder
  };
  for (const Case& c : cases) {
    env_.arguments = c.arguments;
    EXPECT_EQ(Run().DefaultDirectory, c.expected) << ::testing::PrintToString(c.arguments);
  }
}

TEST_F(StartupTest, MissingUserFoldersFallBackToTheExecutablesFolder) {
  for (const std::string& missing : {std::string(), (root_ / "nowhere").string()}) {
    env_.data_folder = missing;
    env_.documents_folder = missing;
    const StartupResult result = Run();
    EXPECT_EQ(result.ProgramDataFolder, env_.executable_folder + "/") << missing;
    EXPECT_EQ(result.ConfigFolder, env_.executable_folder + "/Config/") << missing;
    EXPECT_EQ(result.DefaultDirectory, env_.executable_folder + "/Config") << missing;
    EXPECT_TRUE(fs::is_directory(result.ConfigFolder));
    EXPECT_TRUE(fs::exists(env_.executable_folder + "/Values.ini"));
    EXPECT_FALSE(fs::exists(root_ / "nowhere"));
  }
}

TEST_F(StartupTest, VelkstromUsesItsOwnConfigurationFolder) {
  const StartupResult result = Run(StringTable::Builtin().WithText(15555, "Velkstrom"));
  EXPECT_EQ(result.ConfigFolder, env_.documents_folder + "/KEMB/IP Hob config/");
  EXPECT_TRUE(fs::is_directory(result.ConfigFolder));
}

TEST_F(StartupTest, ExistingLowerCaseDefaultConfigurationIsTheOneKept) {
  fs::create_directories(ProgramData());
  WriteAll(ProgramData() + "default.bin", "the user's own");
  Run();
  EXPECT_FALSE(fs::exists(ProgramData() + "Default.bin"));
  EXPECT_EQ(ReadAll(DefaultConfigurationPath(ProgramData())), "the user's own");
}

TEST_F(StartupTest, DefaultConfigurationPathFindsTheFileWhateverItsCase) {
  const std::string folder = root_.string();
  EXPECT_EQ(DefaultConfigurationPath(folder), folder + "/Default.bin");  // none yet
  WriteAll(root_ / "DEFAULT.BIN", "upper");
  EXPECT_EQ(DefaultConfigurationPath(folder + "/"), folder + "/DEFAULT.BIN");
  WriteAll(root_ / "default.bin", "lower");
  EXPECT_EQ(DefaultConfigurationPath(folder), folder + "/default.bin");
  WriteAll(root_ / "Default.bin", "start-up's");
  EXPECT_EQ(DefaultConfigurationPath(folder), folder + "/Default.bin");
}

TEST_F(StartupTest, CopyProgramFileCopiesEveryChunkExactly) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{2048}, std::size_t{5000}}) {
    std::string content;
    for (std::size_t i = 0; i < size; ++i) content += static_cast<char>(i * 7 % 251);
    WriteAll(root_ / "source", content);
    ASSERT_TRUE(CopyProgramFile(root_.string(), "source", "target", root_.string() + "/"));
    EXPECT_EQ(ReadAll(root_ / "target"), content) << size;
  }
}

TEST_F(StartupTest, FailedCopyLeavesTheTargetAsItWas) {
  WriteAll(root_ / "target", "good file");
  EXPECT_FALSE(CopyProgramFile(root_.string(), "missing", "target", root_.string()));
  fs::create_directory(root_ / "folder");  // opens, but cannot be read as a file
  EXPECT_FALSE(CopyProgramFile(root_.string(), "folder", "target", root_.string()));
  EXPECT_EQ(ReadAll(root_ / "target"), "good file");
  WriteAll(root_ / "source", "new content");
  EXPECT_FALSE(CopyProgramFile(root_.string(), "source", "target", (root_ / "none").string()));
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(root_)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"folder", "home", "opt", "source", "target"}));
}

// The command-line tool prepares a folder it is given the way start-up prepares the user's.
TEST_F(StartupTest, PreparingANewDataFolderCreatesEveryLevelPrivatelyAndFillsIt) {
  const fs::path folder = root_ / "new/data/folder";
  const mode_t old_mask = umask(0);
  const DataFolderPreparation prepared =
      PrepareProgramDataFolder(folder.string(), Install().string(), "1.0.0");
  umask(old_mask);
  ASSERT_TRUE(prepared.ready) << prepared.problem;
  for (const fs::path& level : {root_ / "new", root_ / "new/data", folder}) {
    EXPECT_EQ(fs::status(level).permissions() & fs::perms::all, fs::perms::owner_all) << level;
  }
  EXPECT_EQ(VynIni((folder / "Values.ini").string()).ReadText(kSetupSection, kAppVersionKey),
            "1.0.0");
  EXPECT_EQ(ReadAll(folder / "Default.bin"), DeliveredDefault());
  EXPECT_EQ(PasswordStore(folder / kPasswordStoreFileName).LevelFor("8109"), 2);
}

TEST_F(StartupTest, ADataFolderThatCannotBeMadeOrWrittenIsNotReadyAndSaysWhy) {
  WriteAll(root_ / "plain-file", "x");
  const DataFolderPreparation under_file = PrepareProgramDataFolder(
      (root_ / "plain-file/data").string(), Install().string(), "1.0.0");
  EXPECT_FALSE(under_file.ready);
  EXPECT_NE(under_file.problem.find("plain-file/data"), std::string::npos) << under_file.problem;

  // A password store that is a folder cannot receive the default passwords.
  fs::create_directories(root_ / "data" / kPasswordStoreFileName);
  const DataFolderPreparation no_store =
      PrepareProgramDataFolder((root_ / "data").string(), Install().string(), "1.0.0");
  EXPECT_FALSE(no_store.ready);
  EXPECT_NE(no_store.problem.find(kPasswordStoreFileName), std::string::npos) << no_store.problem;
}

}  // namespace
}  // namespace vyn

namespace vyn {
namespace {

TEST(MessageCounterSeedTest, StartsBelow32768) {
  for (int run = 0; run < 200; ++run) {
    Session session;
    session.MessageCounterStart = 0xFFFFFFFF;
    SeedMessageCounter(session);
    EXPECT_LT(session.MessageCounterStart, 32768u);
  }
}

}  // namespace
}  // namespace vyn
