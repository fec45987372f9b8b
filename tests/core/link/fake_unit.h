#pragma once

// A unit with a memory behind the scripted port: answers the block commands, and lets a test
// replace the answers to one block address for its first tries.

#include <map>
#include <string>
#include <vector>

#include "core/image/parameter_image.h"
#include "core/link/zix_link.h"
#include "scripted_port.h"

namespace vyn::testing {

inline Reply FrameReply(const std::string& data) { return {{3, BuildFrame(data)}}; }
inline Reply ByteReply(std::uint8_t b) { return {{3, {b}}}; }

inline std::string CommandOf(const Bytes& frame) {
  return frame.size() < 4 ? "" : std::string(frame.begin() + 1, frame.end() - 3);
}

class FakeUnit {
 public:
  explicit FakeUnit(ScriptedPort& port) {
    for (std::size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<std::uint8_t>(i * 7);
    port.responder = [this](const Bytes& frame) { return Answer(CommandOf(frame)); };
  }

  ParameterImage memory{};
  std::vector<std::string> commands;
  std::map<int, std::vector<Reply>> faults;  // block address -> answers of its first tries

 private:
  Reply Answer(const std::string& command) {
    commands.push_back(command);
    const char letter = command[0];
    if (letter != 'R' && letter != 'S' && letter != 'W' && letter != 'X') return ByteReply(kNak);
    int address = std::stoi(command.substr(1, 4), nullptr, 16);
    const int count = std::stoi(command.substr(5, 2), nullptr, 16);
    if (letter == 'S' || letter == 'X') address -= kExtendedAddressOffset;
    auto fault = faults.find(address);
    if (fault != faults.end() && !fault->second.empty()) {
      Reply reply = fault->second.front();
      fault->second.erase(fault->second.begin());
      return reply;
    }
    if (letter == 'R' || letter == 'S') {
      std::string data;
      for (int i = 0; i < count; ++i) data += ByteToHex(memory[address + i]);
      return FrameReply(data);
    }
    for (int i = 0; i < count; ++i) {
      memory[address + i] =
          static_cast<std::uint8_t>(std::stoi(command.substr(7 + 2 * i, 2), nullptr, 16));
    }
    return ByteReply(kAck);
  }
};

}  // namespace vyn::testing
