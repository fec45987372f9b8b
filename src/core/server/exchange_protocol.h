#pragma once

// The messages between the programmer and the configuration server: the unit identifier, the
// check byte of a 256-byte window, the messages the programmer sends and the status texts of
// the server's replies. Everything here is pure text and byte work; the exchange itself is in
// server_exchange.h.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/parameter_image.h"

namespace vyn {

// The server listens on 46000; the programmer's own endpoint is bound to 45010 for the run.
inline constexpr std::uint16_t kServerPort = 46000;
inline constexpr std::uint16_t kExchangeLocalPort = 45010;

// The product name the messages carry ("Read VYN IP config", "VYN IP sending data").
inline constexpr char kExchangeProduct[] = "VYN IP";

// The image travels in eight windows of 256 bytes, each with one check byte.
inline constexpr int kWindowSize = 256;
inline constexpr int kWindowCount = 8;
// A received datagram is handled when it is no larger than this.
inline constexpr std::size_t kMaxReplySize = 2048;

enum class ExchangeDirection { kRead, kWrite };

enum class ExchangeState {
  kStarting,          // exchange begun, request not yet sent
  kAwaitingAnswer,    // request sent, waiting for the server to accept it
  kServerBusy,        // the server answered "Busy"
  kWriteQueued,       // the server queued a write request
  kAwaitingUnit,      // read queued, or the whole image of a write received: waiting for the unit
  kUnitUploading,     // the unit sends its image to the server (read)
  kDownloading,       // the programmer fetches the image from the server (read)
  kUploading,         // the programmer sends the image to the server (write)
  kUnitDownloading,   // the server sends the image to the unit (write)
  kReadComplete,      // all 2048 bytes fetched
  kWriteComplete,     // the unit took the new image
  kPasswordRejected,  // the server refused the password
};

// The window of TransferBuffer being transferred, first and last offset inclusive.
struct DataWindow {
  std::int32_t first = 0;
  std::int32_t last = kWindowSize - 1;

  void MoveOn() {
    first += kWindowSize;
    last += kWindowSize;
  }
  // Whether the window lies wholly inside the 2048-byte buffer.
  bool InsideImage() const {
    return first >= 0 && last == first + kWindowSize - 1 &&
           last < static_cast<std::int32_t>(kImageSize);
  }
  bool operator==(const DataWindow&) const = default;
};

// The country list of the exchange dialog: entry 0 names the unit by its serial number alone,
// entries 1 to 5 put the prefix 0 to 4 before the serial number written with six digits.
inline constexpr int kCountryEntryCount = 6;
inline constexpr std::array<std::string_view, kCountryEntryCount> kCountryEntries = {
    "IP, IP/GSM", "", "GSM (SE)", "GSM (UK)", "GSM (ES)", "GSM (DE)"};
// The entry selected when the dialog is shown: "GSM (DE)" in the KEMB GmbH edition, else the
// first.
int DefaultCountryEntry(std::string_view edition_name);

// The serial number box read as a decimal integer: optional leading blanks and sign, then
// digits and nothing else; any other text, and a number outside 32 bits, counts as 0.
std::int32_t SerialNumberValue(std::string_view text);
// The text that names the unit in every message: "%d" of the serial number for entry 0,
// "%d%.6d" with the prefix entry - 1 for entries 1 to 5 (an entry outside 0..5 counts as 0).
std::string UnitIdentifier(std::string_view serial_text, int country_entry);

// The complement of the low eight bits of the sum of the bytes, so that the bytes and the check
// byte add up to 0xFF modulo 256.
std::uint8_t CheckByte(std::span<const std::uint8_t> bytes);

// ---- Messages from the programmer to the server.

enum class ExchangeMessage {
  kReadRequest,   // "Read VYN IP config:PASSWORD"
  kWriteRequest,  // "Write VYN IP config:PASSWORD"
  kGetStatus,     // once per second in every waiting phase
  kGetData,       // once per second while downloading, with the window
  kConfigData,    // once per second while uploading: the window, its bytes and check byte
  kCancel,        // "Cancel config load"
  kConfigLoadOk,  // "Config load OK"
};

// What a message is built from. `buffer` is read for kConfigData only, at `window`, which must
// lie inside the image.
struct MessageFields {
  std::string_view identifier;
  std::int32_t counter = 0;
  std::string_view password;
  DataWindow window;
  const ParameterImage* buffer = nullptr;
};

// "ID:Prog_IDENTIFIER,COUNTER;..." as the bytes of one datagram, without a terminating 0.
std::vector<std::uint8_t> BuildMessage(ExchangeMessage message, const MessageFields& fields);

// ---- Replies from the server.

// The status text of a reply: what follows its five leading fields, ended in this order by
// ':' ',' ';' ',' ','. Nullopt when the reply lacks them. The text ends at the first 0 byte,
// as the receive buffer is read as text.
std::optional<std::string_view> ReplyStatusText(std::string_view reply);
// Where the status text starts in the reply, for the binary data that follows the text of a
// "Data transfer" reply; npos when the five fields are missing.
std::size_t ReplyStatusOffset(std::string_view reply);

enum class ReplyKind {
  kUnknown,  // matches nothing: ignored
  kIdle,
  kBusy,
  kWaiting,
  kReadQueued,
  kWriteQueued,
  kUnitSending,  // "VYN IP sending data PASSWORD", a percentage one character later
  kSendingConfig,
  kSendConfigData,
  kConfigDataReceived,
  kDataTransfer,   // "Data transfer PASSWORD", a separator, 256 bytes and their check byte
  kUnitReceiving,  // "VYN IP receiving data PASSWORD", a percentage one character later
  kWriteOk,
  kPasswordError,
};

struct ReplyMatch {
  ReplyKind kind = ReplyKind::kUnknown;
  std::size_t text_length = 0;  // length of the comparison text that matched
  std::int32_t percent = 0;     // for kUnitSending and kUnitReceiving
};

// Compares the status text with the server's texts in their fixed order, "%s" standing for the
// password; the first match decides.
ReplyMatch MatchStatus(std::string_view status, std::string_view password);

}  // namespace vyn
