#include "core/link/zix_link.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace vyn {
namespace {

// A device that reports readiness without data is not asked again at once: the link pauses
// this long instead, so that even a misbehaving driver cannot make it spin.
constexpr std::uint32_t kIdlePauseMs = 10;

bool IsUpperHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

bool IsUpperHexText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), IsUpperHexDigit);
}

std::uint8_t HexPair(char high, char low) {
  return static_cast<std::uint8_t>(HexDigitValue(high) * 16 + HexDigitValue(low));
}

std::uint8_t Checksum(std::span<const std::uint8_t> payload) {
  std::uint8_t sum = 0;
  for (std::uint8_t b : payload) sum = static_cast<std::uint8_t>(sum + b);
  return sum;
}

// Sorts what a receive call collected: a verified frame (its payload in `reply`), or nothing
// with the reason in `outcome`.
ZixReply CheckFrame(std::span<const std::uint8_t> held, TraceOutcome& outcome) {
  // The reply is handled as a text: a NUL byte ends it.
  const auto text_end = std::find(held.begin(), held.end(), std::uint8_t{0});
  const std::span<const std::uint8_t> text(held.begin(), text_end);
  const std::size_t length = text.size();
  if (length < 4 || text.front() != kStx || text.back() != kEtx) {
    outcome = TraceOutcome::kBadFrame;
    return {};
  }
  const std::span<const std::uint8_t> payload = text.subspan(1, length - 4);
  // Not reduced to 8 bits: a lower-case low digit (42..47) then never matches.
  const int expected = HexDigitValue(static_cast<char>(text[length - 3])) * 16 +
                       HexDigitValue(static_cast<char>(text[length - 2]));
  if (Checksum(payload) != expected) {
    outcome = TraceOutcome::kBadChecksum;
    return {};
  }
  outcome = TraceOutcome::kFrame;
  return {ZixReply::Kind::kFrame, std::string(payload.begin(), payload.end())};
}

bool ReplyComplete(std::span<const std::uint8_t> held, int expected) {
  if (expected <= 1) return held.size() == static_cast<std::size_t>(std::max(expected, 0));
  const auto text_end = std::find(held.begin(), held.end(), std::uint8_t{0});
  return std::find(held.begin(), text_end, kStx) != text_end &&
         std::find(held.begin(), text_end, kEtx) != text_end;
}

}  // namespace

std::string ByteToHex(std::uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::uint8_t HexDigitValue(char c) {
  const auto code = static_cast<std::uint8_t>(c);
  return static_cast<std::uint8_t>(code <= 0x39 ? code - 0x30 : code - 0x37);
}

std::vector<std::uint8_t> BuildFrame(std::string_view command) {
  command = command.substr(0, command.find('\0'));
  if (command.empty() || command.size() > kMaxCommandLength) return {};
  std::vector<std::uint8_t> frame;
  frame.reserve(command.size() + 4);
  frame.push_back(kStx);
  std::uint8_t sum = 0;
  for (char c : command) {
    frame.push_back(static_cast<std::uint8_t>(c));
    sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(c));
  }
  const std::string check = ByteToHex(sum);
  frame.push_back(static_cast<std::uint8_t>(check[0]));
  frame.push_back(static_cast<std::uint8_t>(check[1]));
  frame.push_back(kEtx);
  return frame;
}

ZixLink::ZixLink(SerialPort& port, Clock& clock) : port_(port), clock_(clock) {}

ZixLink::~ZixLink() { Close(); }

OpenResult ZixLink::Open() {
  if (port_.IsOpen()) port_.Close();
  if (!port_.Open()) return OpenResult::kFailed;
  // On failure the port stays open; the caller's Close releases it.
  return port_.SetLineSettings(kZixLineSettings) ? OpenResult::kOpened : OpenResult::kFailed;
}

void ZixLink::Close() {
  if (!port_.IsOpen()) return;
  port_.Purge(/*receive=*/true, /*transmit=*/false);
  port_.Close();
}

int ZixLink::SendCommand(std::string_view command) {
  const std::vector<std::uint8_t> frame = BuildFrame(command);
  if (frame.empty()) return 0;
  if (!port_.IsOpen()) {
    Trace(TraceDirection::kSent, frame, TraceOutcome::kNotSent);
    return 0;
  }
  port_.Purge(/*receive=*/true, /*transmit=*/true);
  const std::size_t written = port_.Write(frame);
  Trace(TraceDirection::kSent, frame, written > 0 ? TraceOutcome::kFrame : TraceOutcome::kNotSent);
  return static_cast<int>(written);
}

