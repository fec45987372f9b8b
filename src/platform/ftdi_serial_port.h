#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/link/serial_port.h"

struct ftdi_context;

namespace vyn {

// The Zix's FTDI adapter through libftdi1, found by its USB product description whatever its
// FTDI product id. Received bytes are collected in a buffer of our own, whose fill is the
// number of bytes waiting.
class FtdiSerialPort : public SerialPort {
 public:
  explicit FtdiSerialPort(std::string description);
  ~FtdiSerialPort() override;
  FtdiSerialPort(const FtdiSerialPort&) = delete;
  FtdiSerialPort& operator=(const FtdiSerialPort&) = delete;

  bool Open() override;
  bool IsOpen() const override { return open_; }
  bool SetLineSettings(const LineSettings& settings) override;
  void Purge(bool receive, bool transmit) override;
  std::size_t BytesWaiting() override;
  std::size_t Read(std::span<std::uint8_t> buffer) override;
  std::size_t Write(std::span<const std::uint8_t> bytes) override;
  bool WaitReadable(std::uint32_t timeout_ms) override;
  void Close() override;

 private:
  // Moves what the chip has into the buffer; false on a library error.
  bool Fetch();

  std::string description_;
  ftdi_context* ftdi_ = nullptr;
  bool open_ = false;
  std::vector<std::uint8_t> received_;
};

}  // namespace vyn
