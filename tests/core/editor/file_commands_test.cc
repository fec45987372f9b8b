#include "core/editor/file_commands.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/files/path_text.h"
#include "core/session/scripted_prompter.h"
#include "core/settings/vyn_ini.h"
#include "core/strings/message_ids.h"
#include "core/strings/string_table.h"
#include "support/temp_folder.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPrompter;

class FakeChooser : public FileChooser {
 public:
  std::deque<std::optional<std::string>> open_answers;
  std::deque<std::optional<std::string>> save_answers;
  std::vector<FileDialogRequest> requests;

  std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override {
    return Answer(open_answers, request);
  }
  std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override {
    return Answer(save_answers, request);
  }

 private:
  std::optional<std::string> Answer(std::deque<std::optional<std::string>>& answers,
                                    const FileDialogRequest& request) {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// A program data folder with its default configuration (every byte 0x11), a configuration
// folder, and page hooks that count their calls.
class FileCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Data());
    fs::create_directories(Config());
    folder_.Write("data/Default.bin", std::string(2048, '\x11'));
    data_.WorkingImage.fill(0x77);
    hooks_.StoreControls = [this] {
      ++stores_;
      return store_result_;
    };
    hooks_.LoadControls = [this] {
      ++loads_;
      return load_result_;
    };
    hooks_.UpdateCaption = [this] { ++captions_; };
  }

  fs::path Data() const { return folder_.Path() / "data"; }
  fs::path Config() const { return folder_.Path() / "config"; }
  std::string ConfigFile(const std::string& name) const { return (Config() / name).string(); }
  std::string Text(int id) const { return strings_.Text(id); }

  FileCommandContext Context() {
    return {data_, prompter_, chooser_, strings_, Data().string() + "/", Config().string()};
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : prompter_.Boxes()) texts.push_back(box.text);
    return texts;
  }
  static ParameterImage Filled(std::uint8_t byte) {
    ParameterImage image;
    image.fill(byte);
    return image;
  }

  testing::TempFolder folder_;
  const StringTable& strings_ = StringTable::Builtin();
  VynData data_;
  ScriptedPrompter prompter_;
  FakeChooser chooser_;
  EditorHooks hooks_;
  StoreResult store_result_ = StoreResult::kOk;
  int load_result_ = kLoadOk;
  int stores_ = 0;
  int loads_ = 0;
  int captions_ = 0;
};

TEST_F(FileCommandsTest, SaveOfAnImageWithoutFileIsSaveAs) {
  for (ImageOrigin origin : {ImageOrigin::FromDefault, ImageOrigin::ReadFromUnit}) {
    SCOPED_TRACE(static_cast<int>(origin));
    data_.Origin = origin;
    data_.FileName.clear();
    chooser_.requests.clear();
    chooser_.save_answers = {ConfigFile("abc")};
    EXPECT_TRUE(FileSave(Context(), hooks_));
    ASSERT_EQ(chooser_.requests.size(), 1u);
    EXPECT_EQ(chooser_.requests[0].title, Text(msg::kSaveAsTitle));
    EXPECT_EQ(chooser_.requests[0].folder, Config().string());
    EXPECT_EQ(chooser_.requests[0].pattern, "*.Rodid");
    EXPECT_EQ(data_.FileName, ConfigFile("abc.Rodid"));
    EXPECT_EQ(data_.Origin, ImageOrigin::SavedFile);
    EXPECT_EQ(fs::file_size(data_.FileName), 2048u);
    EXPECT_EQ(data_.ReferenceImage, data_.WorkingImage);
    fs::remove(data_.FileName);
  }
  EXPECT_EQ(stores_, 2);
  EXPECT_EQ(captions_, 2);
  EXPECT_TRUE(prompter_.Boxes().empty());
}

TEST(WithConfigurationExtensionTest, ReplacesOrAddsTheLastComponentsExtension) {
  const struct {
    const char* path;
    const char* expected;
  } cases[] = {
      {"abc", "abc.Rodid"},
      {"abc.bin", "abc.Rodid"},
      {"abc.Rodid", "abc.Rodid"},
      {"/a.b/abc", "/a.b/abc.Rodid"},
      {"/x/abc.tar.gz", "/x/abc.tar.Rodid"},
  };
  for (const auto& c : cases) EXPECT_EQ(WithConfigurationExtension(c.path), c.expected) << c.path;
}

TEST_F(FileCommandsTest, SaveAsWithAnotherExtensionWritesTheConfigurationFile) {
  chooser_.save_answers = {ConfigFile("abc.bin")};
  EXPECT_TRUE(FileSaveAs(Context(), hooks_));
  EXPECT_EQ(data_.FileName, ConfigFile("abc.Rodid"));
  EXPECT_TRUE(fs::exists(ConfigFile("abc.Rodid")));
  EXPECT_FALSE(fs::exists(ConfigFile("abc.bin")));
}