ZixReply ZixLink::Receive(int expected, std::uint32_t time_limit_ms) {
  std::array<std::uint8_t, kMaxReplyBytes> buffer{};
  std::size_t held = 0;
  std::uint64_t deadline = clock_.NowMs() + time_limit_ms;
  while (port_.IsOpen()) {
    const std::uint64_t now = clock_.NowMs();
    if (now >= deadline) break;
    const auto remaining = static_cast<std::uint32_t>(deadline - now);
    if (held == kMaxReplyBytes) {
      // Nothing more is read, and a unit that keeps sending must not hold the wait open: the
      // deadline set by the last chunk read stands, and the rest is purged by the next send.
      clock_.SleepMs(remaining);
      break;
    }
    std::size_t waiting = port_.BytesWaiting();
    if (waiting == 0 && port_.WaitReadable(remaining)) waiting = port_.BytesWaiting();
    std::size_t got = 0;
    if (waiting > 0) {
      got = port_.Read(std::span(buffer).subspan(held, std::min(kMaxReplyBytes - held, waiting)));
    }
    if (got == 0) {
      const std::uint64_t after = clock_.NowMs();
      if (after < deadline) clock_.SleepMs(std::min<std::uint64_t>(deadline - after, kIdlePauseMs));
      continue;
    }
    held += got;
    if (ReplyComplete(std::span(buffer).first(held), expected)) break;
    deadline = clock_.NowMs() + kChunkSilenceMs;
  }

  const std::span<const std::uint8_t> received(buffer.data(), held);
  ZixReply reply;
  TraceOutcome outcome = TraceOutcome::kSilence;
  if (held == 1) {
    reply = {ZixReply::Kind::kByte, std::string(1, static_cast<char>(buffer[0]))};
    outcome = buffer[0] == kAck   ? TraceOutcome::kAck
              : buffer[0] == kNak ? TraceOutcome::kNak
                                  : TraceOutcome::kOtherByte;
  } else if (held >= 2) {
    reply = CheckFrame(received, outcome);
  }
  Trace(TraceDirection::kReceived, received, outcome);
  return reply;
}

ZixReply ZixLink::Request(std::string_view command, int expected, std::uint32_t time_limit_ms) {
  SendCommand(command);
  return Receive(expected, time_limit_ms);
}

int ZixLink::ReceiveReply(std::string& reply, std::uint32_t time_limit_ms, int expected) {
  ZixReply received = Receive(expected, time_limit_ms);
  const int count = received.count();
  reply = std::move(received.data);
  return count;
}

int ZixLink::Exchange(std::string_view command, std::string& reply, std::uint32_t time_limit_ms,
                      int expected) {
  SendCommand(command);
  return ReceiveReply(reply, time_limit_ms, expected);
}

std::string ZixLink::BlockCommand(char normal, char extended, int address, int count) const {
  char text[16];
  std::snprintf(text, sizeof text, "%c%04X%02X", extended_mode_ ? extended : normal,
                static_cast<unsigned>(extended_mode_ ? address + kExtendedAddressOffset : address),
                static_cast<unsigned>(count));
  return text;
}

LinkResult ZixLink::TransferBlocks(int first, int last, const ParameterImage* source,
                                   ParameterImage* destination, LinkResult failure) {
  if (first > last) return LinkResult::kSuccess;
  if (first < 0 || last >= static_cast<int>(kImageSize)) return failure;
  int failed = 0;
  for (int address = first; address <= last;) {
    const int count = std::min(BlockSize(), last - address + 1);
    std::string command =
        source ? BlockCommand('W', 'X', address, count) : BlockCommand('R', 'S', address, count);
    for (int i = 0; source && i < count; ++i) {
      command += ByteToHex((*source)[static_cast<std::size_t>(address + i)]);
    }
    bool done = false;
    for (int attempt = 0; attempt < kBlockTries && !done; ++attempt) {
      if (attempt > 0) DrainLateAnswer();
      if (source) {
        done = Request(command, 1).IsAck();
        continue;
      }
      // A frame that passed its checksum but carries other characters than upper-case digits
      // would decode into wrong bytes; it is treated like any other wrong answer.
      const ZixReply reply = Request(command, 2 * count);
      done = reply.count() == 2 * count && IsUpperHexText(reply.data);
      for (int i = 0; done && i < count; ++i) {
        (*destination)[static_cast<std::size_t>(address + i)] =
            HexPair(reply.data[2 * i], reply.data[2 * i + 1]);
      }
    }
    // Silence counts as much as a NAK: the block is not in the unit (or the image) either way.
    if (!done) {
      ++failed;
      DrainLateAnswer();
    }
    address += count;
  }
  return failed > 0 ? failure : LinkResult::kSuccess;
}

LinkResult ZixLink::ReadRange(ParameterImage& destination, int first, int last) {
  return TransferBlocks(first, last, nullptr, &destination, LinkResult::kBlockReadFailed);
}

LinkResult ZixLink::WriteRange(const ParameterImage& image, int first, int last) {
  return TransferBlocks(first, last, &image, nullptr, LinkResult::kBlockWriteFailed);
}

