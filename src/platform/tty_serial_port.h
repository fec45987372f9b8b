#pragma once

#include <memory>
#include <string>

#include "core/link/serial_port.h"

namespace vyn {

// The /dev/ttyUSBn whose USB device reports `product` as its product string, found through
// `sysfs_tty` (normally /sys/class/tty); empty when there is none.
std::string FindTtyByUsbProduct(const std::string& product,
                                const std::string& sysfs_tty = "/sys/class/tty");

// A serial port on a terminal device through termios: an FTDI adapter under the kernel's
// ftdi_sio driver, any other serial device, or a pseudo-terminal (the unit simulator).
class TtySerialPort : public SerialPort {
 public:
  // The device at `path`.
  static std::unique_ptr<TtySerialPort> ForPath(std::string path);
  // The ttyUSB device of the USB adapter with this product string, looked up at each Open.
  static std::unique_ptr<TtySerialPort> ForUsbProduct(std::string product);
  ~TtySerialPort() override;

  bool Open() override;
  bool IsOpen() const override { return fd_ >= 0; }
  bool SetLineSettings(const LineSettings& settings) override;
  void Purge(bool receive, bool transmit) override;
  std::size_t BytesWaiting() override;
  std::size_t Read(std::span<std::uint8_t> buffer) override;
  std::size_t Write(std::span<const std::uint8_t> bytes) override;
  bool WaitReadable(std::uint32_t timeout_ms) override;
  void Close() override;

  // The device path opened last (empty before the first successful lookup).
  const std::string& path() const { return path_; }

 private:
  TtySerialPort(std::string path, std::string product);

  std::string path_;
  std::string product_;  // non-empty: find the device by its USB product string
  int fd_ = -1;
};

}  // namespace vyn
