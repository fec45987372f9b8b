#include "core/server/server_exchange.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/server/socket_event_pump.h"
#include "core/session/scripted_prompter.h"
#include "core/strings/message_ids.h"
#include "scripted_socket.h"
#include "sim/server_sim/server_model.h"

namespace vyn {
namespace {

using testing::ScriptedSocket;

const StringTable& Strings() { return StringTable::Builtin(); }
std::string Text(int id) { return Strings().Text(id); }

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
std::string Reply(const std::string& status) { return "ID:Srv_1,1;0,0," + status; }

// A "Data transfer" reply for `bytes`, with the right check byte unless `check` is given.
std::vector<std::uint8_t> DataReply(std::span<const std::uint8_t> bytes,
                                    std::optional<std::uint8_t> check = std::nullopt) {
  std::vector<std::uint8_t> out = Bytes(Reply("Data transfer pw "));
  out.insert(out.end(), bytes.begin(), bytes.end());
  out.push_back(check.value_or(CheckByte(bytes)));
  return out;
}

ParameterImage Pattern(unsigned seed) {
  ParameterImage image{};
  std::mt19937 random(seed);
  for (auto& b : image) b = static_cast<std::uint8_t>(random());
  return image;
}

sim::ServerOptions Options(sim::Scenario scenario) {
  sim::ServerOptions options;
  options.scenario = scenario;
  return options;
}

// The command of a message: "Get status", "Get data", ...
std::string CommandOf(const std::string& text) {
  const std::size_t semicolon = text.find(';');
  return text.substr(semicolon + 1, text.find(':', semicolon) - semicolon - 1);
}
std::int64_t CounterOf(const std::string& text) {
  const std::size_t comma = text.find(',');
  return std::stoll(text.substr(comma + 1, text.find(';') - comma - 1));
}

// One status reply to a message with this command.
struct Step {
  std::string command;
  std::string status;
};

class ServerExchangeTest : public ::testing::Test {
 protected:
  // One status reply each to the next messages, in order, when the message's command is the
  // one given (else no reply and the entry waits); silence once the script is used up.
  void Script(std::vector<Step> steps) {
    script_.assign(steps.begin(), steps.end());
    socket_.responder = [this](const ScriptedSocket::Sent& sent) {
      std::vector<ScriptedSocket::Reply> replies;
      if (!script_.empty() && CommandOf(sent.Text()) == script_.front().command) {
        replies.push_back({Bytes(Reply(script_.front().status))});
        script_.pop_front();
      }
      return replies;
    };
  }

  // The simulator's server behind the socket.
  void UseServer(sim::ServerOptions options) {
    server_ = std::make_unique<sim::ServerModel>(std::move(options), memory_);
    socket_.responder = [this](const ScriptedSocket::Sent& sent) {
      std::vector<ScriptedSocket::Reply> replies;
      std::string note;
      if (auto answer = server_->Answer(sent.bytes, 45010, note)) replies.push_back({*answer});
      notes_.push_back(note);
      for (auto& hook : on_reply_) hook(sent.Text());
      return replies;
    };
  }

  ExchangeEnd Run(ExchangeDirection direction, std::string serial = "1234", int country = 0) {
    exchange_.SetDirection(direction);
    return exchange_.Run({serial, "pw", country}, {host_, kServerPort}, prompter_, pump_);
  }

  std::vector<std::string> Sent(const std::string& command) const {
    std::vector<std::string> texts;
    for (const std::string& t : socket_.Texts()) {
      if (CommandOf(t) == command) texts.push_back(t);
    }
    return texts;
  }
  std::vector<std::string> Commands() const {
    std::vector<std::string> commands;
    for (const std::string& t : socket_.Texts()) commands.push_back(CommandOf(t));
    return commands;
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : prompter_.Boxes()) texts.push_back(box.text);
    return texts;
  }
  bool StatusShown(const std::string& text) const {
    for (const std::string& s : prompter_.Statuses()) {
      if (s == text) return true;
    }
    return false;
  }

