#include "core/server/web_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/backup/unit_backups.h"
#include "core/server/diagnostic_exchange.h"
#include "core/session/scripted_prompter.h"
#include "core/strings/message_ids.h"
#include "scripted_socket.h"
#include "support/temp_folder.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;

const StringTable& Strings() { return StringTable::Builtin(); }
std::string Text(int id) { return Strings().Text(id); }

// The editor's side of the commands: hooks that count their calls and answer as set.
class EditorCommandTest : public ::testing::Test {
 protected:
  EditorHooks Hooks() {
    EditorHooks hooks;
    hooks.StoreControls = [this] {
      ++stores_;
      data_.WorkingImage[0x100] = 0x42;  // the pages change the image
      return store_result_;
    };
    hooks.LoadControls = [this] {
      ++loads_;
      return load_result_;
    };
    hooks.HasDuplicateTransmitters = [this] { return duplicates_; };
    hooks.UpdateCaption = [this] { ++captions_; };
    return hooks;
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : prompter_.Boxes()) texts.push_back(box.text);
    return texts;
  }

  testing::TempFolder folder_;
  FakeClock clock_;
  testing::ScriptedSocket socket_{clock_};
  ServerExchange exchange_{socket_, clock_, Strings(), 0};
  testing::ScriptedPrompter prompter_;
  VynData data_;
  StoreResult store_result_ = StoreResult::kOk;
  int load_result_ = kLoadOk;
  bool duplicates_ = false;
  int stores_ = 0, loads_ = 0, captions_ = 0;
};

using WebCommandTest = EditorCommandTest;

TEST_F(WebCommandTest, ReadTakesTheTransferBufferAfterOk) {
  data_.FileName = "/configs/a.Rodid";
  data_.Origin = ImageOrigin::OpenedFile;
  data_.ShortLayout = true;
  const WebCommandContext context{data_, exchange_, prompter_, Strings()};
  load_result_ = 0x20;
  EXPECT_EQ(CommReadWeb(context, Hooks(),
                        [&] {
                          EXPECT_EQ(exchange_.direction(), ExchangeDirection::kRead);
                          exchange_.transfer_buffer().fill(0x33);
                          return true;
                        }),
            WebCommandResult::kDone);
  EXPECT_EQ(data_.WorkingImage[0], 0x33);
  EXPECT_EQ(data_.ReferenceImage, data_.WorkingImage);
  EXPECT_FALSE(data_.ShortLayout);
  EXPECT_EQ(loads_, 1);
  // Origin and title stay.
  EXPECT_EQ(data_.Origin, ImageOrigin::OpenedFile);
  EXPECT_EQ(captions_, 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{Format(Text(msg::kLoadError), {"51", "32"})});
}

TEST_F(WebCommandTest, ReadCancelledChangesNothing) {
  data_.WorkingImage.fill(0x11);
  const WebCommandContext context{data_, exchange_, prompter_, Strings()};
  EXPECT_EQ(CommReadWeb(context, Hooks(),
                        [&] {
                          exchange_.transfer_buffer().fill(0x33);  // a partial read
                          return false;
                        }),
            WebCommandResult::kCancelled);
  EXPECT_EQ(data_.WorkingImage[0], 0x11);
  EXPECT_EQ(loads_, 0);
}

// An image read through the server is backed up like one read through the Zix; a cancelled
// exchange leaves no backup.
TEST_F(WebCommandTest, ReadImagesAreBackedUp) {
  Session session;
  session.BackupFolder = folder_.File("backups");
  const WebCommandContext context{data_, exchange_, prompter_, Strings(), &session};
  EXPECT_EQ(CommReadWeb(context, Hooks(), [] { return false; }), WebCommandResult::kCancelled);
  EXPECT_TRUE(ListBackups(session.BackupFolder).empty());
  EXPECT_EQ(CommReadWeb(context, Hooks(),
                        [&] {
                          exchange_.transfer_buffer().fill(0x33);
                          return true;
                        }),
            WebCommandResult::kDone);
  const std::vector<BackupEntry> backups = ListBackups(session.BackupFolder);
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0].kind, BackupKind::kRead);
  EXPECT_EQ(testing::TempFolder::Read(backups[0].path), std::string(kImageSize, '\x33'));
}

TEST_F(WebCommandTest, WriteStoresThePagesIntoTheTransferBuffer) {
  folder_.Write("sip_numbers.txt", "old");
  folder_.Write("sip_numbers_new.txt", "new");
  const WebCommandContext context{data_, exchange_, prompter_, Strings()};
  int shown = 0;
  EXPECT_EQ(CommWriteWeb(context, Hooks(), folder_.Path(),
                         [&] {
                           ++shown;
                           EXPECT_EQ(exchange_.direction(), ExchangeDirection::kWrite);
                           EXPECT_EQ(exchange_.transfer_buffer()[0x100], 0x42);
                           return false;
                         }),
            WebCommandResult::kCancelled);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(data_.ReferenceImage, data_.WorkingImage);
  EXPECT_EQ(testing::TempFolder::Read(folder_.File("sip_numbers.txt")), "new");
  EXPECT_FALSE(fs::exists(folder_.File("sip_numbers_new.txt")));
  EXPECT_TRUE(prompter_.Boxes().empty());
}

