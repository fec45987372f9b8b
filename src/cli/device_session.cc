#include "cli/device_session.h"

#include "platform/steady_clock.h"
#include "platform/zix_port_factory.h"

namespace vyn::cli {

MessageButton StderrPrompter::ShowMessage(MessageKind, const std::string& text,
                                          MessageButtons buttons) {
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
  device->link_->SetTrace(device->trace_.get());
  return device;
}

DeviceLink::~DeviceLink() {
  if (link_) link_->Close();
}

}  // namespace vyn::cli
