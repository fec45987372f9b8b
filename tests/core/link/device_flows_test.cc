#include "core/link/device_flows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/backup/unit_backups.h"
#include "core/link/image_editor_hooks.h"
#include "core/session/scripted_prompter.h"
#include "core/strings/message_ids.h"
#include "fake_unit.h"
#include "scripted_port.h"
#include "support/temp_folder.h"

namespace vyn {
namespace {

using testing::ByteReply;
using testing::Bytes;
using testing::CommandOf;
using testing::FrameReply;
using testing::PromptEvent;
using testing::Reply;

class CountingPump : public EventPump {
 public:
  void ProcessPendingEvents() override { ++calls; }
  int calls = 0;
};

const StringTable& Strings() { return StringTable::Builtin(); }
std::string Text(int id) { return Strings().Text(id); }

// The fake unit's memory behind a Zix that also answers readiness, memory kind and version.
class DeviceFlowTest : public ::testing::Test {
 public:
  DeviceFlowTest() : port_(clock_), unit_(port_), link_(port_, clock_) {
    auto blocks = port_.responder;
    port_.responder = [this, blocks](const Bytes& frame) -> Reply {
      const std::string command = CommandOf(frame);
      commands_.push_back(command);
      if (command == "O") {
        ++polls_;
        return ByteReply(polls_ > nak_polls_ ? kAck : kNak);
      }
      if (command == "G") {
        slept_at_kind_ = clock_.slept_ms();
        return memory_kind_ == 0 ? Reply{} : ByteReply(static_cast<std::uint8_t>(memory_kind_));
      }
      if (command == "v") return zix_version_.empty() ? Reply{} : FrameReply(zix_version_);
      if (command[0] == 'R' || command[0] == 'S') {
        Reply reply = blocks(frame);
        // The unit answers the read-back of one address with another byte.
        const int address = std::stoi(command.substr(1, 4), nullptr, 16) -
                            (command[0] == 'S' ? kExtendedAddressOffset : 0);
        const int count = std::stoi(command.substr(5, 2), nullptr, 16);
        if (address == nak_read_back_at_ && writes_ > 0) return ByteReply(kNak);
        if (corrupt_address_ >= address && corrupt_address_ < address + count && writes_ > 0) {
          std::string data = CommandOf(reply.front().bytes);
          data[2 * (corrupt_address_ - address)] ^= 1;
          reply = FrameReply(data);
        }
        return reply;
      }
      if (command[0] == 'W' || command[0] == 'X') ++writes_;
      return blocks(frame);
    };
  }

