#include "cli/device_session.h"

#include <unistd.h>

#include "core/image/parameter_image.h"
#include "platform/steady_clock.h"
#include "platform/zix_port_factory.h"

namespace vyn::cli {

void TerminalProgress::Record(const TraceEvent& event) {
  if (next_) next_->Record(event);
  if (event.direction != TraceDirection::kSent) return;
  const int end = TracedBlockEnd(event.bytes);
  if (end < 0 || end > static_cast<int>(kImageSize) || end == shown_) return;
  constexpr int kWidth = 32;
  const int filled = end * kWidth / static_cast<int>(kImageSize);
  err_ << "\rvynctl " << command_ << ": [" << std::string(static_cast<std::size_t>(filled), '#')
       << std::string(static_cast<std::size_t>(kWidth - filled), '.') << "] " << end << "/"
       << kImageSize << std::flush;
  shown_ = end;
}

void TerminalProgress::Clear() {
  if (shown_ < 0) return;
  // Back to the start of the line and erase it.
  err_ << "\r\x1b[K" << std::flush;
  shown_ = -1;
}

MessageButton StderrPrompter::ShowMessage(MessageKind, const std::string& text,
                                          MessageButtons buttons) {
  if (progress_) progress_->Clear();
  // A failure shown in the status line just before is not repeated.
  if (text != last_status_) err_ << "vynctl " << command_ << ": " << text << "\n";
  last_status_.clear();
  switch (buttons) {
    case MessageButtons::kOk:
      return MessageButton::kOk;
    case MessageButtons::kOkCancel:
      err_ << "vynctl " << command_ << ": "
           << (ok_cancel_answer == MessageButton::kOk ? "OK" : "Cancel") << "\n";
      return ok_cancel_answer;
    case MessageButtons::kYesNo:
    case MessageButtons::kYesNoCancel:
      return MessageButton::kNo;
  }
  return MessageButton::kOk;
}

void StderrPrompter::SetStatus(const std::string& text) {
  if (!verbose_ || text == last_status_) return;
  if (progress_) progress_->Clear();
  last_status_ = text;
  err_ << "vynctl " << command_ << ": " << text << "\n";
}

std::unique_ptr<DeviceLink> DeviceLink::Make(const CommandContext& context, std::ostream& err) {
  std::unique_ptr<DeviceLink> device(new DeviceLink);
  const CommonOptions& options = context.options;
  if (options.trace) {
    device->trace_ = FileTraceSink::Open(*options.trace);
    if (!device->trace_) {
      err << "vynctl " << context.command << ": " << *options.trace
          << ": cannot be opened for the trace\n";
      return nullptr;
    }
  } else {
    device->trace_ = OpenTraceFromEnvironment();
  }
  device->port_ = options.port ? MakeZixPort(*options.port) : MakeZixPortFromEnvironment();
  device->clock_ = std::make_unique<SteadyClock>();
  device->link_ = std::make_unique<ZixLink>(*device->port_, *device->clock_);
  // Long device commands are not silent on a terminal.
  const bool terminal = isatty(STDERR_FILENO) == 1;
  device->shows_status_ = !options.quiet && (options.verbose || terminal);
  if (!options.quiet && terminal) {
    device->progress_ =
        std::make_unique<TerminalProgress>(context.command, err, device->trace_.get());
    device->link_->SetTrace(device->progress_.get());
  } else {
    device->link_->SetTrace(device->trace_.get());
  }
  return device;
}

DeviceLink::~DeviceLink() {
  if (link_) link_->Close();
}

}  // namespace vyn::cli