TEST_F(FileCommandsTest, OverwriteQuestionDecides) {
  const std::string path = folder_.Write("config/abc.Rodid", "old");
  prompter_.answers = {MessageButton::kNo};
  chooser_.save_answers = {path};
  EXPECT_FALSE(FileSaveAs(Context(), hooks_));
  EXPECT_EQ(testing::TempFolder::Read(path), "old");
  EXPECT_TRUE(data_.FileName.empty());
  EXPECT_EQ(data_.Origin, ImageOrigin::FromDefault);
  EXPECT_EQ(stores_, 0);
  ASSERT_EQ(prompter_.Boxes().size(), 1u);
  EXPECT_EQ(prompter_.Boxes()[0].text, Text(msg::kOverwriteQuestion));
  EXPECT_EQ(prompter_.Boxes()[0].kind, MessageKind::kConfirmation);
  EXPECT_EQ(prompter_.Boxes()[0].buttons, MessageButtons::kYesNo);

  prompter_.answers = {MessageButton::kYes};
  chooser_.save_answers = {path};
  EXPECT_TRUE(FileSaveAs(Context(), hooks_));
  EXPECT_EQ(fs::file_size(path), 2048u);
}

// The file the extension change leads to is asked about too, or it would be replaced unasked.
TEST_F(FileCommandsTest, ExistingFileAfterTheExtensionChangeIsAskedAbout) {
  const std::string target = folder_.Write("config/abc.Rodid", "old");
  const struct {
    bool chosen_exists;
    std::deque<MessageButton> answers;
    std::size_t questions;
    bool written;
  } cases[] = {
      {true, {MessageButton::kYes, MessageButton::kNo}, 2, false},
      {true, {MessageButton::kYes, MessageButton::kYes}, 2, true},
      {false, {MessageButton::kNo}, 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.questions);
    prompter_.events.clear();
    folder_.Write("config/abc.Rodid", "old");
    fs::remove(ConfigFile("abc.bin"));
    if (c.chosen_exists) folder_.Write("config/abc.bin", "bin");
    prompter_.answers = c.answers;
    chooser_.save_answers = {ConfigFile("abc.bin")};
    EXPECT_EQ(FileSaveAs(Context(), hooks_), c.written);
    EXPECT_EQ(prompter_.Boxes().size(), c.questions);
    EXPECT_EQ(fs::file_size(target), c.written ? 2048u : 3u);
  }
}

TEST_F(FileCommandsTest, ReadOnlyTargetIsNotWritten) {
  const std::string path = folder_.Write("config/abc.Rodid", "old");
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
  chooser_.save_answers = {path};
  EXPECT_FALSE(FileSaveAs(Context(), hooks_));
  fs::permissions(path, fs::perms::owner_all);
  EXPECT_EQ(testing::TempFolder::Read(path), "old");
  EXPECT_EQ(stores_, 0);
  ASSERT_EQ(prompter_.Boxes().size(), 1u);
  EXPECT_EQ(prompter_.Boxes()[0].text, Text(msg::kConfigurationReadOnly));
  EXPECT_EQ(prompter_.Boxes()[0].kind, MessageKind::kInformation);
}

// The save replaces the file by renaming, which a read-only file would not stop by itself.
TEST_F(FileCommandsTest, SaveKeepsAFileThatBecameReadOnly) {
  const std::string path = folder_.Write("config/abc.Rodid", "old");
  fs::permissions(path, fs::perms::owner_read);
  data_.FileName = path;
  data_.Origin = ImageOrigin::OpenedFile;
  EXPECT_FALSE(FileSave(Context(), hooks_));
  fs::permissions(path, fs::perms::owner_all);
  EXPECT_EQ(testing::TempFolder::Read(path), "old");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{Text(msg::kConfigurationReadOnly)});
  EXPECT_EQ(captions_, 1);
}

TEST_F(FileCommandsTest, StoreFailureStopsSaveAsWithTheNewName) {
  store_result_ = StoreResult::kAdvancedRange;
  chooser_.save_answers = {ConfigFile("abc")};
  EXPECT_FALSE(FileSaveAs(Context(), hooks_));
  EXPECT_FALSE(fs::exists(ConfigFile("abc.Rodid")));
  EXPECT_EQ(data_.FileName, ConfigFile("abc.Rodid"));
  EXPECT_EQ(data_.Origin, ImageOrigin::SavedFile);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{Text(msg::kStoreAdvancedRange)});
}

