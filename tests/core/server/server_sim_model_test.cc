// The server simulator flags every way a programmer's message breaks the protocol.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/server_sim/server_model.h"

namespace vyn::sim {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// "Config data" for window `first` with 256 bytes of `fill` and the given check byte.
std::vector<std::uint8_t> ConfigData(int counter, int first, std::uint8_t fill, std::uint8_t check,
                                     std::size_t bytes = 256) {
  std::vector<std::uint8_t> out =
      Bytes("ID:Prog_7," + std::to_string(counter) + ";Config data:pw;" + std::to_string(first) +
            "," + std::to_string(first + 255) + ",");
  out.insert(out.end(), bytes, fill);
  out.push_back(check);
  return out;
}

class ServerModelTest : public ::testing::Test {
 protected:
  std::string Send(const std::vector<std::uint8_t>& datagram, std::uint16_t port = 45010) {
    std::string note;
    const auto answer = model_.Answer(datagram, port, note);
    return answer ? std::string(answer->begin(), answer->end()) : "";
  }
  std::string Send(const std::string& text) { return Send(Bytes(text)); }
  std::vector<std::string> Violations() const { return model_.violations(); }

  ParameterImage memory_{};
  ServerModel model_{ServerOptions{}, memory_};
};

TEST_F(ServerModelTest, ACleanWriteHasNoViolations) {
  ServerOptions options;
  options.scenario = Scenario::kWriteOk;
  ServerModel model(options, memory_);
  std::string note;
  int counter = 10;
  auto send = [&](const std::vector<std::uint8_t>& d) {
    auto a = model.Answer(d, 45010, note);
    return a ? std::string(a->begin(), a->end()) : "";
  };
  EXPECT_TRUE(
      send(Bytes("ID:Prog_7,10;Write VYN IP config:pw")).ends_with("Write request queued pw"));
  EXPECT_TRUE(send(Bytes("ID:Prog_7,11;Get status:pw")).ends_with(",Send config data pw"));
  for (int w = 0; w < 8; ++w) {
    const std::string reply = send(ConfigData(12 + w, 256 * w, 0x10, 0xFF));
    EXPECT_TRUE(reply.ends_with(w < 7 ? "Send config data pw" : "Config data received pw"))
        << reply;
  }
  counter = 20;
  std::string reply;
  while (!reply.ends_with("RODID write OK pw") && counter < 40) {
    reply = send(Bytes("ID:Prog_7," + std::to_string(counter++) + ";Get status:pw"));
  }
  send(Bytes("ID:Prog_7," + std::to_string(counter) + ";Config load OK:pw"));
  EXPECT_TRUE(model.violations().empty()) << ::testing::PrintToString(model.violations());
  EXPECT_EQ(memory_[2047], 0x10);
  EXPECT_EQ(model.completed(), 1);
}

TEST_F(ServerModelTest, FlagsWhatBreaksTheProtocol) {
  Send("ID:Prog_7,10;Write VYN IP config:pw");
  Send("ID:Prog_7,11;Get status:pw");
  Send(ConfigData(12, 0, 0, 0xFF));
  const struct {
    std::vector<std::uint8_t> datagram;
    std::uint16_t port;
    const char* violation;
  } cases[] = {
      {Bytes("ID:Prog_7,20;Get status:pw"), 45010, "counter 20 after 12"},
      {ConfigData(21, 1024, 0, 0xFF), 45010, "window 4 out of order, expected 1"},
      {ConfigData(22, 100, 0, 0xFF), 45010, "window 100,355 out of range"},
      {ConfigData(23, 2048, 0, 0xFF), 45010, "window 2048,2303 out of range"},
      {ConfigData(24, 256, 0, 0x00), 45010, "check byte 0x00, expected 0xFF"},
      {ConfigData(25, 256, 0, 0xFF, 255), 45010, "length 292, expected 293"},
      {Bytes("ID:Prog_7,26;Get status:pw"), 40000, "source port 40000, expected 45010"},
      {Bytes("ID:Prog_8,27;Get status:pw"), 45010, "identifier changed to 8"},
      {Bytes("ID:Prog_7,28;Get status:other"), 45010, "password changed"},
      {Bytes("garbage"), 45010, "not a programmer message"},
      {Bytes("ID:Prog_7,29;Fly:pw"), 45010, "unknown command Fly"},
  };
  for (const auto& c : cases) {
    const std::size_t before = Violations().size();
    Send(c.datagram, c.port);
    ASSERT_EQ(Violations().size(), before + 1) << c.violation;
    EXPECT_EQ(Violations().back(), c.violation);
  }
}

TEST_F(ServerModelTest, ANewExchangeMayStartAnywhere) {
  Send("ID:Prog_7,500;Read VYN IP config:pw");
  Send("ID:Prog_7,501;Cancel config load:pw");
  Send("ID:Prog_7,3;Read VYN IP config:pw");  // a programmer started anew
  Send("ID:Prog_7,4;Get status:pw");
  EXPECT_TRUE(Violations().empty()) << ::testing::PrintToString(Violations());
  Send("ID:Prog_7,9;Read VYN IP config:pw");  // a request inside the open exchange
  EXPECT_EQ(Violations(), std::vector<std::string>{"counter 9 after 4"});
}

}  // namespace
}  // namespace vyn::sim