  FakeClock clock_{10'000};
  ScriptedSocket socket_{clock_};
  testing::ScriptedPrompter prompter_;
  std::deque<std::uint32_t> steps_{100, 32768 + 7};
  ServerExchange exchange_{socket_, clock_, Strings(), 5000, [this] {
                             const std::uint32_t step = steps_.empty() ? 1 : steps_.front();
                             if (!steps_.empty()) steps_.pop_front();
                             return step;
                           }};
  SocketEventPump pump_{exchange_};
  std::string host_ = "server.test";
  ParameterImage memory_ = Pattern(1);
  std::unique_ptr<sim::ServerModel> server_;
  std::vector<std::string> notes_;
  std::vector<std::function<void(const std::string&)>> on_reply_;
  std::deque<Step> script_;
};

TEST_F(ServerExchangeTest, StraightRead) {
  UseServer({});
  EXPECT_EQ(Run(ExchangeDirection::kRead), ExchangeEnd::kSucceeded);
  EXPECT_EQ(exchange_.transfer_buffer(), memory_);
  EXPECT_EQ(exchange_.state(), ExchangeState::kReadComplete);
  EXPECT_TRUE(server_->violations().empty()) << ::testing::PrintToString(notes_);
  EXPECT_EQ(server_->completed(), 1);

  // The request carries the counter moved on by the random step, every later message one more.
  const std::vector<std::string> texts = socket_.Texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), "ID:Prog_1234,5100;Read VYN IP config:pw");
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(CounterOf(texts[i]), 5100 + i);
  EXPECT_EQ(exchange_.message_counter(), 5100 + static_cast<std::int32_t>(texts.size()));
  for (const auto& s : socket_.sent) {
    EXPECT_EQ(s.host, "server.test");
    EXPECT_EQ(s.port, 46000);
  }
  // Request, three polls until the unit calls, two while it sends, eight windows, the closing
  // message.
  const std::vector<std::string> expected = {
      "Read VYN IP config", "Get status", "Get status", "Get status", "Get status",
      "Get status",         "Get data",   "Get data",   "Get data",   "Get data",
      "Get data",           "Get data",   "Get data",   "Get data",   "Config load OK"};
  EXPECT_EQ(Commands(), expected);
  const std::vector<std::string> windows = Sent("Get data");
  for (int i = 0; i < 8; ++i) {
    EXPECT_TRUE(
        windows[i].ends_with(";" + std::to_string(256 * i) + "," + std::to_string(256 * i + 255)))
        << windows[i];
  }