TEST_F(FileCommandsTest, WriteFailureIsReported) {
  chooser_.save_answers = {ConfigFile("missing-folder/abc")};
  EXPECT_FALSE(FileSaveAs(Context(), hooks_));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{Text(msg::kCannotSaveConfiguration)});
  EXPECT_EQ(data_.ReferenceImage, data_.WorkingImage);
  EXPECT_EQ(captions_, 1);
}

TEST_F(FileCommandsTest, ExitAsksAndClosesWhateverTheSave) {
  const struct {
    const char* name;
    MessageButton answer;
    ImageOrigin origin;
    StoreResult store;
    ExitDecision decision;
    int stores;
    int boxes;
  } cases[] = {
      {"cancel", MessageButton::kCancel, ImageOrigin::OpenedFile, StoreResult::kOk,
       ExitDecision::kStay, 0, 1},
      {"no", MessageButton::kNo, ImageOrigin::OpenedFile, StoreResult::kOk, ExitDecision::kClose, 0,
       1},
      {"yes, save dialog cancelled", MessageButton::kYes, ImageOrigin::FromDefault,
       StoreResult::kOk, ExitDecision::kClose, 0, 1},
      {"yes, store failed", MessageButton::kYes, ImageOrigin::OpenedFile,
       StoreResult::kPoolOverflow, ExitDecision::kClose, 1, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    prompter_.events.clear();
    stores_ = 0;
    data_.Origin = c.origin;
    data_.FileName = ConfigFile("abc.Rodid");
    store_result_ = c.store;
    prompter_.answers = {c.answer};
    EXPECT_EQ(FileExit(Context(), hooks_), c.decision);
    EXPECT_EQ(stores_, c.stores);
    ASSERT_EQ(prompter_.Boxes().size(), static_cast<std::size_t>(c.boxes));
    EXPECT_EQ(prompter_.Boxes()[0].text, Text(msg::kSaveBeforeExitQuestion));
    EXPECT_EQ(prompter_.Boxes()[0].buttons, MessageButtons::kYesNoCancel);
    EXPECT_FALSE(fs::exists(ConfigFile("abc.Rodid")));
  }
  // The close handler brings the default back, not Exit.
  EXPECT_EQ(loads_, 0);
  EXPECT_EQ(data_.WorkingImage, Filled(0x77));
}

TEST_F(FileCommandsTest, ShortFileOpensAndSavesFull) {
  const std::string path = folder_.Write("config/old.Rodid", std::string(512, '\x22'));
  chooser_.open_answers = {path};
  ASSERT_TRUE(FileOpen(Context(), hooks_));
  EXPECT_EQ(chooser_.requests[0].title, Text(msg::kOpenTitle));
  EXPECT_TRUE(data_.ShortLayout);
  EXPECT_EQ(data_.FileName, path);
  EXPECT_EQ(data_.Origin, ImageOrigin::OpenedFile);
  EXPECT_EQ(data_.WorkingImage[511], 0x22);
  EXPECT_EQ(data_.WorkingImage[512], 0);
  EXPECT_EQ(data_.ReferenceImage, data_.WorkingImage);
  EXPECT_EQ(loads_, 1);
  EXPECT_EQ(captions_, 1);

  EXPECT_TRUE(FileSave(Context(), hooks_));
  EXPECT_EQ(fs::file_size(path), 2048u);
}

TEST_F(FileCommandsTest, UnreadableFileChangesNothing) {
  folder_.Write("config/wrong.Rodid", std::string(1000, '\x33'));
  const std::pair<const char*, const char*> files[] = {
      {"wrong.Rodid", "1000 bytes, not 2048 or 512"}, {"missing.Rodid", "not found"}};
  for (const auto& [name, cause] : files) {
    SCOPED_TRACE(name);
    prompter_.events.clear();
    data_.FileName = ConfigFile("before.Rodid");
    data_.Origin = ImageOrigin::SavedFile;
    chooser_.open_answers = {ConfigFile(name)};
    EXPECT_FALSE(FileOpen(Context(), hooks_));
    // The program's message, then the file and its cause.
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{Text(msg::kCannotLoadConfiguration) + "\n\n" +
                                                   ConfigFile(name) + ": " + cause});
    EXPECT_EQ(prompter_.Boxes()[0].kind, MessageKind::kError);
    EXPECT_EQ(data_.WorkingImage, Filled(0x77));
    EXPECT_EQ(data_.FileName, ConfigFile("before.Rodid"));
    EXPECT_EQ(data_.Origin, ImageOrigin::SavedFile);
  }
  EXPECT_EQ(loads_, 0);
  EXPECT_EQ(captions_, 0);
}

