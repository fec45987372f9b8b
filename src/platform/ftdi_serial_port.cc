#include "platform/ftdi_serial_port.h"

#include <ftdi.h>
#include <libusb.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/steady_clock.h"

namespace vyn {
namespace {

constexpr int kFtdiVendor = 0x0403;
// The chip hands over received bytes at least this often (milliseconds); a read returns
// after at most about this long, so waiting is done in steps of it.
constexpr unsigned char kLatencyTimerMs = 2;
constexpr int kUsbReadTimeoutMs = 10;
constexpr int kUsbWriteTimeoutMs = 100;

}  // namespace

FtdiSerialPort::FtdiSerialPort(std::string description) : description_(std::move(description)) {}

FtdiSerialPort::~FtdiSerialPort() { Close(); }

bool FtdiSerialPort::Open() {
  Close();
  ftdi_ = ftdi_new();
  if (ftdi_ == nullptr) return false;
  // The kernel's ftdi_sio driver gives the device up while we hold it and gets it back after.
  ftdi_->module_detach_mode = AUTO_DETACH_REATACH_SIO_MODULE;
  ftdi_->usb_read_timeout = kUsbReadTimeoutMs;
  ftdi_->usb_write_timeout = kUsbWriteTimeoutMs;

  // ftdi_usb_find_all only knows FTDI's standard product ids, and the Zix may carry its own:
  // every device of the FTDI vendor is asked for its product description.
  libusb_device** devices = nullptr;
  const ssize_t count = libusb_get_device_list(ftdi_->usb_ctx, &devices);
  for (ssize_t i = 0; i < count && !open_; ++i) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(devices[i], &descriptor) != 0 ||
        descriptor.idVendor != kFtdiVendor) {
      continue;
    }
    char product[256] = {};
    if (ftdi_usb_get_strings(ftdi_, devices[i], nullptr, 0, product, sizeof product, nullptr, 0) !=
            0 ||
        description_ != product) {
      continue;
    }
    open_ = ftdi_usb_open_dev(ftdi_, devices[i]) == 0;
  }
  if (devices != nullptr) libusb_free_device_list(devices, 1);
  if (!open_) {
    ftdi_free(ftdi_);
    ftdi_ = nullptr;
  }
  received_.clear();
  return open_;
}

bool FtdiSerialPort::SetLineSettings(const LineSettings& settings) {
  if (!open_) return false;
  bool ok = ftdi_set_baudrate(ftdi_, settings.baud) == 0;
  const ftdi_bits_type bits = settings.data_bits == 7 ? BITS_7 : BITS_8;
  const ftdi_stopbits_type stop = settings.stop_bits == 2 ? STOP_BIT_2 : STOP_BIT_1;
  const ftdi_parity_type parity = settings.parity == Parity::kOdd    ? ODD
                                  : settings.parity == Parity::kEven ? EVEN
                                                                     : NONE;
  ok = ftdi_set_line_property(ftdi_, bits, stop, parity) == 0 && ok;
  ok = ftdi_setflowctrl(
           ftdi_, settings.hardware_flow_control ? SIO_RTS_CTS_HS : SIO_DISABLE_FLOW_CTRL) == 0 &&
       ok;
  ok = ftdi_setdtr(ftdi_, settings.dtr ? 1 : 0) == 0 && ok;
  ok = ftdi_set_latency_timer(ftdi_, kLatencyTimerMs) == 0 && ok;
  return ok;
}

void FtdiSerialPort::Purge(bool receive, bool transmit) {
  if (!open_) return;
  if (receive) received_.clear();
  if (receive && transmit) {
    ftdi_tcioflush(ftdi_);
  } else if (receive) {
    ftdi_tciflush(ftdi_);
  } else if (transmit) {
    ftdi_tcoflush(ftdi_);
  }
}

bool FtdiSerialPort::Fetch() {
  unsigned char chunk[512];
  const int n = ftdi_read_data(ftdi_, chunk, sizeof chunk);
  if (n < 0) return false;
  received_.insert(received_.end(), chunk, chunk + n);
  return true;
}

std::size_t FtdiSerialPort::BytesWaiting() {
  if (!open_) return 0;
  if (received_.empty()) Fetch();
  return received_.size();
}

std::size_t FtdiSerialPort::Read(std::span<std::uint8_t> buffer) {
  if (!open_) return 0;
  if (received_.empty()) Fetch();
  const std::size_t n = std::min(buffer.size(), received_.size());
  std::copy_n(received_.begin(), n, buffer.begin());
  received_.erase(received_.begin(), received_.begin() + static_cast<long>(n));
  return n;
}

std::size_t FtdiSerialPort::Write(std::span<const std::uint8_t> bytes) {
  if (!open_ || bytes.empty()) return 0;
  const int n = ftdi_write_data(ftdi_, bytes.data(), static_cast<int>(bytes.size()));
  return n > 0 ? static_cast<std::size_t>(n) : 0;
}

bool FtdiSerialPort::WaitReadable(std::uint32_t timeout_ms) {
  const std::uint64_t deadline = MonotonicMs() + timeout_ms;
  // Each read blocks in libusb until the chip's latency timer delivers (or the USB read
  // timeout passes), so this loop waits on the device rather than spinning.
  while (open_ && received_.empty() && MonotonicMs() < deadline) {
    if (!Fetch()) break;
  }
  if (!received_.empty()) return true;
  const std::uint64_t now = MonotonicMs();
  if (now < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(deadline - now));
  return false;
}

void FtdiSerialPort::Close() {
  if (ftdi_ == nullptr) return;
  if (open_) ftdi_usb_close(ftdi_);
  ftdi_free(ftdi_);
  ftdi_ = nullptr;
  open_ = false;
  received_.clear();
}

}  // namespace vyn
