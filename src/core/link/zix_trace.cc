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

}  // namespace vyn
