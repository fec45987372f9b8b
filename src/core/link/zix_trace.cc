#include "core/link/zix_trace.h"

namespace vyn {

const char* TraceOutcomeName(TraceOutcome outcome) {
  switch (outcome) {
    case TraceOutcome::kFrame:
      return "frame";
    case TraceOutcome::kNotSent:
      return "not sent";
    case TraceOutcome::kAck:
      return "ACK";
    case TraceOutcome::kNak:
      return "NAK";
    case TraceOutcome::kOtherByte:
      return "single byte";
    case TraceOutcome::kSilence:
      return "silence";
    case TraceOutcome::kBadFrame:
      return "bad frame";
    case TraceOutcome::kBadChecksum:
      return "bad checksum";
  }
  return "?";
}

std::string FormatTraceLine(const TraceEvent& event) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string line = std::to_string(event.time_ms);
  line += event.direction == TraceDirection::kSent ? " >" : " <";
  for (std::uint8_t b : event.bytes) {
    line += ' ';
    line += kDigits[b >> 4];
    line += kDigits[b & 0x0F];
  }
  line += " |";
  for (std::uint8_t b : event.bytes) line += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '.';
  line += "| ";
  line += TraceOutcomeName(event.outcome);
  return line;
}

int TracedBlockEnd(std::span<const std::uint8_t> frame) {
  // STX, a letter, four address digits, two count digits, the checksum and ETX at least.
  if (frame.size() < 1 + 7 + 3) return -1;
  const char letter = static_cast<char>(frame[1]);
  if (letter != 'R' && letter != 'S' && letter != 'W' && letter != 'X') return -1;
  int value[2] = {0, 0};
  for (int i = 0; i < 6; ++i) {
    const char c = static_cast<char>(frame[2 + static_cast<std::size_t>(i)]);
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return -1;
    }
    int& part = value[i < 4 ? 0 : 1];
    part = part * 16 + digit;
  }
  const int address = value[0] - ((letter == 'S' || letter == 'X') ? 0x1800 : 0);
  return address + value[1];
}

}  // namespace vyn
