#include "platform/zix_port_factory.h"

#include <cstdio>
#include <cstdlib>

#include "core/link/zix_link.h"
#include "platform/ftdi_serial_port.h"
#include "platform/tty_serial_port.h"

namespace vyn {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

std::unique_ptr<SerialPort> MakeZixPort(const std::string& choice) {
  if (choice.empty() || choice == "ftdi") {
    return std::make_unique<FtdiSerialPort>(kZixUsbDescription);
  }
  if (choice == "tty") return TtySerialPort::ForUsbProduct(kZixUsbDescription);
  return TtySerialPort::ForPath(choice);
}

std::unique_ptr<SerialPort> MakeZixPortFromEnvironment() {
  return MakeZixPort(Environment("VYN_ZIX_PORT"));
}

std::unique_ptr<FileTraceSink> FileTraceSink::Open(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "a");
  if (file == nullptr) return nullptr;
  return std::unique_ptr<FileTraceSink>(new FileTraceSink(file));
}

FileTraceSink::~FileTraceSink() { std::fclose(file_); }

void FileTraceSink::Record(const TraceEvent& event) {
  const std::string line = FormatTraceLine(event);
  std::fprintf(file_, "%s\n", line.c_str());
  std::fflush(file_);
}

std::unique_ptr<ZixTraceSink> OpenTraceFromEnvironment() {
  const std::string path = Environment("VYN_ZIX_TRACE");
  if (path.empty()) return nullptr;
  return FileTraceSink::Open(path);
}

}  // namespace vyn
