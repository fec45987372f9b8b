#pragma once

// The Zix with a unit behind it, as the simulator answers it: command text in, answer bytes
// out. Kept free of any I/O so the main loop only moves bytes and keeps time.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/image/parameter_image.h"

namespace vyn::sim {

using Bytes = std::vector<std::uint8_t>;

enum class FaultKind { kNak, kSilence, kChecksum };

struct FaultRule {
  int address = 0;  // device address of the block start (without the extended offset)
  FaultKind kind = FaultKind::kNak;
  int tries = -1;  // the first `tries` tries of the block, or every try when negative
};

struct UnitOptions {
  std::string memory_kind = "5";  // "0", "1", "3", "4", "5", "nak" or "silence"
  std::string zix_version = "15-1-V02.03";
  int ready_after = 0;  // "O" polls answered with NAK before the unit is ready
  std::vector<FaultRule> faults;
  // Addresses whose byte a write acknowledges but leaves as it was.
  std::vector<int> stuck_bytes;
  std::string radio_code;   // empty: no transmitter is ever triggered
  int radio_after = 3;      // "c1" polls after "s1" before the code is received
  std::string info_record;  // 28 characters; empty: a record made of the defaults below
  bool info_fails = false;  // the transmitter reports "04" instead of its record
  int info_after = 2;       // "A" polls before the transmitter answers
  bool info_write_fails = false;
  int info_write_after = 2;  // "F" polls before the transmitter answers
};

// Frames as the unit sends them: STX, payload, checksum in upper-case hex, ETX.
Bytes MakeFrame(const std::string& payload, bool corrupt_checksum = false);

// Collects bytes from the line into frames. A frame with a wrong checksum is reported as such.
class FrameParser {
 public:
  struct Frame {
    std::string payload;
    bool checksum_ok = false;
    std::size_t wire_bytes = 0;
  };
  // Feeds one byte; true when it completed a frame, which is then in `frame`.
  bool Feed(std::uint8_t byte, Frame& frame);

 private:
  bool in_frame_ = false;
  std::string body_;
};

class UnitModel {
 public:
  UnitModel(UnitOptions options, ParameterImage& memory);

  // Called after every accepted write, so the memory file is kept current.
  std::function<void()> on_memory_written;

  // The answer to one frame (empty: silence) and a short description for the log.
  Bytes Answer(const FrameParser::Frame& frame, std::string& note);

 private:
  Bytes BlockRead(const std::string& command, std::string& note);
  Bytes BlockWrite(const std::string& command, std::string& note);
  // Fault to apply to this try of the block at `address`, if any.
  const FaultRule* FaultFor(bool write, int address);
  Bytes Faulty(const FaultRule& rule, const Bytes& good, const std::string& payload,
               std::string& note);
  std::string InfoRecord() const;

  UnitOptions options_;
  ParameterImage& memory_;
  int ready_polls_ = 0;
  std::map<std::pair<bool, int>, int> tries_;
  bool radio_on_ = false;
  int radio_polls_ = 0;
  bool info_requested_ = false;
  int info_polls_ = 0;
  std::string info_code_ = "0000";
  bool info_write_pending_ = false;
  int info_write_polls_ = 0;
  // Settable values of the transmitter: interval, limit, mode.
  std::string interval_ = "18", limit_ = "00", mode_ = "03";
};

}  // namespace vyn::sim