void ZixLink::DrainLateAnswer() {
  std::array<std::uint8_t, kMaxReplyBytes> buffer{};
  const std::uint64_t limit = clock_.NowMs() + kMaxDrainMs;
  std::uint64_t quiet_until = clock_.NowMs() + kChunkSilenceMs;
  while (port_.IsOpen()) {
    const std::uint64_t now = clock_.NowMs();
    const std::uint64_t until = std::min(quiet_until, limit);
    if (now >= until) break;
    if (!port_.WaitReadable(static_cast<std::uint32_t>(until - now))) continue;
    const std::size_t waiting = std::min(port_.BytesWaiting(), buffer.size());
    const std::size_t got = waiting > 0 ? port_.Read(std::span(buffer).first(waiting)) : 0;
    if (got == 0) {
      clock_.SleepMs(kIdlePauseMs);
      continue;
    }
    Trace(TraceDirection::kReceived, std::span(buffer).first(got), TraceOutcome::kBadFrame);
    quiet_until = clock_.NowMs() + kChunkSilenceMs;
  }
}

LinkResult ZixLink::AcknowledgedCommand(std::string_view command) {
  return Request(command, 1).IsAck() ? LinkResult::kSuccess : LinkResult::kNoAnswer;
}

LinkResult ZixLink::CheckReady() { return AcknowledgedCommand("O"); }

LinkResult ZixLink::QueryMemoryKind(char& kind) {
  const ZixReply reply = Request("G", 1);
  if (reply.count() == 1 &&
      std::string_view("01345").find(reply.data[0]) != std::string_view::npos) {
    kind = reply.data[0];
    return LinkResult::kSuccess;
  }
  return LinkResult::kNoAnswer;
}

UnitMemory ZixLink::QueryMemory() {
  char kind = 0;
  if (QueryMemoryKind(kind) != LinkResult::kSuccess) return {};
  switch (kind) {
    case '1':
      return {static_cast<int>(kImageSize), true};
    case '3':
      return {static_cast<int>(kShortImageSize), false};
    case '4':
      return {1024, false};
    case '5':
      return {static_cast<int>(kImageSize), false};
    default:
      return {};
  }
}

int ZixLink::MemorySize() {
  const UnitMemory memory = QueryMemory();
  if (memory.extended) return kExtendedMemory;
  return memory.size == 0 ? kUnknownMemory : memory.size;
}

LinkResult ZixLink::ReadZixVersion(std::string& version) {
  ZixReply reply = Request("v", 11);
  version = reply.count() == 11 ? std::move(reply.data) : std::string();
  return version.empty() ? LinkResult::kNoAnswer : LinkResult::kSuccess;
}

LinkResult ZixLink::CheckZixVersion(std::string_view required) {
  std::string version;
  if (ReadZixVersion(version) != LinkResult::kSuccess) return LinkResult::kNoAnswer;
  if (required.size() < 4 || version[3] != required[3]) return LinkResult::kZixTooOld;
  const bool new_enough =
      version[0] > required[0] || (version[0] == required[0] && version[1] >= required[1]);
  return new_enough ? LinkResult::kSuccess : LinkResult::kZixTooOld;
}

LinkResult ZixLink::StartRadioReceive() { return AcknowledgedCommand("s1"); }

LinkResult ZixLink::StopRadioReceive() { return AcknowledgedCommand("s0"); }

LinkResult ZixLink::GetRadioCode(std::string& code) {
  const ZixReply reply = Request("c1", 8);
  code = reply.count() == 8 ? reply.data.substr(0, 4) : std::string();
  return code.empty() ? LinkResult::kNoAnswer : LinkResult::kSuccess;
}

LinkResult ZixLink::RequestTransmitterInfo(std::string_view code, std::string_view parameters) {
  return AcknowledgedCommand("a" + std::string(code) + std::string(parameters));
}

LinkResult ZixLink::PollTransmitterInfo(std::string& text) {
  ZixReply reply = Request("A", 2);
  text = reply.count() >= 2 ? std::move(reply.data) : std::string();
  return LinkResult::kSuccess;
}

LinkResult ZixLink::SendTransmitterInfo(std::string_view code, std::string_view data) {
  return AcknowledgedCommand("f" + std::string(code) + std::string(data));
}

LinkResult ZixLink::PollTransmitterWrite(std::string& text) {
  ZixReply reply = Request("F", 2);
  text = reply.count() == 2 ? std::move(reply.data) : std::string();
  return text.empty() ? LinkResult::kNoAnswer : LinkResult::kSuccess;
}

void ZixLink::Trace(TraceDirection direction, std::span<const std::uint8_t> bytes,
                    TraceOutcome outcome) {
  if (trace_ == nullptr) return;
  trace_->Record(TraceEvent{clock_.NowMs(), direction, bytes, outcome});
}

}  // namespace vyn