  DeviceFlowContext Context() {
    return {data_, session_, link_, prompter_, pump_, clock_, Strings()};
  }
  EditorHooks Hooks() {
    EditorHooks hooks;
    hooks.StoreControls = [this] {
      ++stores_;
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
  DeviceFlowResult Read() { return CommRead(Context(), Hooks()); }
  DeviceFlowResult Write() { return CommWrite(Context(), Hooks(), sip_folder_); }

  // Boxes as "kind:text" with E, I, W for the kinds.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> boxes;
    for (const PromptEvent& box : prompter_.Boxes()) {
      const char* kind = box.kind == MessageKind::kError         ? "E:"
                         : box.kind == MessageKind::kInformation ? "I:"
                                                                 : "W:";
      boxes.push_back(kind + box.text);
    }
    return boxes;
  }
  int Count(const std::string& command) const {
    int n = 0;
    for (const std::string& c : commands_) n += c == command;
    return n;
  }
  std::vector<std::string> BlockCommands(char letter) const {
    std::vector<std::string> out;
    for (const std::string& c : commands_) {
      if (c[0] == letter) out.push_back(c);
    }
    return out;
  }

  FakeClock clock_;
  testing::ScriptedPort port_;
  testing::FakeUnit unit_;
  ZixLink link_;
  testing::ScriptedPrompter prompter_;
  CountingPump pump_;
  Session session_;
  VynData data_;
  std::filesystem::path sip_folder_ = "/nonexistent-sip-folder";

  std::vector<std::string> commands_;
  int nak_polls_ = 0;
  int polls_ = 0;
  int memory_kind_ = '5';  // 0: silence
  // Empty: the Zix stays silent.
  std::string zix_version_ = "15-1-V02.03";
  int corrupt_address_ = -1;   // read-back gives another byte here
  int nak_read_back_at_ = -1;  // read-back of this block NAKed
  int writes_ = 0;
  std::uint64_t slept_at_kind_ = 0;
  StoreResult store_result_ = StoreResult::kOk;
  int load_result_ = kLoadOk;
  bool duplicates_ = false;
  int stores_ = 0, loads_ = 0, captions_ = 0;
};

TEST_F(DeviceFlowTest, ReadyUnitIsTransferredInTheSixthCycleAfterFivePauses) {
  EXPECT_EQ(Read(), DeviceFlowResult::kDone);
  EXPECT_EQ(Count("O"), 6);
  EXPECT_EQ(slept_at_kind_, 500u);
  EXPECT_EQ(clock_.slept_ms(), 600u);  // the ready cycle ends with its pause too
}

TEST_F(DeviceFlowTest, ReadinessLimits) {
  struct Case {
    bool write;
    int nak_polls;
    bool ready;
  };
  // The sixth acknowledgement must come within 25 cycles for reading and 200 for writing.
  const std::vector<Case> cases = {
      {false, 19, true}, {false, 20, false}, {true, 194, true}, {true, 195, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "write " << c.write << " naks " << c.nak_polls);
    FakeClock clock;
    testing::ScriptedPort port(clock);
    ZixLink link(port, clock);
    testing::ScriptedPrompter prompter;
    int polls = 0;
    int transferred = 0;
    port.responder = [&](const Bytes& frame) {
      if (CommandOf(frame) != "O") return Reply{};
      return ByteReply(++polls > c.nak_polls ? kAck : kNak);
    };
    CountingPump pump;
    const DeviceFlowContext context{data_, session_, link, prompter, pump, clock, Strings()};
    ASSERT_EQ(link.Open(), OpenResult::kOpened);
    const bool ready = WaitUntilReady(context, c.write ? kWriteCycleLimit : kReadCycleLimit,
                                      [&] { ++transferred; });
    EXPECT_EQ(ready, c.ready);
    EXPECT_EQ(transferred, c.ready ? 1 : 0);
    const int cycles = c.ready ? c.nak_polls + 6 : (c.write ? kWriteCycleLimit : kReadCycleLimit);
    EXPECT_EQ(polls, cycles);
    EXPECT_EQ(clock.slept_ms(), 100u * static_cast<unsigned>(cycles));
    const std::vector<std::string> statuses = prompter.Statuses();
    EXPECT_EQ(static_cast<int>(statuses.size()), c.ready ? cycles - 1 : cycles + 1);
    EXPECT_EQ(statuses.front(), Text(msg::kUnitBusyWaiting));
    // Every waiting cycle lets the window paint its text.
    EXPECT_EQ(pump.calls, c.ready ? cycles - 1 : cycles);
    if (c.ready) {
      EXPECT_TRUE(prompter.Boxes().empty());
    } else {
      EXPECT_EQ(statuses.back(), Text(msg::kUnitNotReady));
      ASSERT_EQ(prompter.Boxes().size(), 1u);
      EXPECT_EQ(prompter.Boxes()[0].kind, MessageKind::kError);
      EXPECT_EQ(prompter.Boxes()[0].text, Text(msg::kUnitNotReady));
    }
  }
}

TEST_F(DeviceFlowTest, AcknowledgementsNeedNotFollowEachOther) {
  int polls = 0;
  auto inner = port_.responder;
  port_.responder = [&](const Bytes& frame) {
    if (CommandOf(frame) == "O") return ByteReply(++polls % 2 ? kAck : kNak);
    return inner(frame);
  };
  EXPECT_EQ(Read(), DeviceFlowResult::kDone);
  EXPECT_EQ(polls, 11);
}

TEST_F(DeviceFlowTest, ReadSetsWorkingAndReferenceImageAndOrigin) {
  data_.ShortLayout = true;
  data_.Origin = ImageOrigin::OpenedFile;
  EXPECT_EQ(Read(), DeviceFlowResult::kDone);
  EXPECT_EQ(data_.WorkingImage, unit_.memory);
  EXPECT_EQ(data_.ReferenceImage, unit_.memory);
  EXPECT_EQ(data_.DeviceImage, unit_.memory);
  EXPECT_FALSE(data_.ShortLayout);
  EXPECT_EQ(data_.Origin, ImageOrigin::ReadFromUnit);
  EXPECT_EQ(loads_, 1);
  EXPECT_EQ(captions_, 1);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"I:" + Text(msg::kReadComplete)});
  const std::vector<std::string> statuses = prompter_.Statuses();
  ASSERT_GE(statuses.size(), 2u);
  EXPECT_EQ(statuses[statuses.size() - 2], Text(msg::kReadingFromUnit));
  EXPECT_EQ(statuses.back(), Text(msg::kReadComplete));
  EXPECT_EQ(pump_.calls, 5 + 1);  // five waiting cycles, then the read's own status
  EXPECT_EQ(Count("v"), 1);
  const std::vector<std::string> reads = BlockCommands('R');
  ASSERT_EQ(reads.size(), 128u);
  EXPECT_EQ(reads.front(), "R000010");
  EXPECT_EQ(reads.back(), "R07F010");
  EXPECT_FALSE(link_.IsOpen());
  EXPECT_EQ(prompter_.events.front().type, PromptEvent::Type::kBusy);
  EXPECT_EQ(prompter_.events.back().type, PromptEvent::Type::kIdle);
}

TEST_F(DeviceFlowTest, ReadByMemoryKind) {
  struct Case {
    int kind;
    DeviceFlowResult result;
    std::size_t reads;
    char letter;
  };
  const std::vector<Case> cases = {
      {'1', DeviceFlowResult::kDone, 64, 'S'},
      {'3', DeviceFlowResult::kDone, 32, 'R'},
      {'5', DeviceFlowResult::kDone, 128, 'R'},
      {'4', DeviceFlowResult::kUnsupportedMemory, 0, 'R'},
      {'0', DeviceFlowResult::kUnsupportedMemory, 0, 'R'},
      {kNak, DeviceFlowResult::kUnsupportedMemory, 0, 'R'},
      {0, DeviceFlowResult::kUnsupportedMemory, 0, 'R'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    commands_.clear();
    polls_ = 0;
    prompter_.events.clear();
    data_ = VynData{};
    memory_kind_ = c.kind;
    EXPECT_EQ(Read(), c.result);
    const std::vector<std::string> reads = BlockCommands(c.letter);
    EXPECT_EQ(reads.size(), c.reads);
    if (c.result != DeviceFlowResult::kDone) {
      EXPECT_EQ(Boxes(), std::vector<std::string>{"I:" + Text(msg::kUnsupportedMemoryKind)});
      EXPECT_EQ(prompter_.Statuses().back(), Text(msg::kUnsupportedMemoryKind));
      EXPECT_EQ(data_.Origin, ImageOrigin::FromDefault);
      continue;
    }
    EXPECT_EQ(reads.back(), c.letter == 'S' ? "S1FE020" : c.kind == '3' ? "R01F010" : "R07F010");
    const std::size_t size = c.kind == '3' ? 512 : 2048;
    EXPECT_TRUE(
        std::equal(unit_.memory.begin(), unit_.memory.begin() + size, data_.WorkingImage.begin()));
    // Bytes above a 512-byte memory keep their previous content.
    if (size == 512) {
      EXPECT_EQ(data_.WorkingImage[512], 0);
    }
  }
}

TEST_F(DeviceFlowTest, ReadFailures) {
  struct Case {
    const char* name;
    std::function<void(DeviceFlowTest&)> arrange;
    DeviceFlowResult result;
    std::vector<std::string> boxes;
    bool polled;
  };
  const std::vector<Case> cases = {
      {"no Zix",
       [](DeviceFlowTest& t) { t.port_.open_fails = true; },
       DeviceFlowResult::kZixNotFound,
       {"E:" + Text(msg::kZixNotFound)},
       false},
      {"silent Zix",
       [](DeviceFlowTest& t) { t.zix_version_.clear(); },
       DeviceFlowResult::kZixNotFound,
       {"E:" + Text(msg::kZixNotFound)},
       false},
      {"old Zix",
       [](DeviceFlowTest& t) { t.zix_version_ = "13-1-V01.00"; },
       DeviceFlowResult::kZixTooOld,
       {"I:" + Text(msg::kZixFirmwareTooOld)},
       false},
      {"other product",
       [](DeviceFlowTest& t) { t.zix_version_ = "15-2-V01.00"; },
       DeviceFlowResult::kZixTooOld,
       {"I:" + Text(msg::kZixFirmwareTooOld)},
       false},
      {"block NAKed",
       [](DeviceFlowTest& t) {
         t.unit_.faults[0x100] = {ByteReply(kNak), ByteReply(kNak), ByteReply(kNak)};
       },
       DeviceFlowResult::kReadFailed,
       {"E:" + Text(msg::kReadFailed)},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeviceFlowTest& t = *this;
    t.port_.open_fails = false;
    t.zix_version_ = "15-1-V02.03";
    t.unit_.faults.clear();
    t.commands_.clear();
    t.prompter_.events.clear();
    t.data_ = VynData{};
    c.arrange(t);
    EXPECT_EQ(Read(), c.result);
    EXPECT_EQ(Boxes(), c.boxes);
    EXPECT_EQ(Count("O") > 0, c.polled);
    EXPECT_EQ(data_.WorkingImage, ParameterImage{});
    EXPECT_EQ(data_.Origin, ImageOrigin::FromDefault);
    EXPECT_EQ(loads_, 0);
    EXPECT_FALSE(link_.IsOpen());
    EXPECT_EQ(prompter_.events.back().type, PromptEvent::Type::kIdle);
  }
}

TEST_F(DeviceFlowTest, ReadReportsAnInvalidByteAndStillCompletes) {
  unit_.memory[0x0C2] = 77;
  load_result_ = 0x0C2;
  session_.ShowReadComplete = false;
  EXPECT_EQ(Read(), DeviceFlowResult::kDone);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"E:" + Format(Text(msg::kLoadError), {"77", "194"})});
  EXPECT_EQ(prompter_.Statuses().back(), Text(msg::kReadComplete));
  EXPECT_EQ(data_.Origin, ImageOrigin::ReadFromUnit);
}

// Writes at level 6, so that the whole image reaches the unit.
class DeviceWriteTest : public DeviceFlowTest {
 public:
  DeviceWriteTest() {
    session_.AccessLevel = 6;
    for (std::size_t i = 0; i < data_.WorkingImage.size(); ++i) {
      data_.WorkingImage[i] = static_cast<std::uint8_t>(i * 13 + 1);
    }
    // The same password as the unit's, so no question is asked.
    std::copy_n(unit_.memory.begin() + 0x440, 16, data_.WorkingImage.begin() + 0x440);
  }
};

TEST_F(DeviceWriteTest, VerifiedWrite) {
  const ParameterImage written = data_.WorkingImage;
  EXPECT_EQ(Write(), DeviceFlowResult::kDone);
  EXPECT_EQ(unit_.memory, written);
  EXPECT_EQ(data_.DeviceImage, written);
  EXPECT_EQ(stores_, 1);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"I:" + Text(msg::kProgrammingComplete)});
  const std::vector<std::string> statuses = prompter_.Statuses();
  ASSERT_GE(statuses.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(statuses.end() - 3, statuses.end()),
            (std::vector<std::string>{Text(msg::kWritingToUnit), Text(msg::kVerifying),
                                      Text(msg::kWriteVerified)}));
  EXPECT_EQ(pump_.calls, 5 + 2);  // five waiting cycles, then writing and verifying
  const std::vector<std::string> writes = BlockCommands('W');
  ASSERT_EQ(writes.size(), 128u);
  EXPECT_EQ(writes.back().substr(0, 7), "W07F010");
  EXPECT_FALSE(link_.IsOpen());
}

