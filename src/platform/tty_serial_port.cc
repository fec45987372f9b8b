#include "platform/tty_serial_port.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/steady_clock.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;

// A write that makes no progress for this long has failed.
constexpr int kWriteStallMs = 100;

speed_t BaudConstant(int baud) {
  switch (baud) {
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    default:
      return B0;
  }
}

// Modem-control and serial-driver requests that a pseudo-terminal or a plain tty does not
// support fail with one of these; the port works without them.
bool IsUnsupported(int error) { return error == ENOTTY || error == EINVAL || error == ENOSYS; }

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

}  // namespace

std::string FindTtyByUsbProduct(const std::string& product, const std::string& sysfs_tty) {
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(sysfs_tty, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("ttyUSB", 0) != 0) continue;
    // device -> the usb-serial port; its parents are the USB interface and the USB device,
    // which carries the product string.
    fs::path dir = fs::canonical(entry.path() / "device", ec);
    if (ec) continue;
    for (int up = 0; up < 4 && !dir.empty() && dir != dir.root_path();
         ++up, dir = dir.parent_path()) {
      if (fs::exists(dir / "product", ec)) {
        if (FirstLine(dir / "product") == product) return "/dev/" + name;
        break;
      }
    }
  }
  return {};
}

std::unique_ptr<TtySerialPort> TtySerialPort::ForPath(std::string path) {
  return std::unique_ptr<TtySerialPort>(new TtySerialPort(std::move(path), {}));
}

std::unique_ptr<TtySerialPort> TtySerialPort::ForUsbProduct(std::string product) {
  return std::unique_ptr<TtySerialPort>(new TtySerialPort({}, std::move(product)));
}

TtySerialPort::TtySerialPort(std::string path, std::string product)
    : path_(std::move(path)), product_(std::move(product)) {}

TtySerialPort::~TtySerialPort() { Close(); }

bool TtySerialPort::Open() {
  Close();
  if (!product_.empty()) path_ = FindTtyByUsbProduct(product_);
  if (path_.empty()) return false;
  fd_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return false;
  // Held by us alone, like the adapter under its vendor driver.
  if (::ioctl(fd_, TIOCEXCL) != 0 && !IsUnsupported(errno)) {
    Close();
    return false;
  }
  return true;
}

bool TtySerialPort::SetLineSettings(const LineSettings& settings) {
  if (fd_ < 0) return false;
  bool ok = true;
  termios tio{};
  if (::tcgetattr(fd_, &tio) == 0) {
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD;
    switch (settings.data_bits) {
      case 7:
        tio.c_cflag |= CS7;
        break;
      case 8:
        tio.c_cflag |= CS8;
        break;
      default:
        ok = false;
    }
    if (settings.stop_bits == 2) tio.c_cflag |= CSTOPB;
    if (settings.parity != Parity::kNone) tio.c_cflag |= PARENB;
    if (settings.parity == Parity::kOdd) tio.c_cflag |= PARODD;
    if (settings.hardware_flow_control) tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    const speed_t speed = BaudConstant(settings.baud);
    if (speed == B0 || ::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0) {
      ok = false;
    }
    // tcsetattr reports success when any of the settings took; read them back to be sure.
    termios now{};
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0 || ::tcgetattr(fd_, &now) != 0 ||
        (now.c_cflag & (CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS)) !=
            (tio.c_cflag & (CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS)) ||
        ::cfgetospeed(&now) != speed) {
      ok = false;
    }
  } else {
    ok = false;
  }
  const int dtr = TIOCM_DTR;
  if (::ioctl(fd_, settings.dtr ? TIOCMBIS : TIOCMBIC, &dtr) != 0 && !IsUnsupported(errno)) {
    ok = false;
  }
  // Low latency makes the driver hand over each reply at once; it is a help, not a setting
  // the link depends on.
  serial_struct serial{};
  if (::ioctl(fd_, TIOCGSERIAL, &serial) == 0) {
    serial.flags |= ASYNC_LOW_LATENCY;
    ::ioctl(fd_, TIOCSSERIAL, &serial);
  }
  return ok;
}

void TtySerialPort::Purge(bool receive, bool transmit) {
  if (fd_ < 0 || !(receive || transmit)) return;
  ::tcflush(fd_, receive && transmit ? TCIOFLUSH : receive ? TCIFLUSH : TCOFLUSH);
}

std::size_t TtySerialPort::BytesWaiting() {
  int waiting = 0;
  if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &waiting) != 0 || waiting < 0) return 0;
  return static_cast<std::size_t>(waiting);
}

std::size_t TtySerialPort::Read(std::span<std::uint8_t> buffer) {
  if (fd_ < 0 || buffer.empty()) return 0;
  const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
  return n > 0 ? static_cast<std::size_t>(n) : 0;
}

std::size_t TtySerialPort::Write(std::span<const std::uint8_t> bytes) {
  if (fd_ < 0) return 0;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) break;
    pollfd p{fd_, POLLOUT, 0};
    if (::poll(&p, 1, kWriteStallMs) <= 0 || (p.revents & POLLOUT) == 0) break;
  }
  return done;
}

bool TtySerialPort::WaitReadable(std::uint32_t timeout_ms) {
  const std::uint64_t deadline = MonotonicMs() + timeout_ms;
  for (;;) {
    if (fd_ < 0) break;
    const std::uint64_t now = MonotonicMs();
    const int remaining = now >= deadline ? 0 : static_cast<int>(deadline - now);
    pollfd p{fd_, POLLIN, 0};
    const int r = ::poll(&p, 1, remaining);
    if (r < 0 && errno == EINTR) continue;
    if (r > 0) {
      // A hung-up terminal also reports POLLIN; only bytes actually waiting count then.
      const bool dead = (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
      if ((p.revents & POLLIN) != 0 && (!dead || BytesWaiting() > 0)) return true;
      break;  // nothing will come: wait out the time below
    }
    return false;  // timed out
  }
  const std::uint64_t now = MonotonicMs();
  if (now < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(deadline - now));
  return false;
}

void TtySerialPort::Close() {
  if (fd_ < 0) return;
  // Exclusive use is a property of the terminal, not of our descriptor; release it so the
  // next open succeeds even when someone else keeps the device open (the simulator does).
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace vyn
