#pragma once

// The configuration server as the simulator plays it: it takes the programmer's requests for
// one unit, plays the unit calling in after a number of polls, serves and takes the image in
// windows of 256 bytes, and records every way a message breaks the protocol. It parses and
// builds the messages itself and shares no code with the programmer's side.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/image/parameter_image.h"

namespace vyn::sim {

enum class Scenario {
  kReadOk,         // a read goes through (a write is served as well, but flagged)
  kWriteOk,        // a write goes through (a read is served as well, but flagged)
  kWrongPassword,  // every request and poll is answered "Error in password"
  kBusyThenIdle,   // the first request is answered "Busy", then "Idle"; the next goes through
  kCorruptWindow,  // a read whose one window is first sent with a wrong check byte
  kSilent,         // nothing is ever answered
};

// "read-ok", "write-ok", "wrong-password", "busy-then-idle", "corrupt-window", "silent".
std::optional<Scenario> ScenarioNamed(std::string_view name);

struct ServerOptions {
  Scenario scenario = Scenario::kReadOk;
  std::string password;               // the password accepted; empty: any
  int unit_after = 2;                 // status polls before the unit calls the server
  int unit_transfer_polls = 2;        // polls while the unit sends or takes the image
  int busy_polls = 2;                 // polls answered "Busy" before "Idle"
  int corrupt_window = 3;             // the window (0-7) whose first answer is corrupt
  std::uint16_t client_port = 45010;  // the source port every message must come from; 0: any
};

class ServerModel {
 public:
  // `memory` is the unit's image: the source of a read and the target of a write.
  ServerModel(ServerOptions options, ParameterImage& memory);

  // Answers one datagram from `sender_port`; nothing for silence. `note` receives what the
  // message was and every protocol violation it showed.
  std::optional<std::vector<std::uint8_t>> Answer(std::span<const std::uint8_t> datagram,
                                                  std::uint16_t sender_port, std::string& note);

  // Every violation seen so far, one text each.
  const std::vector<std::string>& violations() const { return violations_; }
  // Runs after the unit took a written image.
  std::function<void()> on_memory_written;
  // How many exchanges ended with "Config load OK" and with "Cancel config load".
  int completed() const { return completed_; }
  int cancelled() const { return cancelled_; }

 private:
  enum class Stage {
    kNone,           // no exchange
    kBusy,           // answering "Busy" to the polls
    kReadQueued,     // waiting for the unit to call
    kUnitSending,    // the unit sends its image
    kReadReady,      // the image is served window by window
    kWriteQueued,    // waiting for the first window
    kTakingWindows,  // windows arriving
    kWriteReceived,  // waiting for the unit to call
    kUnitTaking,     // the unit takes the image
    kWriteDone,      // the unit took the image
  };
  struct Message;

  void Violation(std::string text, std::string& note);
  std::vector<std::uint8_t> Reply(const Message& message, const std::string& status) const;
  std::vector<std::uint8_t> Window(const Message& message, int index);
  std::string OnRequest(const Message& message, bool write, std::string& note);
  std::string OnStatus(const Message& message);
  std::optional<std::vector<std::uint8_t>> OnGetData(const Message& message, std::string& note);
  std::string OnConfigData(const Message& message, std::string& note);
  bool CheckWindow(const Message& message, int expected, std::string& note);

  ServerOptions options_;
  ParameterImage& memory_;
  ParameterImage received_{};
  std::vector<std::string> violations_;

  Stage stage_ = Stage::kNone;
  bool busy_done_ = false;
  bool corrupted_ = false;
  int polls_ = 0;
  int next_window_ = 0;  // the window expected next (served or taken so far)
  std::optional<std::int64_t> last_counter_;
  bool open_ = false;  // an exchange runs: from its request to "Config load OK" or the cancel
  std::string identifier_;
  std::string password_;
  int completed_ = 0;
  int cancelled_ = 0;
};

}  // namespace vyn::sim