  // One message a second: the first poll at the first full second after the 1 s pause.
  EXPECT_EQ(socket_.sent[0].at_ms, 10'000u);
  for (std::size_t i = 1; i + 1 < socket_.sent.size(); ++i) {
    EXPECT_EQ(socket_.sent[i].at_ms, 11'000u + 1000u * i) << i;
  }

  // The percentages of the eight windows, then the box.
  for (const char* percent : {"12", "24", "37", "49", "62", "74", "87", "99"}) {
    EXPECT_TRUE(StatusShown(Text(msg::kServerDownloading) + " " + percent + " % \t\t(Timeout: " +
                            std::to_string(301 - (std::stoi(percent) * 8 / 100 + 1)) + " s)"))
        << percent;
  }
  const std::vector<std::string> statuses = prompter_.Statuses();
  EXPECT_EQ(statuses[0], Text(msg::kServerSendingRequest));
  EXPECT_EQ(statuses[1], Text(msg::kServerWaitingForAnswer) + " \t\t\t(Timeout: 300 s)");
  EXPECT_EQ(statuses[2], Text(msg::kServerWaitingForUnit) + " \t\t(Timeout: 300 s)");
  // The unit phases show the server's percentage as it was when the poll went.
  EXPECT_TRUE(StatusShown(Text(msg::kServerReceivingFromUnit) + " 0 % \t\t(Timeout: 300 s)"));
  EXPECT_TRUE(StatusShown(Text(msg::kServerReceivingFromUnit) + " 50 % \t\t(Timeout: 299 s)"));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{Text(msg::kReadComplete)});
  EXPECT_EQ(prompter_.events.front().type, testing::PromptEvent::Type::kBusy);
  EXPECT_EQ(prompter_.events.back().type, testing::PromptEvent::Type::kIdle);
  EXPECT_FALSE(exchange_.cancel_requested());
}

TEST_F(ServerExchangeTest, CountersKeepCountingOverExchanges) {
  UseServer({});
  ASSERT_EQ(Run(ExchangeDirection::kRead), ExchangeEnd::kSucceeded);
  const std::int32_t after_first = exchange_.message_counter();
  socket_.sent.clear();
  ASSERT_EQ(Run(ExchangeDirection::kRead), ExchangeEnd::kSucceeded);
  // The second step is taken modulo 32768.
  EXPECT_EQ(CounterOf(socket_.Texts().front()), after_first + 7);
  EXPECT_TRUE(server_->violations().empty()) << ::testing::PrintToString(notes_);
}

TEST_F(ServerExchangeTest, WriteSendsEightWindowsWithCheckBytes) {
  for (const std::uint8_t fill : {0x00, 0xFF}) {
    SCOPED_TRACE(static_cast<int>(fill));
    socket_.sent.clear();
    prompter_.events.clear();
    memory_.fill(0x11);
    UseServer(Options(sim::Scenario::kWriteOk));
    exchange_.transfer_buffer().fill(fill);
    const std::uint64_t slept_before = clock_.slept_ms();
    EXPECT_EQ(Run(ExchangeDirection::kWrite, "1234", 5), ExchangeEnd::kSucceeded);
    EXPECT_TRUE(server_->violations().empty()) << ::testing::PrintToString(notes_);
    EXPECT_EQ(memory_, exchange_.transfer_buffer());

    const std::vector<std::string> windows = Sent("Config data");
    ASSERT_EQ(windows.size(), 8u);
    for (int i = 0; i < 8; ++i) {
      const std::string head = "ID:Prog_4001234," + std::to_string(CounterOf(windows[i])) +
                               ";Config data:pw;" + std::to_string(256 * i) + "," +
                               std::to_string(256 * i + 255) + ",";
      ASSERT_EQ(windows[i].size(), head.size() + 257);
      EXPECT_EQ(windows[i].substr(0, head.size()), head);
      // 256 equal bytes sum to a multiple of 256, whose low byte is 0.
      EXPECT_EQ(static_cast<std::uint8_t>(windows[i].back()), 0xFF);
    }
    EXPECT_EQ(Sent("Write VYN IP config").size(), 1u);
    EXPECT_EQ(Commands().back(), "Config load OK");
    EXPECT_TRUE(StatusShown(Text(msg::kServerUploading) + " 12 % \t\t(Timeout: 300 s)"));
    EXPECT_TRUE(StatusShown(Text(msg::kServerUploading) + " 99 % \t\t(Timeout: 293 s)"));
    EXPECT_TRUE(StatusShown(Text(msg::kServerWriteQueued) + " \t\t(Timeout: 300 s)"));
    EXPECT_TRUE(StatusShown(Text(msg::kServerSendingToUnit) + " 50 % \t\t(Timeout: 299 s)"));
    EXPECT_TRUE(StatusShown(Text(msg::kServerUnitRestarting)));
    // The request pause and the restart pause.
    EXPECT_EQ(clock_.slept_ms() - slept_before, 4000u);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{Text(msg::kProgrammingComplete)});
  }
}

TEST_F(ServerExchangeTest, BusyThenIdleSendsTheRequestAgain) {
  for (const ExchangeDirection direction : {ExchangeDirection::kRead, ExchangeDirection::kWrite}) {
    const bool read = direction == ExchangeDirection::kRead;
    SCOPED_TRACE(read ? "read" : "write");
    socket_.sent.clear();
    sim::ServerOptions options = Options(sim::Scenario::kBusyThenIdle);
    options.busy_polls = 3;
    UseServer(options);
    exchange_.transfer_buffer() = memory_;
    EXPECT_EQ(Run(direction), ExchangeEnd::kSucceeded);
    const std::vector<std::string> requests =
        Sent(read ? "Read VYN IP config" : "Write VYN IP config");
    ASSERT_EQ(requests.size(), 2u);
    // Four polls in the busy phase, the last one answered "Idle", then the request again.
    EXPECT_EQ(CounterOf(requests[1]), CounterOf(requests[0]) + 5);
    const std::vector<std::string> texts = socket_.Texts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(CounterOf(texts[i]), CounterOf(texts[0]) + static_cast<std::int64_t>(i));
    }
    EXPECT_TRUE(StatusShown(Text(msg::kServerBusy) + " \t\t(Timeout: 297 s)"));
    EXPECT_TRUE(server_->violations().empty()) << ::testing::PrintToString(notes_);
    EXPECT_EQ(prompter_.Boxes().back().text,
              Text(read ? msg::kReadComplete : msg::kProgrammingComplete));
  }
}

