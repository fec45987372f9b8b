#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/link/zix_link.h"
#include "scripted_port.h"

namespace vyn {
namespace {

using testing::Bytes;
using testing::Chunk;
using testing::Reply;
using testing::ScriptedPort;
using testing::ToBytes;

class ZixLinkFrameTest : public ::testing::Test {
 protected:
  ZixLinkFrameTest() : port_(clock_), link_(port_, clock_) {}
  void SetUp() override { ASSERT_EQ(link_.Open(), OpenResult::kOpened); }

  FakeClock clock_;
  ScriptedPort port_;
  ZixLink link_;
};

TEST(ZixFrameTest, FramesAreByteExact) {
  struct Case {
    std::string command;
    Bytes frame;
  };
  const std::vector<Case> cases = {
      {"O", {0x02, 0x4F, 0x34, 0x46, 0x03}},
      {"R012010", {0x02, 0x52, 0x30, 0x31, 0x32, 0x30, 0x31, 0x30, 0x37, 0x36, 0x03}},
      {"12AB", {0x02, 0x31, 0x32, 0x41, 0x42, 0x45, 0x36, 0x03}},
      // A sum past 255 keeps its low byte: "zz" = 0xF4.
      {"zz", {0x02, 0x7A, 0x7A, 0x46, 0x34, 0x03}},
      {"", {}},
      // A NUL ends the command text.
      {std::string("O\0R", 3), {0x02, 0x4F, 0x34, 0x46, 0x03}},
  };
  for (const Case& c : cases) EXPECT_EQ(BuildFrame(c.command), c.frame) << c.command;
}

TEST(ZixFrameTest, CommandThatDoesNotFitTheFrameBufferIsRefused) {
  EXPECT_EQ(BuildFrame(std::string(kMaxCommandLength, 'A')).size(), kMaxCommandLength + 4);
  EXPECT_TRUE(BuildFrame(std::string(kMaxCommandLength + 1, 'A')).empty());
}

TEST(ZixFrameTest, HexDigits) {
  EXPECT_EQ(ByteToHex(0x00), "00");
  EXPECT_EQ(ByteToHex(0x4F), "4F");
  EXPECT_EQ(ByteToHex(0xA9), "A9");
  EXPECT_EQ(ByteToHex(0xFF), "FF");
  struct Case {
    char c;
    int value;
  };
  for (const Case& c : std::vector<Case>{
           {'0', 0}, {'9', 9}, {'A', 10}, {'F', 15}, {'a', 42}, {'f', 47}, {' ', 0xF0}}) {
    EXPECT_EQ(HexDigitValue(c.c), c.value) << c.c;
  }
}

TEST_F(ZixLinkFrameTest, SendPurgesBothDirectionsAndWritesOneFrame) {
  port_.purges.clear();
  EXPECT_EQ(link_.SendCommand("O"), 5);
  ASSERT_EQ(port_.written.size(), 1u);
  EXPECT_EQ(port_.written[0], (Bytes{0x02, 0x4F, 0x34, 0x46, 0x03}));
  EXPECT_EQ(port_.purges, std::vector<std::string>{"rxtx"});
}

TEST_F(ZixLinkFrameTest, EmptyOrTooLongCommandSendsNothing) {
  port_.purges.clear();
  EXPECT_EQ(link_.SendCommand(""), 0);
  EXPECT_EQ(link_.SendCommand(std::string(kMaxCommandLength + 1, 'W')), 0);
  EXPECT_TRUE(port_.written.empty());
  EXPECT_TRUE(port_.purges.empty());
}

TEST_F(ZixLinkFrameTest, LateBytesOfAnEarlierExchangeAreDiscardedBySend) {
  port_.replies.push_back({{0, {kAck}}, {1, {kAck}}});
  std::string reply;
  EXPECT_EQ(link_.Exchange("O", reply, kReplyTimeLimitMs, 1), 1);
  clock_.AdvanceMs(5);
  // The second ACK is still waiting; the next send purges it.
  EXPECT_EQ(link_.Exchange("O", reply, kReplyTimeLimitMs, 1), 0);
}

// The reply cases of the frame layer, all in virtual time from the moment the command was
// written.
TEST_F(ZixLinkFrameTest, ReceiveReplyCases) {
  const Bytes k12ab = {0x02, 0x31, 0x32, 0x41, 0x42, 0x45, 0x36, 0x03};
  struct Case {
    const char* name;
    Reply reply;
    int expected;
    int result;
    std::string data;
    std::uint64_t elapsed_ms;
  };
  const std::vector<Case> cases = {
      {"frame", {{5, k12ab}}, 4, 4, "12AB", 5},
      {"lower-case checksum", {{5, {0x02, 0x31, 0x32, 0x41, 0x42, 0x65, 0x36, 0x03}}}, 4, 0, "", 5},
      {"wrong checksum", {{5, {0x02, 0x31, 0x32, 0x41, 0x42, 0x45, 0x37, 0x03}}}, 4, 0, "", 5},
      {"ACK", {{3, {kAck}}}, 1, 1, "\x06", 3},
      {"NAK where one byte is expected", {{3, {kNak}}}, 1, 1, "\x15", 3},
      {"NAK where a frame is expected", {{3, {kNak}}}, 4, 1, "\x15", 3 + 250},
      {"any single byte", {{3, {'5'}}}, 1, 1, "5", 3},
      {"STX and ETX only", {{5, {0x02, 0x03}}}, 4, 0, "", 5},
      {"three bytes", {{5, {0x02, 0x41, 0x03}}}, 4, 0, "", 5},
      {"silence costs the time limit", {}, 4, 0, "", 250},
      {"ACK and a stray byte", {{2, {kAck, 0x41}}}, 1, 0, "", 2 + 250},
      {"chunks 200 ms apart are assembled",
       {{10, {0x02, 0x31, 0x32}}, {200, {0x41, 0x42}}, {249, {0x45, 0x36, 0x03}}},
       4,
       4,
       "12AB",
       459},
      {"a pause of 250 ms ends the wait",
       {{10, {0x02, 0x31, 0x32}}, {250, {0x41, 0x42, 0x45, 0x36, 0x03}}},
       4,
       0,
       "",
       260},
      {"a slow first byte after the time limit is not seen", {{251, k12ab}}, 4, 0, "", 250},
      {"frame ended by NUL",
       {{5, {0x02, 0x31, 0x32, 0x41, 0x42, 0x45, 0x36, 0x03, 0x00, 0x41}}},
       4,
       4,
       "12AB",
       5},
      {"NUL inside the payload",
       {{5, {0x02, 0x31, 0x00, 0x41, 0x42, 0x45, 0x36, 0x03}}},
       4,
       0,
       "",
       5 + 250},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    port_.replies.push_back(c.reply);
    ASSERT_EQ(link_.SendCommand("A"), 5);
    const std::uint64_t start = clock_.NowMs();
    std::string data = "old";
    EXPECT_EQ(link_.ReceiveReply(data, kReplyTimeLimitMs, c.expected), c.result);
    EXPECT_EQ(data, c.data);
    EXPECT_EQ(clock_.NowMs() - start, c.elapsed_ms);
    // Let whatever is still on the way arrive before the next case.
    clock_.AdvanceMs(1000);
  }
}

// The typed reply tells what arrived; its count is the frame layer's number.
TEST_F(ZixLinkFrameTest, ReplyKinds) {
  struct Case {
    const char* name;
    Reply reply;
    int expected;
    ZixReply::Kind kind;
    int count;
    bool ack;
  };
  const std::vector<Case> cases = {
      {"ACK", {{3, {kAck}}}, 1, ZixReply::Kind::kByte, 1, true},
      {"NAK", {{3, {kNak}}}, 1, ZixReply::Kind::kByte, 1, false},
      {"frame of one character",
       {{3, {0x02, 0x35, 0x33, 0x35, 0x03}}},
       1,
       ZixReply::Kind::kFrame,
       1,
       false},
      {"empty frame", {{3, {0x02, 0x30, 0x30, 0x03}}}, 2, ZixReply::Kind::kFrame, 0, false},
      {"wrong checksum",
       {{3, {0x02, 0x35, 0x33, 0x36, 0x03}}},
       1,
       ZixReply::Kind::kNothing,
       0,
       false},
      {"silence", {}, 1, ZixReply::Kind::kNothing, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    port_.replies.push_back(c.reply);
    const ZixReply reply = link_.Request("A", c.expected);
    EXPECT_EQ(reply.kind, c.kind);
    EXPECT_EQ(reply.count(), c.count);
    EXPECT_EQ(reply.IsAck(), c.ack);
    clock_.AdvanceMs(1000);
  }
}

TEST_F(ZixLinkFrameTest, ReplyStreamingPastNinetyBytesEndsByADeadline) {
  Reply endless;
  for (int i = 0; i < 1000; ++i) endless.push_back({10, {'A'}});
  port_.replies.push_back(endless);
  std::string data;
  const std::uint64_t start = clock_.NowMs();
  EXPECT_EQ(link_.Exchange("A", data, kReplyTimeLimitMs, 4), 0);
  // The 90th byte arrives at 900 ms; 250 ms later the wait is over although bytes keep coming.
  EXPECT_EQ(clock_.NowMs() - start, 900u + 250u);
}

TEST_F(ZixLinkFrameTest, DriverReportingReadinessWithoutDataDoesNotSpin) {
  port_.readable_without_data = true;
  port_.device_calls = 0;
  std::string data;
  EXPECT_EQ(link_.Exchange("O", data, kReplyTimeLimitMs, 1), 0);
  EXPECT_LE(port_.device_calls, 100);
}

TEST_F(ZixLinkFrameTest, SilenceIsWaitedForOnTheDevice) {
  port_.device_calls = 0;
  std::string data;
  EXPECT_EQ(link_.Exchange("O", data, kReplyTimeLimitMs, 1), 0);
  EXPECT_LE(port_.device_calls, 3);
  EXPECT_EQ(clock_.slept_ms(), 0u);
}

TEST(ZixLinkOpenTest, OpenCloseLifecycle) {
  FakeClock clock;
  ScriptedPort port(clock);
  ZixLink link(port, clock);
  link.Close();  // harmless while closed
  EXPECT_EQ(port.closes, 0);

  EXPECT_EQ(link.Open(), OpenResult::kOpened);
  EXPECT_EQ(port.last_settings.baud, 57600);
  EXPECT_EQ(port.last_settings.data_bits, 8);
  EXPECT_EQ(port.last_settings.stop_bits, 2);
  EXPECT_EQ(port.last_settings.parity, Parity::kNone);
  EXPECT_FALSE(port.last_settings.hardware_flow_control);
  EXPECT_FALSE(port.last_settings.dtr);

  // Opening an open link starts from scratch.
  EXPECT_EQ(link.Open(), OpenResult::kOpened);
  EXPECT_EQ(port.opens, 2);
  EXPECT_EQ(port.closes, 1);

  port.purges.clear();
  link.Close();
  EXPECT_EQ(port.purges, std::vector<std::string>{"rx"});
  EXPECT_FALSE(link.IsOpen());
}

TEST(ZixLinkOpenTest, FailuresOfOpenAndOfTheSettings) {
  FakeClock clock;
  ScriptedPort port(clock);
  ZixLink link(port, clock);
  port.open_fails = true;
  EXPECT_EQ(link.Open(), OpenResult::kFailed);
  EXPECT_EQ(port.settings_calls, 0);
  EXPECT_FALSE(link.IsOpen());
  std::string data;
  EXPECT_EQ(link.Exchange("O", data, kReplyTimeLimitMs, 1), 0);

  port.open_fails = false;
  port.settings_fail = true;
  EXPECT_EQ(link.Open(), OpenResult::kFailed);
  // The port stays held until the caller closes the link.
  EXPECT_TRUE(link.IsOpen());
  link.Close();
  EXPECT_FALSE(link.IsOpen());
}

class RecordingSink : public ZixTraceSink {
 public:
  void Record(const TraceEvent& event) override { lines.push_back(FormatTraceLine(event)); }
  std::vector<std::string> lines;
};

TEST_F(ZixLinkFrameTest, TraceShowsEachFrameAndReply) {
  RecordingSink sink;
  link_.SetTrace(&sink);
  port_.replies.push_back({{4, {kAck}}});
  port_.replies.push_back({{4, {0x02, 0x31, 0x32, 0x41, 0x42, 0x65, 0x36, 0x03}}});
  std::string data;
  link_.Exchange("O", data, kReplyTimeLimitMs, 1);
  link_.Exchange("O", data, kReplyTimeLimitMs, 4);
  link_.Exchange("O", data, kReplyTimeLimitMs, 1);
  const std::vector<std::string> expected = {
      "1000 > 02 4F 34 46 03 |.O4F.| frame",
      "1004 < 06 |.| ACK",
      "1004 > 02 4F 34 46 03 |.O4F.| frame",
      "1008 < 02 31 32 41 42 65 36 03 |.12ABe6.| bad checksum",
      "1008 > 02 4F 34 46 03 |.O4F.| frame",
      "1258 < || silence",
  };
  EXPECT_EQ(sink.lines, expected);
}

}  // namespace
}  // namespace vyn