TEST_F(WebCommandTest, WriteStopsBeforeTheDialog) {
  const struct {
    bool duplicates;
    StoreResult store;
    WebCommandResult result;
    int message;
  } cases[] = {
      {true, StoreResult::kOk, WebCommandResult::kDuplicateTransmitters,
       msg::kDuplicateTransmitterIds},
      {false, StoreResult::kPoolOverflow, WebCommandResult::kStoreFailed, msg::kStorePoolOverflow},
      {false, StoreResult::kAdvancedRange, WebCommandResult::kStoreFailed,
       msg::kStoreAdvancedRange},
      {false, StoreResult::kDecimalRange, WebCommandResult::kStoreFailed, msg::kStoreVoltageRange},
  };
  for (const auto& c : cases) {
    prompter_.events.clear();
    duplicates_ = c.duplicates;
    store_result_ = c.store;
    folder_.Write("sip_numbers_new.txt", "new");
    const WebCommandContext context{data_, exchange_, prompter_, Strings()};
    EXPECT_EQ(CommWriteWeb(context, Hooks(), folder_.Path(),
                           [] {
                             ADD_FAILURE() << "dialog shown";
                             return true;
                           }),
              c.result);
    ASSERT_EQ(prompter_.Boxes().size(), 1u);
    EXPECT_EQ(prompter_.Boxes()[0].kind, MessageKind::kError);
    EXPECT_EQ(prompter_.Boxes()[0].text, Text(c.message));
    // The SIP number list step happens whatever follows.
    EXPECT_FALSE(fs::exists(folder_.File("sip_numbers_new.txt")));
  }
}

// ---- Diagnostic commands: the test server plays its part on each pause.

class DiagnosticTest : public EditorCommandTest {
 protected:
  DiagnosticContext Context() {
    return {data_, prompter_, Strings(), folder_.Path() / "vyn_ip_server",
            [this](std::uint32_t ms) {
              ++pauses_;
              clock_.SleepMs(ms);
              if (test_server_) test_server_();
              return !give_up_;
            }};
  }
  fs::path File(const char* name) const { return folder_.Path() / "vyn_ip_server" / name; }
  std::string Read(const char* name) const { return testing::TempFolder::Read(File(name)); }
  void Write(const char* name, const std::string& content) const {
    fs::create_directories(folder_.Path() / "vyn_ip_server");
    folder_.Write(std::string("vyn_ip_server/") + name, content);
  }

  std::function<void()> test_server_;
  int pauses_ = 0;
  bool give_up_ = false;
};

TEST_F(DiagnosticTest, SerialTextAndEmptyFiles) {
  const struct {
    const char* box;
    const char* text;
  } serials[] = {{"1234", "1234"},           {"16777217", "1"},   {"abc", "0"},  {"", "0"},
                 {"4294967295", "16777215"}, {"4294967296", "0"}, {" 77", "77"}, {"-5", "0"}};
  for (const auto& s : serials) EXPECT_EQ(DiagnosticSerialText(s.box), s.text) << s.box;

  EXPECT_TRUE(DiagnosticFileEmpty(folder_.File("missing")));
  const struct {
    const char* content;
    bool empty;
  } files[] = {{"", true}, {"\r\n", true}, {"\nx", true}, {"x", false}, {"OK\r\n", false}};
  for (const auto& f : files) {
    EXPECT_EQ(DiagnosticFileEmpty(folder_.Write("f.txt", f.content)), f.empty) << f.content;
  }
}

TEST_F(DiagnosticTest, WriteHandsTheImageToTheTestServer) {
  data_.WorkingImage.fill(0x21);
  test_server_ = [this] {
    if (Read(kDiagnosticDownloadRequest).empty()) return;
    EXPECT_EQ(Read(kDiagnosticDownloadRequest), "1234");
    EXPECT_EQ(Read(kDiagnosticDownloadImage),
              std::string(data_.WorkingImage.begin(), data_.WorkingImage.end()));
    Write(kDiagnosticDownloadDone, "OK");
  };
  EXPECT_EQ(DiagnosticWrite(Context(), Hooks(), folder_.Path(), "1234", "/cfg/unit.txt"),
            DiagnosticResult::kDone);
  EXPECT_EQ(pauses_, 1);
  // The request is emptied once the test server answered.
  EXPECT_TRUE(fs::exists(File(kDiagnosticDownloadRequest)));
  EXPECT_EQ(Read(kDiagnosticDownloadRequest), "");
  EXPECT_EQ(data_.FileName, "/cfg/unit.Rodid");
  EXPECT_EQ(data_.Origin, ImageOrigin::SavedFile);
  EXPECT_EQ(data_.ReferenceImage, data_.WorkingImage);
  EXPECT_EQ(captions_, 1);
  EXPECT_EQ(prompter_.events.back().type, testing::PromptEvent::Type::kIdle);
}