TEST_F(ServerExchangeTest, CancelDuringTheBusyWaitIsCleared) {
  Script({{"Read VYN IP config", "Busy"}, {"Get status", "Busy"}, {"Read VYN IP config", "Busy"}});
  int polls = 0;
  auto inner = socket_.responder;
  socket_.responder = [&](const ScriptedSocket::Sent& sent) {
    if (CommandOf(sent.Text()) == "Get status" && ++polls == 2) exchange_.RequestCancel();
    return inner(sent);
  };
  // The exchange goes on with the request again; the server is still busy, so it ends busy.
  EXPECT_EQ(Run(ExchangeDirection::kRead), ExchangeEnd::kServerBusy);
  EXPECT_EQ(Sent("Read VYN IP config").size(), 2u);
  EXPECT_TRUE(Sent("Cancel config load").empty());
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{Text(msg::kWriteFailed)});
}

TEST_F(ServerExchangeTest, StillBusyAfterTheBusyWait) {
  Script({{"Read VYN IP config", "Busy"}, {"Read VYN IP config", "Busy"}});
  EXPECT_EQ(Run(ExchangeDirection::kRead), ExchangeEnd::kServerBusy);
  // No cancel message after an unresolved busy wait; the box tells of the failure.
  EXPECT_TRUE(Sent("Cancel config load").empty());
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{Text(msg::kWriteFailed)});
  EXPECT_EQ(Sent("Read VYN IP config").size(), 2u);
  // The busy wait polls until its time is up; the second "Busy" ends the answer phase at once.
  EXPECT_EQ(Sent("Get status").size(), 300u);
}

TEST_F(ServerExchangeTest, WrongPassword) {
  UseServer(Options(sim::Scenario::kWrongPassword));
  const std::uint64_t start = clock_.NowMs();
  EXPECT_EQ(Run(ExchangeDirection::kWrite), ExchangeEnd::kPasswordRejected);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"Write VYN IP config", "Cancel config load"}));
  EXPECT_EQ(prompter_.Statuses().back(), Text(msg::kServerWrongPassword));
  // 1 s after the request, the reply at the first poll of the answer phase, then 5 s.
  EXPECT_EQ(clock_.slept_ms(), 6000u);
  EXPECT_LT(clock_.NowMs() - start, 6100u);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{Text(msg::kWriteFailed)});
  EXPECT_TRUE(exchange_.cancel_requested());
}

TEST_F(ServerExchangeTest, CorruptWindowIsAskedForAgain) {
  sim::ServerOptions options = Options(sim::Scenario::kCorruptWindow);
  options.corrupt_window = 3;
  UseServer(options);
  EXPECT_EQ(Run(ExchangeDirection::kRead), ExchangeEnd::kSucceeded);
  EXPECT_EQ(exchange_.transfer_buffer(), memory_);
  const std::vector<std::string> windows = Sent("Get data");
  ASSERT_EQ(windows.size(), 9u);
  EXPECT_TRUE(windows[3].ends_with(";768,1023"));
  EXPECT_TRUE(windows[4].ends_with(";768,1023"));
  EXPECT_TRUE(server_->violations().empty()) << ::testing::PrintToString(notes_);
}

TEST_F(ServerExchangeTest, WaitingKeepsThePhasePolling) {
  Script({{"Read VYN IP config", "Waiting"},
          {"Get status", "Waiting"},
          {"Get status", "Waiting"},
          {"Get status", "Read request queued pw"}});
  EXPECT_EQ(Run(ExchangeDirection::kRead), ExchangeEnd::kNoAnswer);
  // Three polls in the answer phase, then the unit phase polls until its time is up.
  EXPECT_EQ(Sent("Get status").size(), 3u + 300u);
  EXPECT_TRUE(StatusShown(Text(msg::kServerWaitingForAnswer) + " \t\t\t(Timeout: 298 s)"));
  EXPECT_TRUE(BoxTexts().empty());
}

