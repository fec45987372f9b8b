#include "platform/udp_socket.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vyn {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(UdpSocketTest, SendsToANameAndReceivesWithTheSender) {
  UdpSocket a, b;
  ASSERT_TRUE(a.Bind(0));
  ASSERT_TRUE(b.Bind(0));
  EXPECT_NE(a.LocalPort(), 0);
  EXPECT_GE(a.Descriptor(), 0);
  EXPECT_FALSE(b.Receive().has_value());
  EXPECT_FALSE(b.WaitReadable(0));

  EXPECT_EQ(a.SendTo("localhost", b.LocalPort(), Bytes("Get status:pw")), SendResult::kSent);
  ASSERT_TRUE(b.WaitReadable(2000));
  const std::optional<Datagram> got = b.Receive();
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(got->bytes, Bytes("Get status:pw"));
  EXPECT_EQ(got->sender_host, "127.0.0.1");
  EXPECT_EQ(got->sender_port, a.LocalPort());
  EXPECT_FALSE(b.Receive().has_value());

  // Empty and large datagrams arrive whole.
  std::vector<std::uint8_t> large(5000, 0xA5);
  EXPECT_EQ(a.SendTo("127.0.0.1", b.LocalPort(), {}), SendResult::kSent);
  EXPECT_EQ(a.SendTo("127.0.0.1", b.LocalPort(), large), SendResult::kSent);
  ASSERT_TRUE(b.WaitReadable(2000));
  EXPECT_EQ(b.Receive()->bytes.size(), 0u);
  ASSERT_TRUE(b.WaitReadable(2000));
  EXPECT_EQ(b.Receive()->bytes, large);
}

TEST(UdpSocketTest, PortInUseIsReported) {
  UdpSocket b;
  std::uint16_t port = 0;
  {
    UdpSocket a;
    ASSERT_TRUE(a.Bind(0));
    port = a.LocalPort();
    EXPECT_FALSE(b.Bind(port));
    EXPECT_FALSE(b.IsBound());
    EXPECT_EQ(b.SendTo("127.0.0.1", port, Bytes("x")), SendResult::kFailed);
    EXPECT_FALSE(b.Receive().has_value());
    EXPECT_FALSE(b.WaitReadable(10));
  }
  // Once the port is free again it can be bound.
  EXPECT_TRUE(b.Bind(port));
  EXPECT_EQ(b.LocalPort(), port);
}

TEST(UdpSocketTest, UnresolvableHost) {
  UdpSocket a;
  ASSERT_TRUE(a.Bind(0));
  EXPECT_EQ(a.SendTo("", 46000, Bytes("x")), SendResult::kUnresolved);
}

}  // namespace
}  // namespace vyn
