// The real unit simulator on a pseudo-terminal, driven through the real port, link and clock.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/link/zix_link.h"
#include "platform/steady_clock.h"
#include "platform/tty_serial_port.h"
#include "support/unit_sim_process.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;

using testing_support::UnitSim;

class UnitSimEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vyn-unit-sim-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    memory_ = (dir_ / "memory.bin").string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::vector<std::string> Args(std::vector<std::string> extra) const {
    std::vector<std::string> args = {"--memory", memory_, "--log", (dir_ / "sim.log").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }

  fs::path dir_;
  std::string memory_;
  SteadyClock clock_;
};

TEST_F(UnitSimEndToEndTest, VersionReadyMemoryKindAndABlockRoundTrip) {
  UnitSim sim(Args({"--zix-version", "14-1-V03.00", "--wire-speed"}));
  ASSERT_FALSE(sim.path().empty());
  auto port = TtySerialPort::ForPath(sim.path());
  ZixLink link(*port, clock_);
  ASSERT_EQ(link.Open(), OpenResult::kOpened);

  std::string version;
  EXPECT_EQ(link.ReadZixVersion(version), LinkResult::kSuccess);
  EXPECT_EQ(version, "14-1-V03.00");
  EXPECT_EQ(link.CheckZixVersion(kVersionForDeviceRead), LinkResult::kSuccess);
  EXPECT_EQ(link.CheckReady(), LinkResult::kSuccess);
  EXPECT_EQ(link.MemorySize(), 2048);

  ParameterImage image{};
  for (int i = 0; i < 0x30; ++i) image[0x100 + i] = static_cast<std::uint8_t>(0xA0 + i);
  EXPECT_EQ(link.WriteRange(image, 0x100, 0x12F), LinkResult::kSuccess);
  ParameterImage back{};
  EXPECT_EQ(link.ReadRange(back, 0x100, 0x12F), LinkResult::kSuccess);
  EXPECT_EQ(back, image);
  link.Close();
  EXPECT_EQ(sim.Stop(), 0);

  // The simulator keeps the unit's memory in its file.
  std::ifstream file(memory_, std::ios::binary);
  std::vector<char> stored((std::istreambuf_iterator<char>(file)), {});
  ASSERT_EQ(stored.size(), kImageSize);
  EXPECT_EQ(static_cast<std::uint8_t>(stored[0x12F]), 0xCF);
}

TEST_F(UnitSimEndToEndTest, ExtendedModeChunkedRepliesAndFaults) {
  UnitSim sim(Args({"--memory-kind", "1", "--chunk", "16", "--chunk-gap", "40", "--fault",
                    "20:nak:2", "--fault", "60:silence"}));
  ASSERT_FALSE(sim.path().empty());
  auto port = TtySerialPort::ForPath(sim.path());
  ZixLink link(*port, clock_);
  ASSERT_EQ(link.Open(), OpenResult::kOpened);
  EXPECT_EQ(link.MemorySize(), kExtendedMemory);
  link.SetExtendedMode(true);

  ParameterImage image{};
  image.fill(0x5A);
  // The block at 0x20 succeeds on its third try; the block at 0x60 is never answered.
  EXPECT_EQ(link.ReadRange(image, 0x00, 0x5F), LinkResult::kSuccess);
  EXPECT_EQ(image[0x20], 0x00);
  EXPECT_EQ(link.ReadRange(image, 0x40, 0x7F), LinkResult::kBlockReadFailed);
  EXPECT_EQ(image[0x60], 0x5A);
  EXPECT_EQ(sim.Stop(), 0);
}

TEST_F(UnitSimEndToEndTest, ReadinessAndTransmitterCommands) {
  UnitSim sim(Args({"--ready-after", "2", "--memory-kind", "nak", "--radio-code", "12AB",
                    "--radio-after", "1", "--info-after", "2", "--info-write-after", "2"}));
  ASSERT_FALSE(sim.path().empty());
  auto port = TtySerialPort::ForPath(sim.path());
  ZixLink link(*port, clock_);
  ASSERT_EQ(link.Open(), OpenResult::kOpened);
  EXPECT_EQ(link.CheckReady(), LinkResult::kNoAnswer);
  EXPECT_EQ(link.CheckReady(), LinkResult::kNoAnswer);
  EXPECT_EQ(link.CheckReady(), LinkResult::kSuccess);
  EXPECT_EQ(link.MemorySize(), kUnknownMemory);

  std::string text;
  EXPECT_EQ(link.StartRadioReceive(), LinkResult::kSuccess);
  EXPECT_EQ(link.GetRadioCode(text), LinkResult::kSuccess);
  EXPECT_EQ(text, "0000");
  EXPECT_EQ(link.GetRadioCode(text), LinkResult::kSuccess);
  EXPECT_EQ(text, "12AB");
  EXPECT_EQ(link.StopRadioReceive(), LinkResult::kSuccess);

  EXPECT_EQ(link.RequestTransmitterInfo("12AB", kTransmitterInfoParameters), LinkResult::kSuccess);
  link.PollTransmitterInfo(text);
  EXPECT_EQ(text, "00");
  link.PollTransmitterInfo(text);
  EXPECT_EQ(text.size(), 28u);
  EXPECT_EQ(text.substr(0, 4), "12AB");

  EXPECT_EQ(link.SendTransmitterInfo("12AB",
                                     "2730280129"
                                     "01"),
            LinkResult::kSuccess);
  EXPECT_EQ(link.PollTransmitterWrite(text), LinkResult::kSuccess);
  EXPECT_EQ(text, "00");
  EXPECT_EQ(link.PollTransmitterWrite(text), LinkResult::kSuccess);
  EXPECT_EQ(text, "03");
  // The transmitter now reports the values written.
  EXPECT_EQ(link.RequestTransmitterInfo("12AB", kTransmitterInfoParameters), LinkResult::kSuccess);
  link.PollTransmitterInfo(text);
  link.PollTransmitterInfo(text);
  EXPECT_EQ(text.substr(4, 12), "273028012901");
  EXPECT_EQ(sim.Stop(), 0);
}

TEST_F(UnitSimEndToEndTest, RefusesABadCommandLine) {
  UnitSim sim({"--fault", "zz:nak"});
  EXPECT_TRUE(sim.path().empty());
  EXPECT_EQ(sim.Stop(), 2);
}

}  // namespace
}  // namespace vyn