// The replies that bring the exchange into each waiting phase, then silence.
struct PhaseCase {
  const char* name;
  ExchangeDirection direction;
  std::vector<Step> replies;
  const char* poll;  // what the phase sends once a second
  int text_id;
};

std::vector<PhaseCase> PhaseCases() {
  const auto read = ExchangeDirection::kRead;
  const auto write = ExchangeDirection::kWrite;
  return {
      {"answer", read, {}, "Get status", msg::kServerWaitingForAnswer},
      {"write queued",
       write,
       {{"Write VYN IP config", "Write request queued pw"}},
       "Get status",
       msg::kServerWriteQueued},
      {"unit (read)",
       read,
       {{"Read VYN IP config", "Read request queued pw"}},
       "Get status",
       msg::kServerWaitingForUnit},
      {"unit uploading",
       read,
       {{"Read VYN IP config", "Read request queued pw"},
        {"Get status", "VYN IP sending data pw 5"}},
       "Get status",
       msg::kServerReceivingFromUnit},
      {"downloading",
       read,
       {{"Read VYN IP config", "Read request queued pw"},
        {"Get status", "Sending VYN IP config pw"}},
       "Get data",
       msg::kServerDownloading},
      {"uploading",
       write,
       {{"Write VYN IP config", "Write request queued pw"}, {"Get status", "Send config data pw"}},
       "Config data",
       msg::kServerUploading},
      {"unit (write)",
       write,
       {{"Write VYN IP config", "Write request queued pw"},
        {"Get status", "Config data received pw"}},
       "Get status",
       msg::kServerWaitingForUnit},
      {"unit downloading",
       write,
       {{"Write VYN IP config", "Write request queued pw"},
        {"Get status", "VYN IP receiving data pw 10"}},
       "Get status",
       msg::kServerSendingToUnit},
  };
}

