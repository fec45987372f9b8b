#include "sim/unit_sim/unit_model.h"

#include <algorithm>
#include <cstdio>

namespace vyn::sim {
namespace {

constexpr std::uint8_t kStx = 0x02, kEtx = 0x03, kAck = 0x06, kNak = 0x15;
constexpr int kExtendedOffset = 0x1800;
constexpr int kMaxBlock = 32;

const char kHex[] = "0123456789ABCDEF";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The number written in upper-case hex digits at text[pos, pos + width), or -1.
int HexField(const std::string& text, std::size_t pos, std::size_t width) {
  if (pos + width > text.size()) return -1;
  int value = 0;
  for (std::size_t i = pos; i < pos + width; ++i) {
    const int digit = HexValue(text[i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

std::string HexByte(int value) { return {kHex[(value >> 4) & 15], kHex[value & 15]}; }

}  // namespace

Bytes MakeFrame(const std::string& payload, bool corrupt_checksum) {
  Bytes frame{kStx};
  unsigned sum = 0;
  for (char c : payload) {
    frame.push_back(static_cast<std::uint8_t>(c));
    sum += static_cast<std::uint8_t>(c);
  }
  if (corrupt_checksum) ++sum;
  const std::string check = HexByte(static_cast<int>(sum & 0xFF));
  frame.insert(frame.end(), check.begin(), check.end());
  frame.push_back(kEtx);
  return frame;
}

bool FrameParser::Feed(std::uint8_t byte, Frame& frame) {
  if (byte == kStx) {
    in_frame_ = true;
    body_.clear();
    return false;
  }
  if (!in_frame_) return false;  // noise between frames
  if (byte != kEtx) {
    if (body_.size() < 256) body_ += static_cast<char>(byte);
    return false;
  }
  in_frame_ = false;
  frame = Frame{};
  frame.wire_bytes = body_.size() + 2;
  if (body_.size() < 2) return true;
  frame.payload = body_.substr(0, body_.size() - 2);
  unsigned sum = 0;
  for (char c : frame.payload) sum += static_cast<std::uint8_t>(c);
  frame.checksum_ok = HexField(body_, body_.size() - 2, 2) == static_cast<int>(sum & 0xFF);
  return true;
}

UnitModel::UnitModel(UnitOptions options, ParameterImage& memory)
    : options_(std::move(options)), memory_(memory) {}

Bytes UnitModel::Answer(const FrameParser::Frame& frame, std::string& note) {
  if (!frame.checksum_ok) {
    note = "bad frame -> NAK";
    return {kNak};
  }
  const std::string& c = frame.payload;
  if (c == "O") {
    if (ready_polls_ < options_.ready_after) {
      ++ready_polls_;
      note = "busy -> NAK";
      return {kNak};
    }
    note = "ready -> ACK";
    return {kAck};
  }
  if (c == "G") {
    note = "memory kind " + options_.memory_kind;
    if (options_.memory_kind == "silence") return {};
    if (options_.memory_kind == "nak") return {kNak};
    return {static_cast<std::uint8_t>(options_.memory_kind[0])};
  }
  if (c == "v") {
    note = "version " + options_.zix_version;
    return MakeFrame(options_.zix_version);
  }
  if (!c.empty() && (c[0] == 'R' || c[0] == 'S')) return BlockRead(c, note);
  if (!c.empty() && (c[0] == 'W' || c[0] == 'X')) return BlockWrite(c, note);
  if (c == "s1" || c == "s0") {
    radio_on_ = c == "s1";
    radio_polls_ = 0;
    note = radio_on_ ? "radio receive on -> ACK" : "radio receive off -> ACK";
    return {kAck};
  }
  if (c == "c1") {
    const bool received =
        radio_on_ && !options_.radio_code.empty() && ++radio_polls_ > options_.radio_after;
    const std::string code = received ? (options_.radio_code + "0000").substr(0, 4) : "0000";
    note = "radio code " + code;
    return MakeFrame(code + "0000");
  }
  if (c.size() >= 5 && c[0] == 'a') {
    info_requested_ = true;
    info_polls_ = 0;
    info_code_ = c.substr(1, 4);
    note = "information request for " + info_code_ + " -> ACK";
    return {kAck};
  }
  if (c == "A") {
    if (!info_requested_ || ++info_polls_ < options_.info_after) {
      note = "no information yet";
      return MakeFrame("00");
    }
    note = options_.info_fails ? "information failed" : "information record";
    return MakeFrame(options_.info_fails ? "04" : InfoRecord());
  }
  if (c.size() >= 5 && c[0] == 'f') {
    // "27" interval "28" limit "29" mode behind the code.
    const std::string data = c.substr(5);
    for (std::size_t i = 0; i + 4 <= data.size(); i += 4) {
      const std::string id = data.substr(i, 2), value = data.substr(i + 2, 2);
      if (id == "27") interval_ = value;
      if (id == "28") limit_ = value;
      if (id == "29") mode_ = value;
    }
    info_write_pending_ = true;
    info_write_polls_ = 0;
    note = "information write " + data + " -> ACK";
    return {kAck};
  }
  if (c == "F") {
    if (!info_write_pending_ || ++info_write_polls_ < options_.info_write_after) {
      note = "no write result yet";
      return MakeFrame("00");
    }
    note = options_.info_write_fails ? "write failed" : "written";
    return MakeFrame(options_.info_write_fails ? "04" : "03");
  }
  note = "unknown command -> NAK";
  return {kNak};
}

const FaultRule* UnitModel::FaultFor(bool write, int address) {
  const int tries = ++tries_[{write, address}];
  for (const FaultRule& rule : options_.faults) {
    if (rule.address == address && (rule.tries < 0 || tries <= rule.tries)) return &rule;
  }
  return nullptr;
}

Bytes UnitModel::Faulty(const FaultRule& rule, const Bytes& good, const std::string& payload,
                        std::string& note) {
  switch (rule.kind) {
    case FaultKind::kNak:
      note += " (fault: NAK)";
      return {kNak};
    case FaultKind::kSilence:
      note += " (fault: silence)";
      return {};
    case FaultKind::kChecksum:
      note += " (fault: corrupt checksum)";
      // A single ACK has no checksum; the garbled form of it is another byte.
      return good.size() == 1 ? Bytes{'?'} : MakeFrame(payload, true);
  }
  return good;
}

Bytes UnitModel::BlockRead(const std::string& command, std::string& note) {
  int address = HexField(command, 1, 4);
  const int count = HexField(command, 5, 2);
  if (command[0] == 'S') address -= kExtendedOffset;
  if (command.size() != 7 || address < 0 || count < 1 || count > kMaxBlock ||
      address + count > static_cast<int>(kImageSize)) {
    note = "bad read command -> NAK";
    return {kNak};
  }
  std::string data;
  for (int i = 0; i < count; ++i) data += HexByte(memory_[static_cast<std::size_t>(address + i)]);
  note = "read " + std::to_string(count) + " bytes at " + HexByte(address >> 8) +
         HexByte(address & 0xFF);
  const Bytes good = MakeFrame(data);
  const FaultRule* fault = FaultFor(false, address);
  return fault != nullptr ? Faulty(*fault, good, data, note) : good;
}

Bytes UnitModel::BlockWrite(const std::string& command, std::string& note) {
  int address = HexField(command, 1, 4);
  const int count = HexField(command, 5, 2);
  if (command[0] == 'X') address -= kExtendedOffset;
  if (address < 0 || count < 1 || count > kMaxBlock ||
      address + count > static_cast<int>(kImageSize) ||
      command.size() != 7 + 2 * static_cast<std::size_t>(count)) {
    note = "bad write command -> NAK";
    return {kNak};
  }
  Bytes values;
  for (int i = 0; i < count; ++i) {
    const int value = HexField(command, 7 + 2 * static_cast<std::size_t>(i), 2);
    if (value < 0) {
      note = "bad write data -> NAK";
      return {kNak};
    }
    values.push_back(static_cast<std::uint8_t>(value));
  }
  note = "write " + std::to_string(count) + " bytes at " + HexByte(address >> 8) +
         HexByte(address & 0xFF);
  const FaultRule* fault = FaultFor(true, address);
  // A faulty try does not reach the memory.
  if (fault != nullptr) return Faulty(*fault, {kAck}, "", note);
  for (int i = 0; i < count; ++i) {
    if (std::find(options_.stuck_bytes.begin(), options_.stuck_bytes.end(), address + i) ==
        options_.stuck_bytes.end()) {
      memory_[static_cast<std::size_t>(address + i)] = values[static_cast<std::size_t>(i)];
    }
  }
  if (on_memory_written) on_memory_written();
  return {kAck};
}

std::string UnitModel::InfoRecord() const {
  if (!options_.info_record.empty()) return options_.info_record;
  return info_code_ + "27" + interval_ + "28" + limit_ + "29" + mode_ + "2A00" + "2B05" + "2F22";
}

}  // namespace vyn::sim