TEST_F(DiagnosticTest, WriteWaitsTenPausesForAnEarlierAnswer) {
  Write(kDiagnosticDownloadDone, "OK");
  EXPECT_EQ(DiagnosticWrite(Context(), Hooks(), folder_.Path(), "1", "a"),
            DiagnosticResult::kServerBusy);
  EXPECT_EQ(pauses_, 10);
  EXPECT_FALSE(fs::exists(File(kDiagnosticDownloadRequest)));

  // Taken back after the fifth pause: the request goes.
  pauses_ = 0;
  test_server_ = [this] {
    if (pauses_ == 5) Write(kDiagnosticDownloadDone, "");
    if (pauses_ == 8) Write(kDiagnosticDownloadDone, "OK");
  };
  EXPECT_EQ(DiagnosticWrite(Context(), Hooks(), folder_.Path(), "1", "a"), DiagnosticResult::kDone);
  EXPECT_EQ(pauses_, 8);
}

TEST_F(DiagnosticTest, GivingUpEmptiesTheRequest) {
  test_server_ = [this] { give_up_ = pauses_ == 3; };
  EXPECT_EQ(DiagnosticWrite(Context(), Hooks(), folder_.Path(), "9", "a"),
            DiagnosticResult::kGaveUp);
  EXPECT_EQ(Read(kDiagnosticDownloadRequest), "");
  EXPECT_EQ(prompter_.events.back().type, testing::PromptEvent::Type::kIdle);
}

TEST_F(DiagnosticTest, WriteFailuresSendNothing) {
  store_result_ = StoreResult::kPoolOverflow;
  EXPECT_EQ(DiagnosticWrite(Context(), Hooks(), folder_.Path(), "9", "a"),
            DiagnosticResult::kStoreFailed);
  EXPECT_FALSE(fs::exists(File(kDiagnosticDownloadImage)));
  EXPECT_FALSE(fs::exists(File(kDiagnosticDownloadRequest)));
  EXPECT_EQ(prompter_.Boxes().back().text, Text(msg::kStorePoolOverflow));

  // The diagnostic folder is a file: the image cannot be written.
  store_result_ = StoreResult::kOk;
  folder_.Write("vyn_ip_server", "");
  EXPECT_EQ(DiagnosticWrite(Context(), Hooks(), folder_.Path(), "9", "a"),
            DiagnosticResult::kImageNotWritten);
  EXPECT_EQ(prompter_.Boxes().back().text, Text(msg::kCannotSaveConfiguration));
  EXPECT_EQ(pauses_, 0);

  duplicates_ = true;
  EXPECT_EQ(DiagnosticWrite(Context(), Hooks(), folder_.Path(), "9", "a"),
            DiagnosticResult::kDuplicateTransmitters);
}

TEST_F(DiagnosticTest, ReadTakesTheTestServersImage) {
  ParameterImage image{};
  image.fill(0x5C);
  test_server_ = [&] {
    if (Read(kDiagnosticUploadRequest) != "77") return;
    Write(kDiagnosticUploadImage, std::string(image.begin(), image.end()));
    Write(kDiagnosticUploadDone, "OK");
  };
  EXPECT_EQ(DiagnosticRead(Context(), Hooks(), "77", "/cfg/opened.Rodid"), DiagnosticResult::kDone);
  EXPECT_EQ(data_.WorkingImage, image);
  EXPECT_EQ(data_.ReferenceImage, image);
  EXPECT_EQ(data_.FileName, "/cfg/opened.Rodid");
  EXPECT_EQ(data_.Origin, ImageOrigin::OpenedFile);
  EXPECT_EQ(loads_, 1);
  EXPECT_EQ(captions_, 1);
  EXPECT_EQ(Read(kDiagnosticUploadRequest), "");
}

TEST_F(DiagnosticTest, ReadOfABadImageChangesNothing) {
  data_.WorkingImage.fill(0x01);
  test_server_ = [&] {
    Write(kDiagnosticUploadImage, "too short");
    Write(kDiagnosticUploadDone, "OK");
  };
  EXPECT_EQ(DiagnosticRead(Context(), Hooks(), "1", "x"), DiagnosticResult::kImageNotRead);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{Text(msg::kCannotLoadConfiguration)});
  EXPECT_EQ(data_.WorkingImage[0], 0x01);
  EXPECT_EQ(loads_, 0);
}

}  // namespace
}  // namespace vyn