TEST_F(ServerExchangeTest, SilentServerEndsEachPhaseAfter300Seconds) {
  for (const PhaseCase& c : PhaseCases()) {
    SCOPED_TRACE(c.name);
    socket_.sent.clear();
    prompter_.events.clear();
    Script(c.replies);
    EXPECT_EQ(Run(c.direction), ExchangeEnd::kNoAnswer);
    // The phase's 300 polls, the last one at its deadline, then the cancel message at once.
    const std::vector<std::string> commands = Commands();
    ASSERT_GE(commands.size(), 302u);
    const std::size_t first = commands.size() - 301;
    for (std::size_t i = first; i + 1 < commands.size(); ++i) ASSERT_EQ(commands[i], c.poll) << i;
    EXPECT_EQ(commands.back(), "Cancel config load");
    const std::uint64_t span = socket_.sent.back().at_ms - socket_.sent[first].at_ms;
    EXPECT_GE(span, 299'000u);
    EXPECT_LT(span, 300'000u);
    EXPECT_TRUE(prompter_.Boxes().empty());
    EXPECT_TRUE(exchange_.cancel_requested());
    const std::string last_status = prompter_.Statuses().back();
    EXPECT_TRUE(last_status.starts_with(Text(c.text_id))) << last_status;
    EXPECT_TRUE(last_status.ends_with("(Timeout: 1 s)")) << last_status;
  }
}

TEST_F(ServerExchangeTest, CancelInEachPhase) {
  for (const PhaseCase& c : PhaseCases()) {
    SCOPED_TRACE(c.name);
    socket_.sent.clear();
    prompter_.events.clear();
    Script(c.replies);
    // Cancel is pressed while the phase's third poll is on its way.
    auto inner = socket_.responder;
    int polls = 0;
    socket_.responder = [&](const ScriptedSocket::Sent& sent) {
      if (script_.empty() && CommandOf(sent.Text()) == c.poll && ++polls == 3) {
        exchange_.RequestCancel();
      }
      return inner(sent);
    };
    EXPECT_EQ(Run(c.direction), ExchangeEnd::kCancelled);
    EXPECT_EQ(polls, 3);
    EXPECT_EQ(Commands().back(), "Cancel config load");
    EXPECT_EQ(Sent("Cancel config load").size(), 1u);
    EXPECT_TRUE(prompter_.Boxes().empty());
  }
}

TEST_F(ServerExchangeTest, IdleOutsideTheBusyPhaseEndsLikeCancel) {
  Script({{"Read VYN IP config", "Read request queued pw"}, {"Get status", "Idle"}});
  EXPECT_EQ(Run(ExchangeDirection::kRead), ExchangeEnd::kCancelled);
  EXPECT_EQ(Commands(),
            (std::vector<std::string>{"Read VYN IP config", "Get status", "Cancel config load"}));
  EXPECT_TRUE(prompter_.Boxes().empty());
}

TEST_F(ServerExchangeTest, ReplyOfAnEarlierStepEndsTheExchange) {
  // "Busy" during the upload: the busy step lies behind, so the exchange ends, busy.
  Script({{"Write VYN IP config", "Write request queued pw"},
          {"Get status", "Send config data pw"},
          {"Config data", "Send config data pw"},
          {"Config data", "Busy"}});
  EXPECT_EQ(Run(ExchangeDirection::kWrite), ExchangeEnd::kServerBusy);
  EXPECT_EQ(Sent("Config data").size(), 2u);
  EXPECT_TRUE(Sent("Cancel config load").empty());
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{Text(msg::kWriteFailed)});

  // "Write request queued" while downloading.
  socket_.sent.clear();
  prompter_.events.clear();
  Script({{"Read VYN IP config", "Sending VYN IP config pw"},
          {"Get data", "Write request queued pw"}});
  EXPECT_EQ(Run(ExchangeDirection::kRead), ExchangeEnd::kInterrupted);
  EXPECT_EQ(Commands().back(), "Cancel config load");
  EXPECT_TRUE(prompter_.Boxes().empty());
}

TEST_F(ServerExchangeTest, OnlyTheEndStateOfItsOwnDirectionIsASuccess) {
  // A read that a reply puts into the write's end state got no image: no success, no box.
  Script({{"Read VYN IP config", "RODID write OK pw"}});
  EXPECT_EQ(Run(ExchangeDirection::kRead), ExchangeEnd::kInterrupted);
  EXPECT_EQ(Commands().back(), "Cancel config load");
  EXPECT_TRUE(Sent("Config load OK").empty());
  EXPECT_TRUE(prompter_.Boxes().empty());

  // A write that a reply puts into the read's download fetches nothing into the image it sends.
  socket_.sent.clear();
  const ParameterImage image = Pattern(7);
  exchange_.transfer_buffer() = image;
  Script({{"Write VYN IP config", "Write request queued pw"},
          {"Get status", "Sending VYN IP config pw"}});
  EXPECT_EQ(Run(ExchangeDirection::kWrite), ExchangeEnd::kInterrupted);
  EXPECT_TRUE(Sent("Get data").empty());
  EXPECT_TRUE(Sent("Config data").empty());
  EXPECT_EQ(exchange_.transfer_buffer(), image);
}

TEST_F(ServerExchangeTest, UnitIdentifierInEveryMessage) {
  UseServer({});
  EXPECT_EQ(Run(ExchangeDirection::kRead, "1234", 2), ExchangeEnd::kSucceeded);
  for (const std::string& text : socket_.Texts()) EXPECT_TRUE(text.starts_with("ID:Prog_1001234,"));
  socket_.sent.clear();
  EXPECT_EQ(Run(ExchangeDirection::kRead, "12ab", 0), ExchangeEnd::kSucceeded);
  EXPECT_TRUE(socket_.Texts().front().starts_with("ID:Prog_0,"));
}

// ---- Guards where the protocol leaves the programmer to choose.

TEST_F(ServerExchangeTest, NothingIsSentBeyondTheImage) {
  // This server asks for more data after the eighth window before it confirms.
  int windows = 0;
  int polls_after = 0;
  socket_.responder = [&](const ScriptedSocket::Sent& sent) {
    const std::string command = CommandOf(sent.Text());
    std::string status;
    if (command == "Write VYN IP config") status = "Write request queued pw";
    if (command == "Get status" && windows == 0) status = "Send config data pw";
    if (command == "Config data") {
      ++windows;
      status = "Send config data pw";
    }
    if (command == "Get status" && windows == 8 && ++polls_after == 2) {
      status = "Config data received pw";
    }
    if (command == "Get status" && polls_after > 2) status = "RODID write OK pw";
    if (status.empty()) return std::vector<ScriptedSocket::Reply>{};
    return std::vector<ScriptedSocket::Reply>{{Bytes(Reply(status))}};
  };
  exchange_.transfer_buffer() = memory_;
  EXPECT_EQ(Run(ExchangeDirection::kWrite), ExchangeEnd::kSucceeded);
  const std::vector<std::string> sent = Sent("Config data");
  ASSERT_EQ(sent.size(), 8u);
  EXPECT_TRUE(sent.back().find(";1792,2047,") != std::string::npos);
  EXPECT_TRUE(StatusShown(Text(msg::kServerUploading) + " 100 % \t\t(Timeout: 292 s)"));
}

TEST_F(ServerExchangeTest, LateDuplicateWindowIsNotTakenForTheNext) {
  struct Case {
    const char* name;
    std::uint32_t first_ask_ms;  // delay of the answer to a window's first request
    std::uint32_t again_ms;      // delay of the answer to every later request
    std::uint32_t echo_ms;       // a second answer to each request, or 0
  };
  const Case cases[] = {
      // The first answer comes after the request went again: the second request's answer is
      // taken, the late first one must not be taken for the next window.
      {"slow first answer", 1200, 5, 0},
      // Every request is answered twice, the second time before the next request.
      {"answered twice", 5, 5, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    socket_.sent.clear();
    exchange_.transfer_buffer().fill(0);
    std::set<int> asked;
    socket_.responder = [&](const ScriptedSocket::Sent& sent) {
      const std::string text = sent.Text();
      const std::string command = CommandOf(text);
      std::vector<ScriptedSocket::Reply> replies;
      if (command == "Read VYN IP config") {
        replies.push_back({Bytes(Reply("Sending VYN IP config pw"))});
      }
      if (command == "Get data") {
        const int first = std::stoi(text.substr(text.rfind(';') + 1));
        const std::span<const std::uint8_t> bytes(memory_.data() + first, 256);
        replies.push_back(
            {DataReply(bytes), asked.insert(first).second ? c.first_ask_ms : c.again_ms});
        if (c.echo_ms != 0) replies.push_back({DataReply(bytes), c.echo_ms});
      }
      return replies;
    };
    EXPECT_EQ(Run(ExchangeDirection::kRead), ExchangeEnd::kSucceeded);
    EXPECT_EQ(exchange_.transfer_buffer(), memory_);
  }
}

TEST_F(ServerExchangeTest, RepeatedSendConfigDataSkipsNoWindow) {
  // The server confirms each window twice; the second confirmation must not skip a window.
  std::vector<int> firsts;
  socket_.responder = [&](const ScriptedSocket::Sent& sent) {
    const std::string text = sent.Text();
    const std::string command = CommandOf(text);
    std::vector<ScriptedSocket::Reply> replies;
    if (command == "Write VYN IP config") {
      replies.push_back({Bytes(Reply("Send config data pw"))});
      replies.push_back({Bytes(Reply("Send config data pw")), 2500});
    }
    if (command == "Config data") {
      const std::size_t semicolon = text.rfind(';', text.size() - 258);
      firsts.push_back(std::stoi(text.substr(semicolon + 1)));
      const std::string status =
          firsts.size() == 8 ? "Config data received pw" : "Send config data pw";
      replies.push_back({Bytes(Reply(status))});
      if (firsts.size() < 8) replies.push_back({Bytes(Reply(status)), 200});
    }
    if (command == "Get status" && firsts.size() == 8) {
      replies.push_back({Bytes(Reply("RODID write OK pw"))});
    }
    return replies;
  };
  exchange_.transfer_buffer() = memory_;
  EXPECT_EQ(Run(ExchangeDirection::kWrite), ExchangeEnd::kSucceeded);
  EXPECT_EQ(firsts, (std::vector<int>{0, 256, 512, 768, 1024, 1280, 1536, 1792}));
}

TEST_F(ServerExchangeTest, UnresolvableHostEndsAtOnce) {
  socket_.unresolvable.insert("nowhere.invalid");
  host_ = "nowhere.invalid";
  const std::uint64_t start = clock_.NowMs();
  EXPECT_EQ(Run(ExchangeDirection::kRead), ExchangeEnd::kSendFailed);
  EXPECT_EQ(clock_.NowMs(), start);
  EXPECT_TRUE(socket_.sent.empty());
  const std::string text = " Server nowhere.invalid nicht gefunden";
  EXPECT_EQ(prompter_.Statuses().back(), text);
  ASSERT_EQ(prompter_.Boxes().size(), 1u);
  EXPECT_EQ(prompter_.Boxes()[0].kind, MessageKind::kError);
  EXPECT_EQ(prompter_.Boxes()[0].text, text);
  EXPECT_EQ(prompter_.events.back().type, testing::PromptEvent::Type::kIdle);

  // A name that stops resolving in the middle of an exchange ends it as well.
  socket_.unresolvable.clear();
  host_ = "server.test";
  Script({{"Read VYN IP config", "Read request queued pw"}});
  int polls = 0;
  auto inner = socket_.responder;
  socket_.responder = [&](const ScriptedSocket::Sent& sent) {
    if (CommandOf(sent.Text()) == "Get status" && ++polls == 2) socket_.unresolvable.insert(host_);
    return inner(sent);
  };
  EXPECT_EQ(Run(ExchangeDirection::kRead), ExchangeEnd::kSendFailed);
  EXPECT_EQ(Sent("Get status").size(), 2u);
  EXPECT_TRUE(Sent("Cancel config load").empty());
}

TEST_F(ServerExchangeTest, BadDatagramsAreIgnored) {
  UseServer({});
  // Before each window request is answered, a volley of datagrams that must change nothing.
  std::mt19937 random(7);
  on_reply_ = {[&](const std::string& text) {
    if (CommandOf(text) != "Get data" && CommandOf(text) != "Get status") return;
    socket_.Inject(std::vector<std::uint8_t>{});
    socket_.Inject(Reply("Busy") + std::string(2100, ' '));  // too large
    std::vector<std::uint8_t> garbage(1 + random() % 600);
    for (auto& b : garbage) b = static_cast<std::uint8_t>(random());
    socket_.Inject(garbage);
    socket_.Inject("Busy");                     // no leading fields
    socket_.Inject(Reply("Something else"));    // matches nothing
    socket_.Inject(Reply("Data transfer pw"));  // no data at all
    // The right text with a short data part.
    const std::vector<std::uint8_t> full = DataReply({memory_.data(), 256});
    socket_.Inject(std::vector<std::uint8_t>(full.begin(), full.end() - 1 - random() % 256));
    socket_.Inject(std::string("ID:1,2;3,4,Bu\0sy", 16));  // text ends at the 0 byte
  }};
  EXPECT_EQ(Run(ExchangeDirection::kRead), ExchangeEnd::kSucceeded);
  EXPECT_EQ(exchange_.transfer_buffer(), memory_);
  // The short replies of the right text answer no request: no window is asked twice.
  EXPECT_EQ(Sent("Get data").size(), 8u);
}

TEST_F(ServerExchangeTest, ArbitraryDatagramsNeverReadPastThem) {
  // Every state, every prefix of the texts, random tails: ASan watches the reads.
  std::mt19937 random(11);
  const std::vector<std::string> heads = {"Data transfer pw",
                                          "VYN IP sending data pw",
                                          "VYN IP receiving data pw",
                                          "Send config data pw",
                                          "Busy",
                                          ""};
  for (int i = 0; i < 20000; ++i) {
    std::string text = Reply(heads[random() % heads.size()]);
    text.resize(random() % (text.size() + 2));
    const std::size_t tail = random() % 300;
    for (std::size_t k = 0; k < tail; ++k) text.push_back(static_cast<char>(random()));
    exchange_.HandleDatagram(Bytes(text));
    const DataWindow window = exchange_.window();
    ASSERT_TRUE(window.InsideImage() || window.first >= 2048) << window.first;
  }
}

}  // namespace
}  // namespace vyn