TEST_F(DeviceWriteTest, ExtendedWrite) {
  memory_kind_ = '1';
  EXPECT_EQ(Write(), DeviceFlowResult::kDone);
  EXPECT_EQ(BlockCommands('X').size(), 64u);
  EXPECT_TRUE(BlockCommands('W').empty());
  EXPECT_EQ(BlockCommands('S').size(), 64u + 1);  // the password range, then the read-back
}

TEST_F(DeviceWriteTest, ProtectedRangesAreReadBeforeTheFirstBlockIsWritten) {
  struct Case {
    int level;
    bool pin_not_entered;
    std::vector<std::string> reads;
  };
  const std::vector<Case> cases = {
      {6, false, {"R044010"}},
      {6, true, {"R044010", "R019104"}},
      {2,
       false,
       {"R00FD03", "R01F006", "R00F706", "R010003", "R01490A", "R016001", "R016310", "R01730D",
        "R018104", "R01F701", "R040010", "R041010", "R042010", "R043010", "R045004", "R044010"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    commands_.clear();
    polls_ = 0;
    session_.AccessLevel = c.level;
    session_.PinNotEntered = c.pin_not_entered;
    EXPECT_EQ(Write(), DeviceFlowResult::kDone);
    std::vector<std::string> before_write;
    for (const std::string& command : commands_) {
      if (command[0] == 'W') break;
      if (command[0] == 'R') before_write.push_back(command);
    }
    EXPECT_EQ(before_write, c.reads);
  }
}

TEST_F(DeviceWriteTest, PasswordQuestionOncePerRunAfterOkAgainAfterCancel) {
  std::memcpy(data_.WorkingImage.data() + 0x440, "NEWPASS\0\0\0\0\0\0\0\0\0", 16);
  const std::string question = std::string("W:") + kPasswordChangeQuestion;

  prompter_.answers = {MessageButton::kCancel};
  EXPECT_EQ(Write(), DeviceFlowResult::kDone);
  EXPECT_EQ(Boxes().front(), question);
  EXPECT_EQ(prompter_.Boxes().front().buttons, MessageButtons::kOkCancel);
  EXPECT_NE(std::memcmp(unit_.memory.data() + 0x440, "NEWPASS", 8), 0);
  EXPECT_FALSE(session_.PasswordChangeConfirmed);

  // Cancel took the unit's password into the image; the pages would bring the new one back.
  std::memcpy(data_.WorkingImage.data() + 0x440, "NEWPASS\0\0\0\0\0\0\0\0\0", 16);
  prompter_.events.clear();
  prompter_.answers = {MessageButton::kOk};
  EXPECT_EQ(Write(), DeviceFlowResult::kDone);
  EXPECT_EQ(Boxes().front(), question);
  EXPECT_EQ(std::memcmp(unit_.memory.data() + 0x440, "NEWPASS", 8), 0);
  EXPECT_TRUE(session_.PasswordChangeConfirmed);

  std::memcpy(data_.WorkingImage.data() + 0x440, "OTHER\0\0\0\0\0\0\0\0\0\0\0", 16);
  prompter_.events.clear();
  EXPECT_EQ(Write(), DeviceFlowResult::kDone);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"I:" + Text(msg::kProgrammingComplete)});
  EXPECT_EQ(std::memcmp(unit_.memory.data() + 0x440, "OTHER", 6), 0);
}

