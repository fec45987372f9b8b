#include "platform/zix_port_factory.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/link/zix_link.h"
#include "platform/ftdi_serial_port.h"
#include "platform/tty_serial_port.h"

namespace vyn {
namespace {

TEST(ZixPortFactoryTest, PortChoice) {
  EXPECT_NE(dynamic_cast<FtdiSerialPort*>(MakeZixPort("ftdi").get()), nullptr);
  EXPECT_NE(dynamic_cast<FtdiSerialPort*>(MakeZixPort("").get()), nullptr);
  EXPECT_NE(dynamic_cast<TtySerialPort*>(MakeZixPort("tty").get()), nullptr);
  auto path_port = MakeZixPort("/dev/pts/12345");
  auto* tty = dynamic_cast<TtySerialPort*>(path_port.get());
  ASSERT_NE(tty, nullptr);
  EXPECT_EQ(tty->path(), "/dev/pts/12345");
  EXPECT_FALSE(tty->Open());

  setenv("VYN_ZIX_PORT", "/dev/pts/54321", 1);
  auto from_env = MakeZixPortFromEnvironment();
  ASSERT_NE(dynamic_cast<TtySerialPort*>(from_env.get()), nullptr);
  EXPECT_EQ(dynamic_cast<TtySerialPort*>(from_env.get())->path(), "/dev/pts/54321");
  unsetenv("VYN_ZIX_PORT");
}

TEST(ZixPortFactoryTest, TraceOnlyWhenAskedFor) {
  unsetenv("VYN_ZIX_TRACE");
  EXPECT_EQ(OpenTraceFromEnvironment(), nullptr);

  const std::string path =
      (std::filesystem::temp_directory_path() / ("vyn-trace-" + std::to_string(getpid()))).string();
  std::filesystem::remove(path);
  setenv("VYN_ZIX_TRACE", path.c_str(), 1);
  {
    auto sink = OpenTraceFromEnvironment();
    ASSERT_NE(sink, nullptr);
    const std::uint8_t ack[] = {kAck};
    sink->Record(TraceEvent{42, TraceDirection::kReceived, ack, TraceOutcome::kAck});
  }
  unsetenv("VYN_ZIX_TRACE");
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "42 < 06 |.| ACK");
  std::filesystem::remove(path);

  setenv("VYN_ZIX_TRACE", "/nonexistent-dir/trace.txt", 1);
  EXPECT_EQ(OpenTraceFromEnvironment(), nullptr);
  unsetenv("VYN_ZIX_TRACE");
}

}  // namespace
}  // namespace vyn
