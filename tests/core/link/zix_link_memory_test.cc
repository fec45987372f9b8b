#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "core/link/zix_link.h"
#include "fake_unit.h"
#include "scripted_port.h"

namespace vyn {
namespace {

using testing::ByteReply;
using testing::Bytes;
using testing::CommandOf;
using testing::FakeUnit;
using testing::FrameReply;
using testing::Reply;
using testing::ScriptedPort;

class ZixLinkMemoryTest : public ::testing::Test {
 protected:
  ZixLinkMemoryTest() : port_(clock_), unit_(port_), link_(port_, clock_) {}
  void SetUp() override { ASSERT_EQ(link_.Open(), OpenResult::kOpened); }

  std::vector<std::string> Heads() const {
    std::vector<std::string> heads;
    for (const std::string& c : unit_.commands) heads.push_back(c.substr(0, 7));
    return heads;
  }

  FakeClock clock_;
  ScriptedPort port_;
  FakeUnit unit_;
  ZixLink link_;
};

std::vector<std::string> BlockHeads(char letter, int from, int to, int step, int count) {
  std::vector<std::string> heads;
  for (int a = from; a <= to; a += step) {
    char text[8];
    std::snprintf(text, sizeof text, "%c%04X%02X", letter, a, count);
    heads.push_back(text);
  }
  return heads;
}

TEST_F(ZixLinkMemoryTest, ReadWholeMemoryNormalMode) {
  ParameterImage image{};
  EXPECT_EQ(link_.ReadRange(image, 0, 0x7FF), LinkResult::kSuccess);
  EXPECT_EQ(Heads(), BlockHeads('R', 0x000, 0x7F0, 0x10, 0x10));
  EXPECT_EQ(unit_.commands.back(), "R07F010");
  EXPECT_EQ(image, unit_.memory);
}

TEST_F(ZixLinkMemoryTest, ReadWholeMemoryExtendedMode) {
  link_.SetExtendedMode(true);
  ParameterImage image{};
  EXPECT_EQ(link_.ReadRange(image, 0, 0x7FF), LinkResult::kSuccess);
  EXPECT_EQ(Heads(), BlockHeads('S', 0x1800, 0x1FE0, 0x20, 0x20));
  EXPECT_EQ(image, unit_.memory);
}

TEST_F(ZixLinkMemoryTest, ShortBlocksAtTheEndsOfARange) {
  ParameterImage image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(0xFF - i);

  EXPECT_EQ(link_.WriteRange(image, 0x000, 0x0F6), LinkResult::kSuccess);
  EXPECT_EQ(unit_.commands.size(), 16u);
  EXPECT_EQ(unit_.commands.back(),
            "W00F007"
            "0F0E0D0C0B0A09");

  unit_.commands.clear();
  EXPECT_EQ(link_.WriteRange(image, 0x103, 0x7FF), LinkResult::kSuccess);
  EXPECT_EQ(Heads().front(), "W010310");
  EXPECT_EQ(Heads().back(), "W07F30D");
  EXPECT_EQ(unit_.commands.back().size(), 7u + 2 * 13);
  EXPECT_TRUE(std::equal(image.begin() + 0x103, image.end(), unit_.memory.begin() + 0x103));

  unit_.commands.clear();
  ParameterImage read{};
  EXPECT_EQ(link_.ReadRange(read, 0x160, 0x160), LinkResult::kSuccess);
  EXPECT_EQ(unit_.commands, std::vector<std::string>{"R016001"});
  EXPECT_EQ(read[0x160], unit_.memory[0x160]);
}

TEST_F(ZixLinkMemoryTest, ExtendedWriteUsesXWithMovedAddress) {
  link_.SetExtendedMode(true);
  ParameterImage image{};
  image[0x7FF] = 0xAB;
  EXPECT_EQ(link_.WriteRange(image, 0x7E0, 0x7FF), LinkResult::kSuccess);
  ASSERT_EQ(unit_.commands.size(), 1u);
  EXPECT_EQ(unit_.commands[0].substr(0, 7), "X1FE020");
  EXPECT_EQ(unit_.commands[0].substr(unit_.commands[0].size() - 2), "AB");
  EXPECT_EQ(unit_.memory[0x7FF], 0xAB);
}

TEST_F(ZixLinkMemoryTest, EmptyOrOutsideRanges) {
  ParameterImage image{};
  EXPECT_EQ(link_.ReadRange(image, 0x100, 0x0FF), LinkResult::kSuccess);
  EXPECT_EQ(link_.WriteRange(image, 0x100, 0x0FF), LinkResult::kSuccess);
  EXPECT_EQ(link_.ReadRange(image, 0x7F0, 0x800), LinkResult::kBlockReadFailed);
  EXPECT_EQ(link_.WriteRange(image, -1, 0x10), LinkResult::kBlockWriteFailed);
  EXPECT_TRUE(unit_.commands.empty());
}

// The tries of one block: the answers of its first tries, then the unit answers normally.
TEST_F(ZixLinkMemoryTest, ReadRetries) {
  const Reply silence;
  const Reply short_frame = FrameReply("0102");
  const Reply corrupt = {{3, {0x02, '0', '1', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0',
                              '0',  '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0',
                              '0',  '0', '0', '0', '0', '0', '0', '0', '0', '9', '9', 0x03}}};
  struct Case {
    const char* name;
    std::vector<Reply> first_answers;
    LinkResult result;
    std::size_t tries;
  };
  const std::vector<Case> cases = {
      {"answered at once", {}, LinkResult::kSuccess, 1},
      {"NAK then data", {ByteReply(kNak)}, LinkResult::kSuccess, 2},
      {"silence twice then data", {silence, silence}, LinkResult::kSuccess, 3},
      {"NAK three times",
       {ByteReply(kNak), ByteReply(kNak), ByteReply(kNak)},
       LinkResult::kBlockReadFailed,
       3},
      {"silence three times", {silence, silence, silence}, LinkResult::kBlockReadFailed, 3},
      {"corrupt checksum three times",
       {corrupt, corrupt, corrupt},
       LinkResult::kBlockReadFailed,
       3},
      // The block stays unread whatever the last wrong answer was, so the read has failed.
      {"frame of another length three times",
       {short_frame, short_frame, short_frame},
       LinkResult::kBlockReadFailed,
       3},
      {"ACK three times",
       {ByteReply(kAck), ByteReply(kAck), ByteReply(kAck)},
       LinkResult::kBlockReadFailed,
       3},
      {"lower-case data three times",
       {FrameReply(std::string(32, 'a')), FrameReply(std::string(32, 'a')),
        FrameReply(std::string(32, 'a'))},
       LinkResult::kBlockReadFailed,
       3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    unit_.commands.clear();
    unit_.faults[0x010] = c.first_answers;
    ParameterImage image;
    image.fill(0xEE);
    EXPECT_EQ(link_.ReadRange(image, 0x000, 0x02F), c.result);
    EXPECT_EQ(unit_.commands.size(), 2 + c.tries);
    // The blocks around the failing one are read; a failed block keeps the old bytes.
    EXPECT_EQ(image[0x00F], unit_.memory[0x00F]);
    EXPECT_EQ(image[0x020], unit_.memory[0x020]);
    EXPECT_EQ(image[0x010], c.result == LinkResult::kSuccess ? unit_.memory[0x010] : 0xEE);
    clock_.AdvanceMs(1000);
  }
}

TEST_F(ZixLinkMemoryTest, WriteRetries) {
  const Reply silence;
  struct Case {
    const char* name;
    std::vector<Reply> first_answers;
    LinkResult result;
    std::size_t tries;
  };
  const std::vector<Case> cases = {
      {"acknowledged at once", {}, LinkResult::kSuccess, 1},
      {"NAK then ACK", {ByteReply(kNak)}, LinkResult::kSuccess, 2},
      {"silence twice then ACK", {silence, silence}, LinkResult::kSuccess, 3},
      {"NAK three times",
       {ByteReply(kNak), ByteReply(kNak), ByteReply(kNak)},
       LinkResult::kBlockWriteFailed,
       3},
      // The block never reached the unit: that is a failed write, NAK or not.
      {"silence three times", {silence, silence, silence}, LinkResult::kBlockWriteFailed, 3},
      {"NAK, NAK, silence",
       {ByteReply(kNak), ByteReply(kNak), silence},
       LinkResult::kBlockWriteFailed,
       3},
      {"another byte three times",
       {ByteReply('0'), ByteReply('0'), ByteReply('0')},
       LinkResult::kBlockWriteFailed,
       3},
      {"a frame three times",
       {FrameReply("06"), FrameReply("06"), FrameReply("06")},
       LinkResult::kBlockWriteFailed,
       3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    unit_.commands.clear();
    unit_.faults[0x010] = c.first_answers;
    ParameterImage image{};
    EXPECT_EQ(link_.WriteRange(image, 0x000, 0x02F), c.result);
    EXPECT_EQ(unit_.commands.size(), 2 + c.tries);
    clock_.AdvanceMs(1000);
  }
}

struct VersionCase {
  std::string answer;  // empty: silence
  LinkResult result;
};

TEST_F(ZixLinkMemoryTest, CheckZixVersionAgainst14_1) {
  const std::vector<VersionCase> cases = {
      {"13-1 V01.00", LinkResult::kZixTooOld},
      {"09-1 V01.00", LinkResult::kZixTooOld},
      {"14-1 V01.00", LinkResult::kSuccess},
      {"15-1 V01.00", LinkResult::kSuccess},
      {"21-1 V01.00", LinkResult::kSuccess},
      {"15-2 V01.00", LinkResult::kZixTooOld},
      {"14-0 V01.00", LinkResult::kZixTooOld},
      {"14-1 V01.0", LinkResult::kNoAnswer},
      {"", LinkResult::kNoAnswer},
  };
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.answer);
    port_.replies.push_back(c.answer.empty() ? Reply{} : FrameReply(c.answer));
    EXPECT_EQ(link_.CheckZixVersion(kVersionForDeviceRead), c.result);
    EXPECT_EQ(CommandOf(port_.written.back()), "v");
  }
  port_.replies.push_back(FrameReply("11-1 V01.00"));
  EXPECT_EQ(link_.CheckZixVersion(kVersionForTransmitterInfo), LinkResult::kSuccess);
}

TEST_F(ZixLinkMemoryTest, MemoryOfEachKind) {
  struct Case {
    Reply answer;
    int size;
    bool extended;
    bool transferable;
  };
  const std::vector<Case> cases = {
      {ByteReply('1'), 2048, true, true},   {ByteReply('3'), 512, false, true},
      {ByteReply('4'), 1024, false, false}, {ByteReply('5'), 2048, false, true},
      {ByteReply('0'), 0, false, false},    {{}, 0, false, false},
  };
  for (const Case& c : cases) {
    port_.replies.push_back(c.answer);
    const UnitMemory memory = link_.QueryMemory();
    EXPECT_EQ(memory.size, c.size);
    EXPECT_EQ(memory.extended, c.extended);
    EXPECT_EQ(memory.transferable(), c.transferable);
    clock_.AdvanceMs(1000);
  }
}

TEST_F(ZixLinkMemoryTest, ReadZixVersionText) {
  port_.replies.push_back(FrameReply("14-1 V01.23"));
  std::string version = "old";
  EXPECT_EQ(link_.ReadZixVersion(version), LinkResult::kSuccess);
  EXPECT_EQ(version, "14-1 V01.23");
  port_.replies.push_back(ByteReply(kNak));
  EXPECT_EQ(link_.ReadZixVersion(version), LinkResult::kNoAnswer);
  EXPECT_EQ(version, "");
}

TEST_F(ZixLinkMemoryTest, MemoryKinds) {
  struct Case {
    const char* name;
    Reply answer;
    int size;
  };
  const std::vector<Case> cases = {
      {"1", ByteReply('1'), kExtendedMemory},
      {"3", ByteReply('3'), 512},
      {"4", ByteReply('4'), 1024},
      {"5", ByteReply('5'), 2048},
      {"5 in a frame", FrameReply("5"), 2048},
      {"0", ByteReply('0'), kUnknownMemory},
      {"2", ByteReply('2'), kUnknownMemory},
      {"NAK", ByteReply(kNak), kUnknownMemory},
      {"silence", {}, kUnknownMemory},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    port_.replies.push_back(c.answer);
    EXPECT_EQ(link_.MemorySize(), c.size);
    EXPECT_EQ(CommandOf(port_.written.back()), "G");
    clock_.AdvanceMs(1000);
  }
  port_.replies.push_back(ByteReply('0'));
  char kind = 0;
  EXPECT_EQ(link_.QueryMemoryKind(kind), LinkResult::kSuccess);
  EXPECT_EQ(kind, '0');
}

TEST_F(ZixLinkMemoryTest, AcknowledgedCommands) {
  struct Case {
    const char* name;
    LinkResult (*run)(ZixLink&);
    std::string command;
  };
  const std::vector<Case> cases = {
      {"CheckReady", [](ZixLink& l) { return l.CheckReady(); }, "O"},
      {"StartRadioReceive", [](ZixLink& l) { return l.StartRadioReceive(); }, "s1"},
      {"StopRadioReceive", [](ZixLink& l) { return l.StopRadioReceive(); }, "s0"},
      {"RequestTransmitterInfo",
       [](ZixLink& l) { return l.RequestTransmitterInfo("12AB", kTransmitterInfoParameters); },
       "a12AB2728292A2B2F"},
      {"SendTransmitterInfo",
       [](ZixLink& l) {
         return l.SendTransmitterInfo("12AB",
                                      "2718280029"
                                      "03");
       },
       "f12AB27182800290"
       "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    port_.replies.push_back(ByteReply(kAck));
    EXPECT_EQ(c.run(link_), LinkResult::kSuccess);
    EXPECT_EQ(CommandOf(port_.written.back()), c.command);
    for (const Reply& other : {ByteReply(kNak), Reply{}, FrameReply("06")}) {
      port_.replies.push_back(other);
      EXPECT_EQ(c.run(link_), LinkResult::kNoAnswer);
      clock_.AdvanceMs(1000);
    }
  }
}

TEST_F(ZixLinkMemoryTest, TransmitterPolls) {
  std::string text;
  port_.replies.push_back(FrameReply("12AB0000"));
  EXPECT_EQ(link_.GetRadioCode(text), LinkResult::kSuccess);
  EXPECT_EQ(CommandOf(port_.written.back()), "c1");
  EXPECT_EQ(text, "12AB");
  port_.replies.push_back(FrameReply("12AB"));
  EXPECT_EQ(link_.GetRadioCode(text), LinkResult::kNoAnswer);

  const std::string record = "12AB2718280029032A002B052F22";
  for (const std::string& answer : {std::string("04"), std::string("01"), record}) {
    port_.replies.push_back(FrameReply(answer));
    EXPECT_EQ(link_.PollTransmitterInfo(text), LinkResult::kSuccess);
    EXPECT_EQ(CommandOf(port_.written.back()), "A");
    EXPECT_EQ(text, answer);
  }
  port_.replies.push_back(ByteReply(kNak));
  EXPECT_EQ(link_.PollTransmitterInfo(text), LinkResult::kSuccess);
  EXPECT_EQ(text, "");

  port_.replies.push_back(FrameReply("03"));
  EXPECT_EQ(link_.PollTransmitterWrite(text), LinkResult::kSuccess);
  EXPECT_EQ(CommandOf(port_.written.back()), "F");
  EXPECT_EQ(text, "03");
  port_.replies.push_back(FrameReply("003"));
  EXPECT_EQ(link_.PollTransmitterWrite(text), LinkResult::kNoAnswer);
  EXPECT_EQ(text, "");
}

}  // namespace
}  // namespace vyn

namespace vyn {
namespace {

std::string BlockData(const ParameterImage& memory, int address, int count) {
  std::string data;
  for (int i = 0; i < count; ++i) data += ByteToHex(memory[static_cast<std::size_t>(address + i)]);
  return data;
}

// A block's answer that comes after the reply time must not be taken for the answer to a later
// command: here block 0x010 answers its first try 300 ms late and block 0x020 stays silent once,
// so without waiting out the late answer block 0x020 would hold block 0x010's bytes.
TEST_F(ZixLinkMemoryTest, ALateAnswerIsNeverTakenForAnotherBlock) {
  for (const bool write : {false, true}) {
    SCOPED_TRACE(write ? "write" : "read");
    const Reply late = {testing::Chunk{300, BuildFrame(BlockData(unit_.memory, 0x010, 16))}};
    unit_.faults[0x010] = {late};
    unit_.faults[0x020] = {Reply{}};
    if (write) {
      // The late answer to the write is an ACK; the one that follows for the next block a NAK,
      // which must be seen as such.
      unit_.faults[0x010] = {Reply{testing::Chunk{300, {kAck}}}};
      unit_.faults[0x020] = {Reply{}, ByteReply(kNak), ByteReply(kNak), ByteReply(kNak)};
      ParameterImage image = unit_.memory;
      EXPECT_EQ(link_.WriteRange(image, 0x000, 0x02F), LinkResult::kBlockWriteFailed);
    } else {
      ParameterImage image{};
      EXPECT_EQ(link_.ReadRange(image, 0x000, 0x03F), LinkResult::kSuccess);
      EXPECT_TRUE(std::equal(image.begin(), image.begin() + 0x40, unit_.memory.begin()));
    }
  }
}

}  // namespace
}  // namespace vyn
