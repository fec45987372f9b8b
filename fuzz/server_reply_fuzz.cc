// The server exchange against a hostile server: whatever datagrams come back (well-formed
// status replies in any order, data windows with any bytes, garbage of any length, at any time),
// a whole read or write ends within a bounded virtual time, and what the programmer sends stays
// within the protocol: counters consecutive, windows of 256 bytes inside the image, every
// uploaded window with its right check byte, and a success only when the exchange really got
// there.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/link/clock.h"
#include "core/server/scripted_socket.h"
#include "core/server/server_exchange.h"
#include "core/server/socket_event_pump.h"
#include "core/session/scripted_prompter.h"
#include "fuzz_support.h"

namespace {

using vyn::testing::ScriptedSocket;

constexpr char kPassword[] = "pw";

// The server's status texts with the password put in, as a hostile server might send them.
constexpr std::string_view kStatuses[] = {
    "Idle",
    "Busy",
    "Waiting",
    "Read request queued pw",
    "Write request queued pw",
    "VYN IP sending data pw ",
    "Sending VYN IP config pw",
    "Send config data pw",
    "Config data received pw",
    "Data transfer pw",
    "VYN IP receiving data pw ",
    "RODID write OK pw",
    "Error in password pw",
};

// Every phase runs for at most its limit, busy phases included; the request pauses and the
// restart of a write come on top. Generous, so only a real hang breaks it.
constexpr std::uint64_t kExchangeBoundMs = 40 * (vyn::kPhaseLimitMs + 10'000);

// The command of a message: "Get status", "Config data", ...
std::string_view CommandOf(std::string_view text) {
  const std::size_t semicolon = text.find(';');
  if (semicolon == std::string_view::npos) return {};
  const std::size_t colon = text.find(':', semicolon);
  return text.substr(semicolon + 1, colon - semicolon - 1);
}

std::int64_t CounterOf(std::string_view text) {
  const std::size_t comma = text.find(',');
  const std::size_t semicolon = text.find(';');
  return std::stoll(std::string(text.substr(comma + 1, semicolon - comma - 1)));
}

// The first and last offset after the password of a "Get data" or "Config data" message.
std::pair<int, int> OffsetsOf(std::string_view text) {
  const std::size_t semicolon = text.find(';', text.find(';') + 1);
  const std::size_t comma = text.find(',', semicolon);
  return {std::stoi(std::string(text.substr(semicolon + 1, comma - semicolon - 1))),
          std::stoi(std::string(text.substr(comma + 1)))};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vyn;
  fuzz::Input input(data, size);
  const bool write = input.Byte() & 1;

  FakeClock clock(10'000);
  ScriptedSocket socket(clock);
  // Each datagram sent takes up to three replies from the input, each a status reply (with any
  // tail, a data window among them) or plain bytes, after a delay of up to two seconds.
  socket.responder = [&input](const ScriptedSocket::Sent&) {
    std::vector<ScriptedSocket::Reply> replies;
    const unsigned count = input.Below(4);
    for (unsigned i = 0; i < count && !input.Empty(); ++i) {
      std::string bytes;
      const unsigned kind = input.Below(16);
      if (kind < std::size(kStatuses)) {
        bytes = "ID:Srv_1,1;0,0," + std::string(kStatuses[kind]);
        // A data window: separator, 256 bytes, check byte; taken from the input when it is long
        // enough, so windows with right and wrong check bytes both come.
        if (kStatuses[kind].starts_with("Data transfer")) {
          bytes += ' ';
          std::string window = input.Bytes(255);
          window.resize(vyn::kWindowSize + 1, static_cast<char>(input.Byte()));
          if (input.Byte() & 1) {
            window.back() = static_cast<char>(CheckByte(
                std::span(reinterpret_cast<const std::uint8_t*>(window.data()), vyn::kWindowSize)));
          }
          bytes += window;
        } else {
          bytes += input.Bytes(8);
        }
      } else {
        bytes = input.Bytes(255);
      }
      replies.push_back({std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
                         static_cast<std::uint32_t>(input.Byte()) * 8});
    }
    return replies;
  };

  testing::ScriptedPrompter prompter;
  ServerExchange exchange(socket, clock, StringTable::Builtin(), 5000, [] { return 1u; });
  SocketEventPump pump(exchange);
  ParameterImage image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 31);
  exchange.transfer_buffer() = image;
  exchange.SetDirection(write ? ExchangeDirection::kWrite : ExchangeDirection::kRead);

  const std::uint64_t start = clock.NowMs();
  const ExchangeEnd end = exchange.Run({"1234", kPassword, 0}, {"server.test"}, prompter, pump);
  FUZZ_CHECK(clock.NowMs() - start <= kExchangeBoundMs);
  FUZZ_CHECK(!exchange.running());

  std::int64_t expected_counter = -1;
  for (const ScriptedSocket::Sent& sent : socket.sent) {
    const std::string text = sent.Text();
    FUZZ_CHECK(text.starts_with("ID:Prog_1234,"));
    const std::int64_t counter = CounterOf(text);
    if (expected_counter >= 0) FUZZ_CHECK(counter == expected_counter);
    expected_counter = counter + 1;

    const std::string_view command = CommandOf(text);
    if (command == "Get data") {
      FUZZ_CHECK(!write);
      const auto [first, last] = OffsetsOf(text);
      FUZZ_CHECK(first % vyn::kWindowSize == 0 && last == first + vyn::kWindowSize - 1);
      FUZZ_CHECK(first >= 0 && last < static_cast<int>(kImageSize));
    } else if (command == "Config data") {
      FUZZ_CHECK(write);
      // The text, the window's 256 bytes and their check byte.
      const std::size_t text_length = sent.bytes.size() - (vyn::kWindowSize + 1);
      const std::string head(sent.bytes.begin(), sent.bytes.begin() + text_length);
      const auto [first, last] = OffsetsOf(head.substr(0, head.size() - 1));
      FUZZ_CHECK(first % vyn::kWindowSize == 0 && last == first + vyn::kWindowSize - 1);
      FUZZ_CHECK(first >= 0 && last < static_cast<int>(kImageSize));
      const std::span<const std::uint8_t> window(sent.bytes.data() + text_length, vyn::kWindowSize);
      FUZZ_CHECK(std::equal(window.begin(), window.end(), image.begin() + first));
      FUZZ_CHECK(sent.bytes.back() == CheckByte(window));
    }
  }
  // A write never changes the image it sends; a success is claimed only at the end state of its
  // direction.
  if (write) FUZZ_CHECK(exchange.transfer_buffer() == image);
  if (end == ExchangeEnd::kSucceeded) {
    FUZZ_CHECK(exchange.state() ==
               (write ? ExchangeState::kWriteComplete : ExchangeState::kReadComplete));
  }
  return 0;
}