TEST_F(FileCommandsTest, NewLoadsTheDefaultAndReportsAnInvalidByte) {
  data_.Origin = ImageOrigin::ReadFromUnit;
  load_result_ = 5;
  FileNew(Context(), hooks_);
  EXPECT_EQ(data_.WorkingImage, Filled(0x11));
  EXPECT_EQ(data_.ReferenceImage, data_.WorkingImage);
  EXPECT_EQ(data_.Origin, ImageOrigin::FromDefault);
  EXPECT_EQ(captions_, 1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{Format(Text(msg::kLoadError), {"17", "5"})});

  // The close handler reloads without reporting.
  prompter_.events.clear();
  data_.Origin = ImageOrigin::OpenedFile;
  CloseEditor(Context(), hooks_);
  EXPECT_EQ(data_.Origin, ImageOrigin::FromDefault);
  EXPECT_TRUE(prompter_.Boxes().empty());
  EXPECT_EQ(loads_, 2);
}

TEST_F(FileCommandsTest, MissingDefaultKeepsTheImage) {
  for (const char* content : {"", "short"}) {
    SCOPED_TRACE(content);
    prompter_.events.clear();
    fs::remove(Data() / "Default.bin");
    if (*content != '\0') folder_.Write("data/Default.bin", content);
    FileNew(Context(), hooks_);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{Text(msg::kDefaultBinMissing)});
    EXPECT_EQ(prompter_.Boxes()[0].kind, MessageKind::kError);
    EXPECT_EQ(data_.WorkingImage, Filled(0x77));
    EXPECT_EQ(data_.ReferenceImage, data_.WorkingImage);
  }
  EXPECT_EQ(loads_, 2);
}

TEST_F(FileCommandsTest, ChangeDefaultListsOnlyPreparedConfigurations) {
  const std::string folder = Data().string() + "/";
  EXPECT_FALSE(CheckPreparedDefaultsExist(Context()));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{Text(msg::kNoExtraDefaultConfiguration)});
  EXPECT_EQ(prompter_.Boxes()[0].kind, MessageKind::kInformation);

  folder_.Write("data/prepared.bin", std::string(2048, '\x44'));
  folder_.Write("data/notes.txt", "x");
  fs::create_directories(Data() / "folder.bin");
  EXPECT_EQ(PreparedDefaultConfigurations(folder), std::vector<std::string>{"prepared.bin"});
  prompter_.events.clear();
  EXPECT_TRUE(CheckPreparedDefaultsExist(Context()));
  EXPECT_TRUE(prompter_.Boxes().empty());

  EXPECT_TRUE(MakeDefaultConfiguration(folder, "prepared.bin"));
  EXPECT_EQ(testing::TempFolder::Read((Data() / "Default.bin").string()),
            std::string(2048, '\x44'));
  EXPECT_FALSE(fs::exists(Data() / "default.bin"));
  EXPECT_FALSE(MakeDefaultConfiguration(folder, "missing.bin"));
  EXPECT_FALSE(MakeDefaultConfiguration(folder, "../config/x.bin"));
  EXPECT_EQ(testing::TempFolder::Read((Data() / "Default.bin").string()),
            std::string(2048, '\x44'));
}

TEST_F(FileCommandsTest, DefaultDirectoryIsStoredWithoutTrailingSeparator) {
  const std::string settings = folder_.Write("data/Values.ini", "[Setup]\nAppVersion=1\n");
  EXPECT_TRUE(SaveDefaultDirectory(settings, "/no/such/folder//"));
  EXPECT_EQ(VynIni(settings).ReadText(kSetupSection, kConfigDirectoryKey), "/no/such/folder");
  EXPECT_EQ(VynIni(settings).ReadText(kSetupSection, "AppVersion"), "1");

  EXPECT_EQ(WithoutTrailingSeparator("/"), "/");
  EXPECT_EQ(WithoutTrailingSeparator("///"), "/");
  EXPECT_EQ(WithoutTrailingSeparator(""), "");
}

TEST(EditorTitleTest, ShowsWhereTheImageCameFrom) {
  const StringTable& strings = StringTable::Builtin();
  const std::string suffix = " - VYN IP/GSM Programmiergerät";
  const struct {
    ImageOrigin origin;
    std::string expected;
  } cases[] = {
      {ImageOrigin::FromDefault, "Standard" + suffix},
      {ImageOrigin::OpenedFile, "abc.Rodid" + suffix},
      {ImageOrigin::SavedFile, "abc.Rodid" + suffix},
      {ImageOrigin::ReadFromUnit, "aus VYN IP/GSM ausgelesen" + suffix},
  };
  VynData data;
  data.FileName = "/home/user/configs/abc.Rodid";
  for (const auto& c : cases) {
    data.Origin = c.origin;
    EXPECT_EQ(EditorTitle(data, strings), c.expected);
  }
}

}  // namespace
}  // namespace vyn
