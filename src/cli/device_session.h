#pragma once

// What the device commands share: the port and trace choice and a Prompter that writes the messages
// to stderr and answers the questions from the flags.

#include <memory>
#include <ostream>
#include <string>

#include "cli/common_options.h"
#include "core/link/zix_link.h"
#include "core/session/prompter.h"

namespace vyn::cli {

// Boxes go to `err` as "vynctl COMMAND: TEXT"; the status line only with `verbose`, and only
// when its text changes (a box right after a status line with its text is not repeated). Questions
// are answered with the button given for them.
class StderrPrompter : public Prompter {
 public:
  StderrPrompter(std::string command, std::ostream& err, bool verbose)
      : command_(std::move(command)), err_(err), verbose_(verbose) {}

  // The answer to an OK/Cancel question; Cancel unless set.
  MessageButton ok_cancel_answer = MessageButton::kCancel;

  MessageButton ShowMessage(MessageKind kind, const std::string& text,
                            MessageButtons buttons) override;
  void SetStatus(const std::string& text) override;

 private:
  std::string command_;
  std::ostream& err_;
  bool verbose_;
  std::string last_status_;
};

// The Zix link on the port of --port (else VYN_ZIX_PORT, else the FTDI adapter), tracing to
// --trace (else VYN_ZIX_TRACE). Null with a message on `err` when the trace file cannot be
// opened.
class DeviceLink {
 public:
  static std::unique_ptr<DeviceLink> Make(const CommandContext& context, std::ostream& err);
  ~DeviceLink();
  ZixLink& link() { return *link_; }
  Clock& clock() { return *clock_; }

 private:
  DeviceLink() = default;
  std::unique_ptr<SerialPort> port_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<ZixTraceSink> trace_;
  std::unique_ptr<ZixLink> link_;
};

}  // namespace vyn::cli
