#include "sim/server_sim/server_model.h"

#include <cstdio>

namespace vyn::sim {
namespace {

constexpr char kProduct[] = "VYN IP";
constexpr int kWindow = 256;
constexpr int kWindows = 8;

std::string_view AsText(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// A whole decimal number, optionally negative; nullopt for anything else.
std::optional<std::int64_t> Number(std::string_view text) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  std::size_t i = text[0] == '-' ? 1 : 0;
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return text[0] == '-' ? -value : value;
}

std::uint8_t Complement(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>(0xFFu - (sum & 0xFFu));
}

std::string Printable(std::string_view text) {
  std::string out;
  for (char c : text) out += (c >= 0x20 && c < 0x7F) ? c : '.';
  return out;
}

}  // namespace

std::optional<Scenario> ScenarioNamed(std::string_view name) {
  if (name == "read-ok") return Scenario::kReadOk;
  if (name == "write-ok") return Scenario::kWriteOk;
  if (name == "wrong-password") return Scenario::kWrongPassword;
  if (name == "busy-then-idle") return Scenario::kBusyThenIdle;
  if (name == "corrupt-window") return Scenario::kCorruptWindow;
  if (name == "silent") return Scenario::kSilent;
  return std::nullopt;
}

// One message of the programmer, taken apart.
struct ServerModel::Message {
  std::string identifier;
  std::int64_t counter = 0;
  std::string command;
  std::string password;
  int first = -1;
  int last = -1;
  std::span<const std::uint8_t> data;  // Config data: the 256 bytes and the check byte
};

ServerModel::ServerModel(ServerOptions options, ParameterImage& memory)
    : options_(std::move(options)), memory_(memory) {}

void ServerModel::Violation(std::string text, std::string& note) {
  note += " VIOLATION: " + text + " --";
  violations_.push_back(std::move(text));
}

std::vector<std::uint8_t> ServerModel::Reply(const Message& message,
                                             const std::string& status) const {
  // Five leading fields, ended by ':' ',' ';' ',' ',', then the status text.
  const std::string head = "ID:Srv_" + message.identifier + "," + std::to_string(message.counter) +
                           ";" + std::to_string(static_cast<int>(stage_)) + "," +
                           std::to_string(polls_) + ",";
  std::vector<std::uint8_t> out(head.begin(), head.end());
  out.insert(out.end(), status.begin(), status.end());
  return out;
}

std::optional<std::vector<std::uint8_t>> ServerModel::Answer(std::span<const std::uint8_t> datagram,
                                                             std::uint16_t sender_port,
                                                             std::string& note) {
  const std::string_view text = AsText(datagram);
  note = "[" + std::to_string(datagram.size()) + " bytes from port " + std::to_string(sender_port) +
         "] ";
  if (options_.client_port != 0 && sender_port != options_.client_port) {
    Violation("source port " + std::to_string(sender_port) + ", expected " +
                  std::to_string(options_.client_port),
              note);
  }

  // "ID:Prog_IDENT,COUNTER;COMMAND:PASSWORD[;FIRST,LAST[,DATA]]"
  Message m;
  const std::size_t comma = text.find(',');
  const std::size_t semicolon = comma == std::string_view::npos ? comma : text.find(';', comma);
  const std::size_t colon =
      semicolon == std::string_view::npos ? semicolon : text.find(':', semicolon);
  const std::optional<std::int64_t> counter =
      colon == std::string_view::npos ? std::nullopt
                                      : Number(text.substr(comma + 1, semicolon - comma - 1));
  if (!text.starts_with("ID:Prog_") || !counter) {
    note += Printable(text.substr(0, 80));
    Violation("not a programmer message", note);
    return std::nullopt;
  }
  m.identifier = std::string(text.substr(8, comma - 8));
  m.counter = *counter;
  m.command = std::string(text.substr(semicolon + 1, colon - semicolon - 1));
  std::string_view rest = text.substr(colon + 1);

  const bool request = m.command == std::string("Read ") + kProduct + " config" ||
                       m.command == std::string("Write ") + kProduct + " config";
  if (m.command == "Config data") {
    // PASSWORD;FIRST,LAST, then exactly 257 bytes.
    std::size_t end = std::string_view::npos;
    for (std::size_t at = rest.find(';'); at != std::string_view::npos;
         at = rest.find(';', at + 1)) {
      const std::size_t c1 = rest.find(',', at + 1);
      const std::size_t c2 = c1 == std::string_view::npos ? c1 : rest.find(',', c1 + 1);
      if (c2 == std::string_view::npos) break;
      const auto f = Number(rest.substr(at + 1, c1 - at - 1));
      const auto l = Number(rest.substr(c1 + 1, c2 - c1 - 1));
      if (!f || !l) continue;
      m.password = std::string(rest.substr(0, at));
      m.first = static_cast<int>(*f);
      m.last = static_cast<int>(*l);
      end = colon + 1 + c2 + 1;
      break;
    }
    if (end == std::string_view::npos) {
      note += Printable(text.substr(0, 80));
      Violation("Config data without its offsets", note);
      return std::nullopt;
    }
    note +=
        Printable(text.substr(0, end)) + "<" + std::to_string(datagram.size() - end) + " bytes>";
    if (datagram.size() != end + kWindow + 1) {
      Violation("length " + std::to_string(datagram.size()) + ", expected " +
                    std::to_string(end + kWindow + 1),
                note);
    } else {
      m.data = datagram.subspan(end);
    }
  } else if (m.command == "Get data") {
    note += Printable(text);
    const std::size_t at = rest.rfind(';');
    const std::size_t c1 = at == std::string_view::npos ? at : rest.find(',', at);
    const auto f =
        c1 == std::string_view::npos ? std::nullopt : Number(rest.substr(at + 1, c1 - at - 1));
    const auto l = c1 == std::string_view::npos ? std::nullopt : Number(rest.substr(c1 + 1));
    if (!f || !l) {
      Violation("Get data without its offsets", note);
      return std::nullopt;
    }
    m.password = std::string(rest.substr(0, at));
    m.first = static_cast<int>(*f);
    m.last = static_cast<int>(*l);
  } else {
    note += Printable(text);
    m.password = std::string(rest);
  }

  // Counters: within an exchange every message carries the next number, the request sent again
  // after a busy server too. A new exchange may start anywhere: the programmer adds a random step,
  // and a programmer started anew draws a new start.
  if (request && !open_) {
    open_ = true;
  } else if (!last_counter_) {
    Violation("the first message is not a request", note);
  } else if (m.counter != *last_counter_ + 1) {
    Violation("counter " + std::to_string(m.counter) + " after " + std::to_string(*last_counter_),
              note);
  }
  last_counter_ = m.counter;
  if (request) {
    identifier_ = m.identifier;
    password_ = m.password;
  } else {
    if (m.identifier != identifier_) Violation("identifier changed to " + m.identifier, note);
    if (m.password != password_) Violation("password changed", note);
  }

  // A window of the wrong length is not taken.
  if (options_.scenario == Scenario::kSilent) return std::nullopt;
  if (m.command == "Config data" && m.data.empty()) return std::nullopt;
  const bool rejected = options_.scenario == Scenario::kWrongPassword ||
                        (!options_.password.empty() && m.password != options_.password);

  std::string status;
  if (request) {
    status = rejected ? "Error in password " + m.password
                      : OnRequest(m, m.command.starts_with("Write"), note);
  } else if (m.command == "Get status") {
    status = rejected ? "Error in password " + m.password : OnStatus(m);
  } else if (m.command == "Get data") {
    return OnGetData(m, note);
  } else if (m.command == "Config data") {
    status = OnConfigData(m, note);
  } else if (m.command == "Cancel config load") {
    ++cancelled_;
    stage_ = Stage::kNone;
    open_ = false;
    note += " -> cancelled";
    return std::nullopt;
  } else if (m.command == "Config load OK") {
    const bool done =
        (stage_ == Stage::kReadReady && next_window_ == kWindows) || stage_ == Stage::kWriteDone;
    if (!done) Violation("Config load OK before the transfer completed", note);
    ++completed_;
    stage_ = Stage::kNone;
    open_ = false;
    note += " -> completed";
    return std::nullopt;
  } else {
    Violation("unknown command " + m.command, note);
    return std::nullopt;
  }
  if (status.empty()) return std::nullopt;
  note += " -> " + Printable(status);
  return Reply(m, status);
}

std::string ServerModel::OnRequest(const Message& m, bool write, std::string& note) {
  if ((write && options_.scenario == Scenario::kReadOk) ||
      (!write && options_.scenario == Scenario::kWriteOk)) {
    Violation(std::string(write ? "write" : "read") + " request in this scenario", note);
  }
  polls_ = 0;
  next_window_ = 0;
  if (options_.scenario == Scenario::kBusyThenIdle && !busy_done_) {
    stage_ = Stage::kBusy;
    return "Busy";
  }
  stage_ = write ? Stage::kWriteQueued : Stage::kReadQueued;
  return (write ? "Write request queued " : "Read request queued ") + m.password;
}

std::string ServerModel::OnStatus(const Message& m) {
  const std::string& pw = m.password;
  const int n = std::max(1, options_.unit_transfer_polls);
  switch (stage_) {
    case Stage::kNone:
      return "Idle";
    case Stage::kBusy:
      if (++polls_ <= options_.busy_polls) return "Busy";
      busy_done_ = true;
      stage_ = Stage::kNone;
      return "Idle";
    case Stage::kReadQueued:
      if (++polls_ <= options_.unit_after) return "Read request queued " + pw;
      stage_ = Stage::kUnitSending;
      polls_ = 0;
      return std::string(kProduct) + " sending data " + pw + " 0";
    case Stage::kUnitSending:
      if (++polls_ < n) {
        return std::string(kProduct) + " sending data " + pw + " " +
               std::to_string(100 * polls_ / n);
      }
      stage_ = Stage::kReadReady;
      return std::string("Sending ") + kProduct + " config " + pw;
    case Stage::kReadReady:
      return std::string("Sending ") + kProduct + " config " + pw;
    case Stage::kWriteQueued:
    case Stage::kTakingWindows:
      return "Send config data " + pw;
    case Stage::kWriteReceived:
      if (++polls_ <= options_.unit_after) return "Config data received " + pw;
      stage_ = Stage::kUnitTaking;
      polls_ = 0;
      return std::string(kProduct) + " receiving data " + pw + " 0";
    case Stage::kUnitTaking:
      if (++polls_ < n) {
        return std::string(kProduct) + " receiving data " + pw + " " +
               std::to_string(100 * polls_ / n);
      }
      memory_ = received_;
      if (on_memory_written) on_memory_written();
      stage_ = Stage::kWriteDone;
      return "RODID write OK " + pw;
    case Stage::kWriteDone:
      return "RODID write OK " + pw;
  }
  return {};
}

bool ServerModel::CheckWindow(const Message& m, int expected, std::string& note) {
  if (m.first < 0 || m.first % kWindow != 0 || m.last != m.first + kWindow - 1 ||
      m.last >= kWindow * kWindows) {
    Violation("window " + std::to_string(m.first) + "," + std::to_string(m.last) + " out of range",
              note);
    return false;
  }
  const int index = m.first / kWindow;
  if (index != expected && index != expected - 1) {
    Violation(
        "window " + std::to_string(index) + " out of order, expected " + std::to_string(expected),
        note);
  }
  return true;
}

std::optional<std::vector<std::uint8_t>> ServerModel::OnGetData(const Message& m,
                                                                std::string& note) {
  if (stage_ != Stage::kReadReady) {
    Violation("Get data while no image is ready", note);
    return std::nullopt;
  }
  if (!CheckWindow(m, next_window_, note)) return std::nullopt;
  const int index = m.first / kWindow;
  if (index == next_window_) ++next_window_;
  const std::span<const std::uint8_t> bytes(memory_.data() + m.first, kWindow);
  std::uint8_t check = Complement(bytes);
  if (options_.scenario == Scenario::kCorruptWindow && !corrupted_ &&
      index == options_.corrupt_window) {
    corrupted_ = true;
    next_window_ = index;  // it has to be asked again
    check ^= 0x5A;
    note += " (sent with a wrong check byte)";
  }
  const std::string head = "Data transfer " + m.password + " ";
  note += " -> " + Printable(head) + "<257 bytes>";
  std::vector<std::uint8_t> out = Reply(m, head);
  out.insert(out.end(), bytes.begin(), bytes.end());
  out.push_back(check);
  return out;
}

std::string ServerModel::OnConfigData(const Message& m, std::string& note) {
  // The last window again: its answer was late or lost.
  if (stage_ == Stage::kWriteReceived && m.first == kWindow * (kWindows - 1)) {
    return "Config data received " + m.password;
  }
  if (stage_ != Stage::kWriteQueued && stage_ != Stage::kTakingWindows) {
    Violation("Config data while no write is queued", note);
    return {};
  }
  stage_ = Stage::kTakingWindows;
  if (!CheckWindow(m, next_window_, note)) return {};
  const std::span<const std::uint8_t> bytes = m.data.first(kWindow);
  const std::uint8_t expected = Complement(bytes);
  if (m.data[kWindow] != expected) {
    char text[64];
    std::snprintf(text, sizeof text, "check byte 0x%02X, expected 0x%02X", m.data[kWindow],
                  expected);
    Violation(text, note);
    return {};
  }
  const int index = m.first / kWindow;
  std::copy(bytes.begin(), bytes.end(), received_.begin() + m.first);
  if (index == next_window_) ++next_window_;
  if (next_window_ < kWindows) return "Send config data " + m.password;
  stage_ = Stage::kWriteReceived;
  polls_ = 0;
  return "Config data received " + m.password;
}

}  // namespace vyn::sim
