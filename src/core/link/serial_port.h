#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vyn {

enum class Parity { kNone, kOdd, kEven };

struct LineSettings {
  int baud = 57600;
  int data_bits = 8;
  int stop_bits = 2;
  Parity parity = Parity::kNone;
  bool hardware_flow_control = false;
  bool dtr = false;
};

// The Zix runs at 57600 baud, 8 data bits, 2 stop bits, no parity, no flow control, DTR clear.
inline constexpr LineSettings kZixLineSettings{};

// The serial device behind the Zix link: exactly the operations the link needs. Which device is
// opened (the adapter with the Zix's USB description, or a given path) is fixed when the port
// object is made. No operation throws; failures are reported by the results.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Opens the device; false when it is absent or held by another program.
  virtual bool Open() = 0;
  virtual bool IsOpen() const = 0;
  // Applies every setting even when one of them fails; false if any failed.
  virtual bool SetLineSettings(const LineSettings& settings) = 0;
  // Discards what the device has received (and, with `transmit`, what it has not yet sent).
  virtual void Purge(bool receive, bool transmit) = 0;
  // Bytes that can be read at once; 0 on error.
  virtual std::size_t BytesWaiting() = 0;
  // Reads at most buffer.size() bytes without waiting; the number read, 0 on error.
  virtual std::size_t Read(std::span<std::uint8_t> buffer) = 0;
  // Writes all bytes; the number written, 0 on error.
  virtual std::size_t Write(std::span<const std::uint8_t> bytes) = 0;
  // Blocks until bytes are waiting or `timeout_ms` has passed; true when bytes are waiting.
  // It never returns false before the timeout has passed (a dead device is waited out), so a
  // caller looping on it up to a deadline never spins.
  virtual bool WaitReadable(std::uint32_t timeout_ms) = 0;
  virtual void Close() = 0;
};

}  // namespace vyn
