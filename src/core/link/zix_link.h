#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/parameter_image.h"
#include "core/link/clock.h"
#include "core/link/serial_port.h"
#include "core/link/zix_trace.h"

namespace vyn {

// Control bytes on the line.
inline constexpr std::uint8_t kStx = 0x02;
inline constexpr std::uint8_t kEtx = 0x03;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;

// Every exchange of the system waits this long for the first byte of the answer.
inline constexpr std::uint32_t kReplyTimeLimitMs = 250;
// After each chunk of an answer the wait ends this long after the last byte.
inline constexpr std::uint32_t kChunkSilenceMs = 250;
// After a block attempt without a usable answer, the link waits until the line has been quiet
// this long (kChunkSilenceMs), but no longer than kMaxDrainMs, before the next command.
inline constexpr std::uint32_t kMaxDrainMs = 1000;
// At most this many answer bytes are collected; the rest is discarded by the next send.
inline constexpr std::size_t kMaxReplyBytes = 90;
// The outgoing frame (STX, command, two checksum digits, ETX) and its terminator fit 100 bytes.
inline constexpr std::size_t kFrameBufferSize = 100;
inline constexpr std::size_t kMaxCommandLength = kFrameBufferSize - 5;

// Blocks of the memory commands, and the offset of the extended address space.
inline constexpr int kNormalBlockSize = 16;
inline constexpr int kExtendedBlockSize = 32;
inline constexpr int kExtendedAddressOffset = 0x1800;
inline constexpr int kBlockTries = 3;

// The USB product description of the Zix's FTDI adapter.
inline constexpr char kZixUsbDescription[] = "Kemb ZIX - Active USB Interface";

enum class OpenResult : int { kOpened = 0, kFailed = 1 };

// Results of the link operations, with the system's numbers.
enum class LinkResult : int {
  kSuccess = 0,
  kNoAnswer = 2,          // no or wrong answer to a single command
  kBlockReadFailed = 4,   // at least one block of a range read failed
  kBlockWriteFailed = 5,  // at least one block of a range write failed
  kZixTooOld = 7,         // the Zix firmware is too old or of another product
};

// MemorySize of the memory kind "1": 2048 bytes in extended mode.
inline constexpr int kExtendedMemory = 0;
inline constexpr int kUnknownMemory = -1;

// What one receive brought: nothing usable, a single byte (ACK, NAK or any other), or the
// characters of a frame whose checksum matched.
struct ZixReply {
  enum class Kind { kNothing, kByte, kFrame };
  Kind kind = Kind::kNothing;
  std::string data;  // the byte, or the frame's characters

  // The frame layer's count: 0 for nothing usable, 1 for a single byte, else the number of the
  // frame's characters. A frame of one character counts as one, like a byte.
  int count() const { return kind == Kind::kNothing ? 0 : static_cast<int>(data.size()); }
  // One character, ACK.
  bool IsAck() const { return count() == 1 && static_cast<std::uint8_t>(data[0]) == kAck; }
};

// The unit's memory as its memory kind ("G") tells it.
struct UnitMemory {
  int size = 0;           // 512, 1024 or 2048 bytes; 0 for an unknown kind or no answer
  bool extended = false;  // 32-byte blocks, "S"/"X" at the address moved by 0x1800
  // The flows transfer 512 or 2048 bytes; a 1024-byte memory counts as no connection.
  bool transferable() const {
    return size == static_cast<int>(kShortImageSize) || size == static_cast<int>(kImageSize);
  }
};

// Zix firmware versions the system asks for.
inline constexpr char kVersionForDeviceRead[] = "14-1";
inline constexpr char kVersionForTransmitterInfo[] = "11-1";
// Parameters asked from a transmitter by the information request.
inline constexpr char kTransmitterInfoParameters[] = "2728292A2B2F";

// Two upper-case hexadecimal digits, high nibble first.
std::string ByteToHex(std::uint8_t value);
// "0".."9" give 0..9, every higher character code - 0x37 (so "A".."F" give 10..15 and lower
// case never matches a checksum), all modulo 256.
std::uint8_t HexDigitValue(char c);
// STX, the command, its checksum as two upper-case digits, ETX. Empty for an empty command or
// one that does not fit the frame buffer.
std::vector<std::uint8_t> BuildFrame(std::string_view command);

// The programming-unit link: frames over the serial port of the Zix and the commands the Zix
// understands. One object per window that talks to the unit; each device operation opens it at
// its start and closes it at its end.
class ZixLink {
 public:
  ZixLink(SerialPort& port, Clock& clock);
  ~ZixLink();
  ZixLink(const ZixLink&) = delete;
  ZixLink& operator=(const ZixLink&) = delete;

