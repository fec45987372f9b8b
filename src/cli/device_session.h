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

// The progress bar of a device command on a terminal: every block command the link sends moves
// it to the end of its block ("vynctl read: [#####.....]  1024/2048"), drawn over itself on one
// line. Frames are passed on to the trace file when tracing is on.
class TerminalProgress : public ZixTraceSink {
 public:
  TerminalProgress(std::string command, std::ostream& err, ZixTraceSink* next)
      : command_(std::move(command)), err_(err), next_(next) {}
  ~TerminalProgress() override { Clear(); }

  void Record(const TraceEvent& event) override;
  // Removes the bar from its line, so that a text can be written there.
  void Clear();

 private:
  std::string command_;
  std::ostream& err_;
  ZixTraceSink* next_;
  int shown_ = -1;  // the block end drawn, -1 when no bar is on the line
};

// Boxes go to `err` as "vynctl COMMAND: TEXT"; the status line only with `show_status`, and only
// when its text changes (a box right after a status line with its text is not repeated). Questions
// are answered with the button given for them. A progress bar on the line is cleared first.
class StderrPrompter : public Prompter {
 public:
  StderrPrompter(std::string command, std::ostream& err, bool show_status,
                 TerminalProgress* progress = nullptr)
      : command_(std::move(command)), err_(err), verbose_(show_status), progress_(progress) {}

  // The answer to an OK/Cancel question; Cancel unless set.
  MessageButton ok_cancel_answer = MessageButton::kCancel;

  MessageButton ShowMessage(MessageKind kind, const std::string& text,
                            MessageButtons buttons) override;
  void SetStatus(const std::string& text) override;

 private:
  std::string command_;
  std::ostream& err_;
  bool verbose_;
  TerminalProgress* progress_;
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
  // Status texts are shown with --verbose or on a terminal, never with --quiet; the progress bar
  // only on a terminal (null otherwise).
  bool shows_status() const { return shows_status_; }
  TerminalProgress* progress() { return progress_.get(); }

 private:
  DeviceLink() = default;
  std::unique_ptr<SerialPort> port_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<ZixTraceSink> trace_;
  std::unique_ptr<TerminalProgress> progress_;
  bool shows_status_ = false;
  std::unique_ptr<ZixLink> link_;
};

}  // namespace vyn::cli
