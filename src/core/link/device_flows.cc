#include "core/link/device_flows.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "core/link/write_plan.h"
#include "core/strings/message_ids.h"

namespace vyn {
namespace {

// Status line and a box with the same message, as most failures are reported.
void Report(const DeviceFlowContext& context, int message, MessageKind kind) {
  const std::string text = context.strings.Text(message);
  context.prompter.SetStatus(text);
  context.prompter.ShowMessage(kind, text, MessageButtons::kOk);
}

void Status(const DeviceFlowContext& context, int message) {
  context.prompter.SetStatus(context.strings.Text(message));
}

// Closes the link and restores the cursor on every way out of a flow.
class FlowScope {
 public:
  explicit FlowScope(const DeviceFlowContext& context) : context_(context) {
    context_.prompter.SetBusy(true);
  }
  ~FlowScope() {
    context_.link.Close();
    context_.prompter.SetBusy(false);
  }
  FlowScope(const FlowScope&) = delete;
  FlowScope& operator=(const FlowScope&) = delete;

 private:
  const DeviceFlowContext& context_;
};

// The memory mode selection with its message: nullopt after 15570 was shown and the link closed.
std::optional<int> SelectMemoryModeOrReport(const DeviceFlowContext& context) {
  const std::optional<int> size = SelectMemoryMode(context.link);
  if (!size) {
    context.link.Close();
    context.prompter.SetBusy(false);
    Report(context, msg::kUnsupportedMemoryKind, MessageKind::kInformation);
  }
  return size;
}

bool OpenOrReport(const DeviceFlowContext& context) {
  if (context.link.Open() == OpenResult::kOpened) return true;
  Report(context, msg::kZixNotFound, MessageKind::kError);
  return false;
}

}  // namespace

bool WaitUntilReady(const DeviceFlowContext& context, int cycle_limit,
                    const std::function<void()>& operation) {
  int acknowledged = 0;
  for (int cycle = 0; cycle < cycle_limit; ++cycle) {
    if (context.link.CheckReady() == LinkResult::kSuccess) ++acknowledged;
    const bool ready = acknowledged == kReadyAcknowledgements;
    if (ready) {
      operation();
    } else {
      Status(context, msg::kUnitBusyWaiting);
    }
    context.clock.SleepMs(kReadyPauseMs);
    if (ready) return true;
  }
  Report(context, msg::kUnitNotReady, MessageKind::kError);
  return false;
}

std::optional<int> SelectMemoryMode(ZixLink& link) {
  const int size = link.MemorySize();
  if (size == kExtendedMemory) {
    link.SetExtendedMode(true);
    return static_cast<int>(kImageSize);
  }
  if (size == static_cast<int>(kShortImageSize) || size == static_cast<int>(kImageSize)) {
    link.SetExtendedMode(false);
    return size;
  }
  return std::nullopt;
}

DeviceFlowResult CommRead(const DeviceFlowContext& context, const EditorHooks& hooks) {
  FlowScope scope(context);
  if (!OpenOrReport(context)) return DeviceFlowResult::kZixNotFound;
  if (context.link.CheckZixVersion(kVersionForDeviceRead) != LinkResult::kSuccess) {
    context.link.Close();
    context.prompter.ShowMessage(MessageKind::kInformation,
                                 context.strings.Text(msg::kZixFirmwareTooOld),
                                 MessageButtons::kOk);
    return DeviceFlowResult::kZixTooOld;
  }

  DeviceFlowResult result = DeviceFlowResult::kUnitNotReady;
  WaitUntilReady(context, kReadCycleLimit, [&] {
    Status(context, msg::kReadingFromUnit);
    context.pump.ProcessPendingEvents();
    const std::optional<int> size = SelectMemoryModeOrReport(context);
    if (!size) {
      result = DeviceFlowResult::kUnsupportedMemory;
      return;
    }
    VynData& data = context.data;
    if (context.link.ReadRange(data.DeviceImage, 0, *size - 1) != LinkResult::kSuccess) {
      Report(context, msg::kReadFailed, MessageKind::kError);
      result = DeviceFlowResult::kReadFailed;
      return;
    }
    std::copy_n(data.DeviceImage.begin(), *size, data.WorkingImage.begin());
    std::copy_n(data.DeviceImage.begin(), *size, data.ReferenceImage.begin());
    // The pages decode the image as the full layout, whatever file was open before.
    data.ShortLayout = false;
    const int invalid = hooks.LoadControls ? hooks.LoadControls() : kLoadOk;
    if (invalid != kLoadOk) {
      context.prompter.ShowMessage(
          MessageKind::kError,
          Format(context.strings.Text(msg::kLoadError),
                 {std::to_string(data.WorkingImage[static_cast<std::size_t>(invalid)]),
                  std::to_string(invalid)}),
          MessageButtons::kOk);
    }
    Status(context, msg::kReadComplete);
    if (context.session.ShowReadComplete) {
      context.prompter.ShowMessage(MessageKind::kInformation,
                                   context.strings.Text(msg::kReadComplete), MessageButtons::kOk);
    }
    data.MarkReadFromUnit();
    if (hooks.UpdateCaption) hooks.UpdateCaption();
    result = DeviceFlowResult::kDone;
  });
  return result;
}

void PromoteSipNumberList(const std::filesystem::path& folder) {
  std::error_code error;
  const std::filesystem::path successor = folder / kSipNumbersNewFile;
  if (!std::filesystem::is_regular_file(successor, error)) return;
  std::filesystem::rename(successor, folder / kSipNumbersFile, error);
}

DeviceFlowResult CommWrite(const DeviceFlowContext& context, const EditorHooks& hooks,
                           const std::filesystem::path& sip_list_folder) {
  PromoteSipNumberList(sip_list_folder);
  if (hooks.HasDuplicateTransmitters && hooks.HasDuplicateTransmitters()) {
    context.prompter.ShowMessage(MessageKind::kError,
                                 context.strings.Text(msg::kDuplicateTransmitterIds),
                                 MessageButtons::kOk);
    return DeviceFlowResult::kDuplicateTransmitters;
  }

  FlowScope scope(context);
  const StoreResult stored = hooks.StoreControls ? hooks.StoreControls() : StoreResult::kOk;
  if (stored != StoreResult::kOk) {
    if (const int message = StoreResultMessage(stored)) {
      context.prompter.ShowMessage(MessageKind::kError, context.strings.Text(message),
                                   MessageButtons::kOk);
    }
    return DeviceFlowResult::kStoreFailed;
  }
  if (!OpenOrReport(context)) return DeviceFlowResult::kZixNotFound;

  const ConfirmPasswordChange confirm = [&context] {
    return context.prompter.ShowMessage(MessageKind::kWarning, kPasswordChangeQuestion,
                                        MessageButtons::kOkCancel) == MessageButton::kOk;
  };
  DeviceFlowResult result = DeviceFlowResult::kUnitNotReady;
  WaitUntilReady(context, kWriteCycleLimit, [&] {
    const std::optional<int> size = SelectMemoryModeOrReport(context);
    if (!size) {
      result = DeviceFlowResult::kUnsupportedMemory;
      return;
    }
    Status(context, msg::kWritingToUnit);
    context.pump.ProcessPendingEvents();
    VynData& data = context.data;
    // The refresh of the protected ranges changes WorkingImage; the pages are not updated.
    if (WriteRangeWithPlan(context.link, context.session, data.WorkingImage, 0, *size - 1,
                           confirm) != LinkResult::kSuccess) {
      Report(context, msg::kWriteFailed, MessageKind::kError);
      result = DeviceFlowResult::kWriteFailed;
      return;
    }
    Status(context, msg::kVerifying);
    context.pump.ProcessPendingEvents();
    if (context.link.ReadRange(data.DeviceImage, 0, *size - 1) != LinkResult::kSuccess ||
        !data.RangeMatches(0, *size - 1)) {
      Report(context, msg::kVerifyFailed, MessageKind::kError);
      result = DeviceFlowResult::kVerifyFailed;
      return;
    }
    Status(context, msg::kWriteVerified);
    context.prompter.ShowMessage(MessageKind::kInformation,
                                 context.strings.Text(msg::kProgrammingComplete),
                                 MessageButtons::kOk);
    result = DeviceFlowResult::kDone;
  });
  return result;
}

}  // namespace vyn