  // Frame layer.
  OpenResult Open();
  void Close();
  bool IsOpen() const { return port_.IsOpen(); }
  // The number of bytes written, 0 when nothing was written. Purges both directions first, so
  // late bytes of an earlier exchange are lost.
  int SendCommand(std::string_view command);
  // What arrived within `time_limit_ms` (and 250 ms after each chunk); `expected` characters
  // (1 for commands answered by ACK or NAK) let the wait end early.
  ZixReply Receive(int expected, std::uint32_t time_limit_ms = kReplyTimeLimitMs);
  // SendCommand followed by Receive.
  ZixReply Request(std::string_view command, int expected,
                   std::uint32_t time_limit_ms = kReplyTimeLimitMs);
  // The same with the frame layer's counts: 0 for nothing usable, 1 with the single byte
  // received in reply[0], or the number of data characters of a verified frame with those
  // characters in `reply`.
  int ReceiveReply(std::string& reply, std::uint32_t time_limit_ms, int expected);
  int Exchange(std::string_view command, std::string& reply, std::uint32_t time_limit_ms,
               int expected);

  // Memory commands. Addresses are device addresses 0x000-0x7FF, `last` inclusive; first >
  // last transfers nothing. Blocks of 16 bytes ("R"/"W"), or 32 bytes in extended mode
  // ("S"/"X" with the address moved by 0x1800), three tries per block. A block that could not
  // be transferred makes the result a failure whatever its last answer was; read blocks that
  // failed keep the destination's previous bytes.
  LinkResult ReadRange(ParameterImage& destination, int first, int last);
  // Writes the image's bytes as they are; the flows apply the write plan before.
  LinkResult WriteRange(const ParameterImage& image, int first, int last);
  // "O" answered by ACK.
  LinkResult CheckReady();
  // The answer to "G": one of "0", "1", "3", "4", "5" in `kind`; NAK, silence or any other
  // answer give kNoAnswer.
  LinkResult QueryMemoryKind(char& kind);
  // The memory the kind names: "1" 2048 bytes extended, "3" 512, "4" 1024, "5" 2048 bytes;
  // anything else, or no answer, a memory of size 0.
  UnitMemory QueryMemory();
  // The same as the system's code: kExtendedMemory for "1", 512, 1024 or 2048 for "3", "4" and
  // "5", kUnknownMemory for anything else.
  int MemorySize();
  void SetExtendedMode(bool extended) { extended_mode_ = extended; }
  bool extended_mode() const { return extended_mode_; }
  // The 11 characters of the "v" answer; empty with kNoAnswer otherwise.
  LinkResult ReadZixVersion(std::string& version);
  // `required` such as "14-1": the product digit (4th character) must match and the two-digit
  // version must be at least the required one.
  LinkResult CheckZixVersion(std::string_view required);

  // Transmitter commands.
  LinkResult StartRadioReceive();
  LinkResult StopRadioReceive();
  // The first four characters of the 8-character "c1" answer; "0000" while nothing came.
  LinkResult GetRadioCode(std::string& code);
  LinkResult RequestTransmitterInfo(std::string_view code, std::string_view parameters);
  // Always kSuccess: `text` holds the characters of whatever frame arrived, empty when nothing
  // usable arrived.
  LinkResult PollTransmitterInfo(std::string& text);
  LinkResult SendTransmitterInfo(std::string_view code, std::string_view data);
  // The two characters of the "F" answer ("03" written, "04" failed).
  LinkResult PollTransmitterWrite(std::string& text);

  // Null (the default) switches tracing off.
  void SetTrace(ZixTraceSink* sink) { trace_ = sink; }

 private:
  int BlockSize() const { return extended_mode_ ? kExtendedBlockSize : kNormalBlockSize; }
  std::string BlockCommand(char normal, char extended, int address, int count) const;
  // The blocks of first..last, three tries each: written from `source`, or read into
  // `destination`; `failure` when a block was not transferred.
  LinkResult TransferBlocks(int first, int last, const ParameterImage* source,
                            ParameterImage* destination, LinkResult failure);
  LinkResult AcknowledgedCommand(std::string_view command);
  // A block's answer that comes after the reply time would be taken for the answer to the next
  // command (another block's data, silently stored at the wrong place). After an attempt
  // without a usable answer the line is therefore waited on until it has been quiet for
  // kChunkSilenceMs (at most kMaxDrainMs), and whatever arrives meanwhile is discarded.
  void DrainLateAnswer();
  void Trace(TraceDirection direction, std::span<const std::uint8_t> bytes, TraceOutcome outcome);

  SerialPort& port_;
  Clock& clock_;
  bool extended_mode_ = false;
  ZixTraceSink* trace_ = nullptr;
};

}  // namespace vyn
