#include "core/server/exchange_protocol.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "core/strings/edition.h"
#include "core/strings/string_table.h"

namespace vyn {
namespace {

// The leading fields of a reply end with these characters, in this order.
constexpr char kReplyFieldEnds[] = {':', ',', ';', ',', ','};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A decimal number as the C library reads one: leading blanks, an optional sign, digits; it
// stops at the first other character and saturates instead of overflowing.
std::int32_t LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min<std::int64_t>(value * 10 + (text[i] - '0'),
                                   std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1);
  }
  if (negative) value = -value;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

struct StatusText {
  const char* pattern;  // "%s" stands for an insert
  bool exact;           // else: the status begins with it
  ReplyKind kind;
};

// The server's status texts in the order they are compared.
constexpr StatusText kStatusTexts[] = {
    {"Idle", true, ReplyKind::kIdle},
    {"Busy", true, ReplyKind::kBusy},
    {"Waiting", true, ReplyKind::kWaiting},
    {"Read request queued %s", true, ReplyKind::kReadQueued},
    {"Write request queued %s", true, ReplyKind::kWriteQueued},
    {"%s sending data %s", false, ReplyKind::kUnitSending},
    {"Sending %s config %s", true, ReplyKind::kSendingConfig},
    {"Send config data %s", false, ReplyKind::kSendConfigData},
    {"Config data received %s", true, ReplyKind::kConfigDataReceived},
    {"Data transfer %s", false, ReplyKind::kDataTransfer},
    {"%s receiving data %s", false, ReplyKind::kUnitReceiving},
    {"RODID write OK %s", true, ReplyKind::kWriteOk},
    {"Error in password %s", true, ReplyKind::kPasswordError},
};

// Patterns with two inserts take the product name first, those with one the password.
std::string ComparisonText(const char* pattern, std::string_view password) {
  const std::string_view p = pattern;
  const std::size_t first = p.find("%s");
  if (first == std::string_view::npos) return std::string(p);
  if (p.find("%s", first + 2) == std::string_view::npos) {
    return Format(p, {std::string(password)});
  }
  return Format(p, {kExchangeProduct, std::string(password)});
}

void Append(std::vector<std::uint8_t>& out, std::string_view text) {
  out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

int DefaultCountryEntry(std::string_view edition_name) {
  return IsKembGmbH(edition_name) ? kCountryEntryCount - 1 : 0;
}

std::int32_t SerialNumberValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  std::size_t digits = i;
  if (digits < text.size() && (text[digits] == '+' || text[digits] == '-')) ++digits;
  if (digits == text.size()) return 0;
  for (std::size_t k = digits; k < text.size(); ++k) {
    if (text[k] < '0' || text[k] > '9') return 0;
  }
  std::int64_t value = 0;
  for (std::size_t k = digits; k < text.size(); ++k) {
    value = value * 10 + (text[k] - '0');
    // Beyond 32 bits the number counts as 0 like any other bad text.
    if (value > std::int64_t{1} << 32) return 0;
  }
  if (text[i] == '-') value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return 0;
  }
  return static_cast<std::int32_t>(value);
}

std::string UnitIdentifier(std::string_view serial_text, int country_entry) {
  const std::int32_t serial = SerialNumberValue(serial_text);
  char text[32];
  if (country_entry <= 0 || country_entry >= kCountryEntryCount) {
    std::snprintf(text, sizeof text, "%d", serial);
  } else {
    std::snprintf(text, sizeof text, "%d%.6d", country_entry - 1, serial);
  }
  return text;
}

std::uint8_t CheckByte(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (const std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>(~sum & 0xFFu);
}

std::vector<std::uint8_t> BuildMessage(ExchangeMessage message, const MessageFields& f) {
  std::vector<std::uint8_t> out;
  const std::string password(f.password);
  Append(out, "ID:Prog_");
  Append(out, f.identifier);
  Append(out, "," + std::to_string(f.counter) + ";");
  const std::string offsets = std::to_string(f.window.first) + "," + std::to_string(f.window.last);
  switch (message) {
    case ExchangeMessage::kReadRequest:
      Append(out, std::string("Read ") + kExchangeProduct + " config:" + password);
      break;
    case ExchangeMessage::kWriteRequest:
      Append(out, std::string("Write ") + kExchangeProduct + " config:" + password);
      break;
    case ExchangeMessage::kGetStatus:
      Append(out, "Get status:" + password);
      break;
    case ExchangeMessage::kGetData:
      Append(out, "Get data:" + password + ";" + offsets);
      break;
    case ExchangeMessage::kConfigData: {
      Append(out, "Config data:" + password + ";" + offsets + ",");
      if (f.buffer != nullptr && f.window.InsideImage()) {
        const auto begin = f.buffer->begin() + f.window.first;
        const std::span<const std::uint8_t> bytes(begin, kWindowSize);
        out.insert(out.end(), bytes.begin(), bytes.end());
        out.push_back(CheckByte(bytes));
      }
      break;
    }
    case ExchangeMessage::kCancel:
      Append(out, "Cancel config load:" + password);
      break;
    case ExchangeMessage::kConfigLoadOk:
      Append(out, "Config load OK:" + password);
      break;
  }
  return out;
}

std::size_t ReplyStatusOffset(std::string_view reply) {
  reply = reply.substr(0, reply.find('\0'));
  std::size_t at = 0;
  for (const char end : kReplyFieldEnds) {
    const std::size_t found = reply.find(end, at);
    if (found == std::string_view::npos) return std::string_view::npos;
    at = found + 1;
  }
  return at;
}

std::optional<std::string_view> ReplyStatusText(std::string_view reply) {
  const std::size_t offset = ReplyStatusOffset(reply);
  if (offset == std::string_view::npos) return std::nullopt;
  const std::string_view status = reply.substr(offset);
  return status.substr(0, status.find('\0'));
}

ReplyMatch MatchStatus(std::string_view status, std::string_view password) {
  for (const StatusText& entry : kStatusTexts) {
    const std::string text = ComparisonText(entry.pattern, password);
    const bool matches = entry.exact ? status == text : status.starts_with(text);
    if (!matches) continue;
    ReplyMatch match{entry.kind, text.size(), 0};
    if (entry.kind == ReplyKind::kUnitSending || entry.kind == ReplyKind::kUnitReceiving) {
      // The number starts one character after the comparison text; none there reads as 0.
      if (status.size() > text.size() + 1)
        match.percent = LeadingNumber(status.substr(text.size() + 1));
    }
    return match;
  }
  return {};
}

}  // namespace vyn
