#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "core/link/serial_port.h"
#include "core/link/zix_trace.h"

namespace vyn {

// The port the Zix link uses, from a port choice as given by VYN_ZIX_PORT or --port:
//   "ftdi" (or empty)  the FTDI adapter with the Zix's USB description, through libftdi1
//   "tty"              the ttyUSB device of that adapter, through the kernel driver
//   anything else      the path of a serial device or pseudo-terminal
std::unique_ptr<SerialPort> MakeZixPort(const std::string& choice);
std::unique_ptr<SerialPort> MakeZixPortFromEnvironment();

// Appends one line per frame and reply to a file, flushed at once so a trace survives a crash.
class FileTraceSink : public ZixTraceSink {
 public:
  // Null when the file cannot be opened for appending.
  static std::unique_ptr<FileTraceSink> Open(const std::string& path);
  ~FileTraceSink() override;
  void Record(const TraceEvent& event) override;

 private:
  explicit FileTraceSink(std::FILE* file) : file_(file) {}
  std::FILE* file_;
};

// The trace file named by VYN_ZIX_TRACE; null when it is not set (tracing off) or the file
// cannot be opened.
std::unique_ptr<ZixTraceSink> OpenTraceFromEnvironment();

}  // namespace vyn