TEST_F(DeviceWriteTest, PinNotEnteredKeepsTheUnitsPin) {
  session_.PinNotEntered = true;
  const ParameterImage before = unit_.memory;
  EXPECT_EQ(Write(), DeviceFlowResult::kDone);
  EXPECT_TRUE(
      std::equal(before.begin() + 0x191, before.begin() + 0x195, unit_.memory.begin() + 0x191));
  EXPECT_TRUE(std::equal(before.begin() + 0x191, before.begin() + 0x195,
                         data_.WorkingImage.begin() + 0x191));
  EXPECT_NE(unit_.memory[0x190], before[0x190]);
}

TEST_F(DeviceWriteTest, Failures) {
  struct Case {
    const char* name;
    std::function<void(DeviceWriteTest&)> arrange;
    DeviceFlowResult result;
    std::vector<std::string> boxes;
    bool opened;
  };
  const std::vector<Case> cases = {
      {"no Zix",
       [](DeviceWriteTest& t) { t.port_.open_fails = true; },
       DeviceFlowResult::kZixNotFound,
       {"E:" + Text(msg::kZixNotFound)},
       true},
      {"duplicates",
       [](DeviceWriteTest& t) { t.duplicates_ = true; },
       DeviceFlowResult::kDuplicateTransmitters,
       {"E:" + Text(msg::kDuplicateTransmitterIds)},
       false},
      {"pool overflow",
       [](DeviceWriteTest& t) { t.store_result_ = StoreResult::kPoolOverflow; },
       DeviceFlowResult::kStoreFailed,
       {"E:" + Text(msg::kStorePoolOverflow)},
       false},
      {"advanced range",
       [](DeviceWriteTest& t) { t.store_result_ = StoreResult::kAdvancedRange; },
       DeviceFlowResult::kStoreFailed,
       {"E:" + Text(msg::kStoreAdvancedRange)},
       false},
      {"decimal range",
       [](DeviceWriteTest& t) { t.store_result_ = StoreResult::kDecimalRange; },
       DeviceFlowResult::kStoreFailed,
       {"E:" + Text(msg::kStoreVoltageRange)},
       false},
      {"never ready",
       [](DeviceWriteTest& t) { t.nak_polls_ = 1000; },
       DeviceFlowResult::kUnitNotReady,
       {"E:" + Text(msg::kUnitNotReady)},
       true},
      {"kind 4",
       [](DeviceWriteTest& t) { t.memory_kind_ = '4'; },
       DeviceFlowResult::kUnsupportedMemory,
       {"I:" + Text(msg::kUnsupportedMemoryKind)},
       true},
      {"block NAKed",
       [](DeviceWriteTest& t) {
         t.unit_.faults[0x200] = {ByteReply(kNak), ByteReply(kNak), ByteReply(kNak)};
       },
       DeviceFlowResult::kWriteFailed,
       {"E:" + Text(msg::kWriteFailed)},
       true},
      {"read-back differs",
       [](DeviceWriteTest& t) { t.corrupt_address_ = 0x345; },
       DeviceFlowResult::kVerifyFailed,
       {"E:" + Text(msg::kVerifyFailed)},
       true},
      {"read-back fails",
       [](DeviceWriteTest& t) { t.nak_read_back_at_ = 0x7F0; },
       DeviceFlowResult::kVerifyFailed,
       {"E:" + Text(msg::kVerifyFailed)},
       true},
  };
  // A fresh unit and session for each case.
  struct Fresh : DeviceWriteTest {
    void TestBody() override {}
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh t;
    c.arrange(t);
    const ParameterImage working = t.data_.WorkingImage;
    EXPECT_EQ(t.Write(), c.result);
    EXPECT_EQ(t.Boxes(), c.boxes);
    EXPECT_EQ(t.port_.opens > 0, c.opened);
    EXPECT_FALSE(t.link_.IsOpen());
    if (c.result == DeviceFlowResult::kVerifyFailed) {
      EXPECT_EQ(t.data_.WorkingImage, working);  // the comparison changes nothing
    }
    if (c.boxes.front()[0] == 'E' && c.opened) {
      EXPECT_EQ(t.prompter_.Statuses().back(), c.boxes.front().substr(2));
    }
    if (c.result == DeviceFlowResult::kUnsupportedMemory) {
      EXPECT_TRUE(t.BlockCommands('W').empty());
      EXPECT_TRUE(t.BlockCommands('R').empty());
    }
  }
}

