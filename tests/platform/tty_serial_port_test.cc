#include "platform/tty_serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

namespace vyn {
namespace {

namespace fs = std::filesystem;

// A pseudo-terminal pair: the port under test opens the slave, the test plays the device on
// the master.
class TtySerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master_, 0);
    ASSERT_EQ(grantpt(master_), 0);
    ASSERT_EQ(unlockpt(master_), 0);
    slave_path_ = ptsname(master_);
    port_ = TtySerialPort::ForPath(slave_path_);
    ASSERT_TRUE(port_->Open());
  }
  void TearDown() override {
    port_.reset();
    if (master_ >= 0) close(master_);
  }

  void DeviceSends(const std::vector<std::uint8_t>& bytes) {
    ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  int master_ = -1;
  std::string slave_path_;
  std::unique_ptr<TtySerialPort> port_;
};

std::int64_t MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

TEST_F(TtySerialPortTest, ZixLineSettingsOnAPseudoTerminal) {
  // DTR cannot be cleared on a pseudo-terminal; that is tolerated.
  EXPECT_TRUE(port_->SetLineSettings(kZixLineSettings));
  const int probe = open(slave_path_.c_str(), O_RDWR | O_NOCTTY);
  termios tio{};
  if (probe >= 0 && tcgetattr(probe, &tio) == 0) {
    EXPECT_EQ(cfgetospeed(&tio), B57600);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(tio.c_cflag & PARENB, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
  }
  if (probe >= 0) close(probe);
  EXPECT_FALSE(port_->SetLineSettings(LineSettings{.baud = 12345}));
}

TEST_F(TtySerialPortTest, WriteReadAndBytesWaiting) {
  ASSERT_TRUE(port_->SetLineSettings(kZixLineSettings));
  const std::vector<std::uint8_t> frame = {0x02, 0x4F, 0x34, 0x46, 0x03};
  EXPECT_EQ(port_->Write(frame), frame.size());
  std::uint8_t got[16] = {};
  EXPECT_EQ(read(master_, got, sizeof got), 5);
  EXPECT_TRUE(std::equal(frame.begin(), frame.end(), got));

  EXPECT_EQ(port_->BytesWaiting(), 0u);
  DeviceSends({0x06, 0x15, 0x41});
  EXPECT_TRUE(port_->WaitReadable(1000));
  EXPECT_EQ(port_->BytesWaiting(), 3u);
  std::uint8_t in[2];
  EXPECT_EQ(port_->Read(in), 2u);
  EXPECT_EQ(in[0], 0x06);
  EXPECT_EQ(port_->BytesWaiting(), 1u);
  port_->Purge(true, true);
  EXPECT_EQ(port_->BytesWaiting(), 0u);
  EXPECT_EQ(port_->Read(in), 0u);
}

TEST_F(TtySerialPortTest, WaitReadableBlocksUntilTheTimeout) {
  ASSERT_TRUE(port_->SetLineSettings(kZixLineSettings));
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(port_->WaitReadable(60));
  EXPECT_GE(MsSince(start), 60);

  // With the device gone the wait still lasts its time instead of returning at once.
  close(master_);
  master_ = -1;
  start = std::chrono::steady_clock::now();
  EXPECT_FALSE(port_->WaitReadable(60));
  EXPECT_GE(MsSince(start), 59);
}

TEST_F(TtySerialPortTest, ReopenAfterCloseAndMissingDevice) {
  port_->Close();
  EXPECT_FALSE(port_->IsOpen());
  EXPECT_EQ(port_->BytesWaiting(), 0u);
  EXPECT_TRUE(port_->Open());  // exclusive use ended with Close
  if (geteuid() != 0) {
    // Exclusive use keeps a second program out (root is exempt).
    auto other = TtySerialPort::ForPath(slave_path_);
    EXPECT_FALSE(other->Open());
  }
  EXPECT_FALSE(TtySerialPort::ForPath("/dev/nonexistent-tty")->Open());
}

TEST(FindTtyByUsbProductTest, FollowsTheDeviceLinkToTheUsbProduct) {
  const fs::path root = fs::temp_directory_path() / ("vyn-sysfs-" + std::to_string(getpid()));
  fs::remove_all(root);
  auto usb_device = [&](const std::string& name, const std::string& product) {
    const fs::path device = root / "devices" / name;
    fs::create_directories(device / (name + ":1.0") / "ttyUSB");
    std::ofstream(device / "product") << product << "\n";
    return device / (name + ":1.0") / "ttyUSB";
  };
  const fs::path other = usb_device("1-1", "FT232R USB UART");
  const fs::path zix = usb_device("1-2", "Kemb ZIX - Active USB Interface");
  fs::create_directories(root / "class" / "ttyUSB0");
  fs::create_directories(root / "class" / "ttyUSB3");
  fs::create_directories(root / "class" / "ttyS0");
  fs::create_directory_symlink(other, root / "class" / "ttyUSB0" / "device");
  fs::create_directory_symlink(zix, root / "class" / "ttyUSB3" / "device");

  EXPECT_EQ(FindTtyByUsbProduct("Kemb ZIX - Active USB Interface", (root / "class").string()),
            "/dev/ttyUSB3");
  // The whole product string must match.
  EXPECT_EQ(FindTtyByUsbProduct("Kemb ZIX", (root / "class").string()), "");
  EXPECT_EQ(FindTtyByUsbProduct("x", (root / "missing").string()), "");
  fs::remove_all(root);
}

}  // namespace
}  // namespace vyn
