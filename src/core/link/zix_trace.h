#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vyn {

enum class TraceDirection { kSent, kReceived };

// How one side of an exchange ended. A sent frame is kFrame, or kNotSent when nothing could be
// written; a reply is one of the rest.
enum class TraceOutcome {
  kFrame,
  kNotSent,
  kAck,
  kNak,
  kOtherByte,
  kSilence,
  kBadFrame,
  kBadChecksum,
};

struct TraceEvent {
  std::uint64_t time_ms = 0;
  TraceDirection direction = TraceDirection::kSent;
  std::span<const std::uint8_t> bytes;
  TraceOutcome outcome = TraceOutcome::kFrame;
};

// Receives every frame the link sends and every reply it takes (or waits for in vain). The link
// holds a plain pointer that is null unless tracing was asked for, so tracing costs nothing
// when it is off.
class ZixTraceSink {
 public:
  virtual ~ZixTraceSink() = default;
  virtual void Record(const TraceEvent& event) = 0;
};

const char* TraceOutcomeName(TraceOutcome outcome);

// For a progress display: the end (address + count, without the extended offset) of the block a
// sent memory command ("R", "S", "W", "X") transfers, or -1 for any other frame.
int TracedBlockEnd(std::span<const std::uint8_t> frame);

// One line without the line break: time, ">" for sent or "<" for received, the bytes in hex,
// their printable form between bars (other bytes as "."), the outcome.
//   "12345 > 02 4F 34 46 03 |.O4F.| frame"
std::string FormatTraceLine(const TraceEvent& event);

}  // namespace vyn