TEST(SipNumberListTest, SuccessorReplacesTheList) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("vyn-sip-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
       std::to_string(reinterpret_cast<std::uintptr_t>(&dir)));
  std::filesystem::create_directories(dir);
  auto write = [&](const char* name, const char* text) { std::ofstream(dir / name) << text; };
  auto read = [&](const char* name) {
    std::ifstream in(dir / name);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  write(kSipNumbersFile, "old");
  PromoteSipNumberList(dir);  // no successor: nothing changes
  EXPECT_EQ(read(kSipNumbersFile), "old");
  write(kSipNumbersNewFile, "new");
  PromoteSipNumberList(dir);
  EXPECT_EQ(read(kSipNumbersFile), "new");
  EXPECT_FALSE(std::filesystem::exists(dir / kSipNumbersNewFile));
  std::filesystem::remove_all(dir);
}

TEST(ImageEditorHooksTest, DuplicateTransmitterCodes) {
  struct Case {
    std::vector<std::pair<int, int>> codes;  // position 1-8, 16-bit value
    bool duplicate;
  };
  const std::vector<Case> cases = {
      {{}, false},
      {{{1, 0x1234}, {2, 0x1235}}, false},
      {{{1, 0x1234}, {8, 0x1234}}, true},
      {{{3, 0x00FF}, {4, 0xFF00}}, false},
  };
  for (const Case& c : cases) {
    ParameterImage image{};
    for (auto [position, value] : c.codes) {
      image[2 * (position - 1)] = static_cast<std::uint8_t>(value & 0xFF);
      image[2 * (position - 1) + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    EXPECT_EQ(HasDuplicateTransmitterCodes(image), c.duplicate);
  }
}

TEST(ImageEditorHooksTest, StoreMovesAShortLayoutImageToThePool) {
  VynData data;
  data.ShortLayout = true;
  data.WorkingImage.fill(0xAA);
  data.WorkingImage[0x010] = 0x12;  // dial digits "12" in the first number slot
  data.WorkingImage[0x011] = 0xAA;
  EditorHooks hooks =
      MakeImageEditorHooks(data, [](const FieldInfo&, std::uint8_t) { return true; });
  EXPECT_EQ(hooks.StoreControls(), StoreResult::kOk);
  EXPECT_FALSE(data.ShortLayout);
  EXPECT_EQ(data.WorkingImage[0x010], 0);  // the first pool entry
}

}  // namespace
}  // namespace vyn

namespace vyn {
namespace {

// Every read from the unit and every verified write leaves a backup of the image; one that
// cannot be saved leaves the operation as it was.
TEST_F(DeviceWriteTest, ReadsAndVerifiedWritesAreBackedUp) {
  testing::TempFolder home;
  session_.BackupFolder = home.File("backups");
  ASSERT_EQ(Read(), DeviceFlowResult::kDone);
  ASSERT_EQ(ListBackups(session_.BackupFolder).size(), 1u);
  EXPECT_EQ(ListBackups(session_.BackupFolder)[0].kind, BackupKind::kRead);
  EXPECT_TRUE(testing::TempFolder::Read(session_.LastBackup) ==
              std::string(unit_.memory.begin(), unit_.memory.end()));

  for (std::size_t i = 0; i < data_.WorkingImage.size(); ++i) data_.WorkingImage[i] ^= 0x0F;
  ASSERT_EQ(Write(), DeviceFlowResult::kDone);
  const std::vector<BackupEntry> backups = ListBackups(session_.BackupFolder);
  ASSERT_EQ(backups.size(), 2u);
  EXPECT_EQ(backups[0].kind, BackupKind::kWritten);
  EXPECT_TRUE(testing::TempFolder::Read(backups[0].path) ==
              std::string(unit_.memory.begin(), unit_.memory.end()));

  // A failed write is not backed up.
  corrupt_address_ = 0x123;
  EXPECT_EQ(Write(), DeviceFlowResult::kVerifyFailed);
  EXPECT_EQ(ListBackups(session_.BackupFolder).size(), 2u);
}

TEST_F(DeviceFlowTest, AFailedBackupDoesNotFailTheRead) {
  testing::TempFolder home;
  session_.BackupFolder = home.Write("not-a-folder", "x");
  EXPECT_EQ(Read(), DeviceFlowResult::kDone);
  EXPECT_EQ(data_.WorkingImage, unit_.memory);
  const std::vector<std::string> boxes = Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].substr(0, 2 + Text(msg::kBackupFailed).size()),
            "W:" + Text(msg::kBackupFailed));
  EXPECT_EQ(boxes[1], "I:" + Text(msg::kReadComplete));
}

}  // namespace
}  // namespace vyn
