#include "core/link/device_flows.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "core/backup/unit_backups.h"
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

// Closes the link and restores the cursor on every way out of a flow, once.
class FlowScope {
 public:
  explicit FlowScope(const DeviceFlowContext& context) : context_(context) {
    context_.prompter.SetBusy(true);
  }
  ~FlowScope() { End(); }
  FlowScope(const FlowScope&) = delete;
  FlowScope& operator=(const FlowScope&) = delete;

  // Ends the flow's hold on the link and the cursor now, where a message must come after both.
  void End() {
    if (ended_) return;
    ended_ = true;
    context_.link.Close();
    context_.prompter.SetBusy(false);
  }

 private:
  const DeviceFlowContext& context_;
  bool ended_ = false;
};

// The memory mode selection with its message: nullopt after the link was closed, the cursor
// restored and 15570 shown.
std::optional<int> SelectMemoryModeOrReport(const DeviceFlowContext& context, FlowScope& scope) {
  const std::optional<int> size = SelectMemoryMode(context.link);
  if (!size) {
    scope.End();
    Report(context, msg::kUnsupportedMemoryKind, MessageKind::kInformation);
  }
  return size;
}

bool OpenOrReport(const DeviceFlowContext& context) {
  if (context.link.Open() == OpenResult::kOpened) return true;
  Report(context, msg::kZixNotFound, MessageKind::kError);
  return false;
}

// The flows' readiness wait: the result of `operation` in the ready cycle, or kUnitNotReady.
DeviceFlowResult WhenReady(const DeviceFlowContext& context, int cycle_limit,
                           const std::function<DeviceFlowResult()>& operation) {
  std::optional<DeviceFlowResult> result;
  WaitUntilReady(context, cycle_limit, [&] { result = operation(); });
  return result.value_or(DeviceFlowResult::kUnitNotReady);
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
      // Painted in every cycle, so a unit that is slow to get ready is seen to be waited for.
      Status(context, msg::kUnitBusyWaiting);
      context.pump.ProcessPendingEvents();
    }
    context.clock.SleepMs(kReadyPauseMs);
    if (ready) return true;
  }
  Report(context, msg::kUnitNotReady, MessageKind::kError);
  return false;
}

std::optional<int> SelectMemoryMode(ZixLink& link) {
  const UnitMemory memory = link.QueryMemory();
  if (!memory.transferable()) return std::nullopt;
  link.SetExtendedMode(memory.extended);
  return memory.size;
}

DeviceFlowResult CommRead(const DeviceFlowContext& context, const EditorHooks& hooks) {
  FlowScope scope(context);
  if (!OpenOrReport(context)) return DeviceFlowResult::kZixNotFound;
  const LinkResult version = context.link.CheckZixVersion(kVersionForDeviceRead);
  if (version == LinkResult::kNoAnswer) {
    // A Zix that does not answer at all is not there, whatever its firmware.
    context.link.Close();
    Report(context, msg::kZixNotFound, MessageKind::kError);
    return DeviceFlowResult::kZixNotFound;
  }
  if (version != LinkResult::kSuccess) {
    context.link.Close();
    context.prompter.ShowMessage(MessageKind::kInformation,
                                 context.strings.Text(msg::kZixFirmwareTooOld),
                                 MessageButtons::kOk);
    return DeviceFlowResult::kZixTooOld;
  }

  return WhenReady(context, kReadCycleLimit, [&] {
    Status(context, msg::kReadingFromUnit);
    context.pump.ProcessPendingEvents();
    const std::optional<int> size = SelectMemoryModeOrReport(context, scope);
    if (!size) return DeviceFlowResult::kUnsupportedMemory;
    VynData& data = context.data;
    if (context.link.ReadRange(data.DeviceImage, 0, *size - 1) != LinkResult::kSuccess) {
      Report(context, msg::kReadFailed, MessageKind::kError);
      return DeviceFlowResult::kReadFailed;
    }
    std::copy_n(data.DeviceImage.begin(), *size, data.WorkingImage.begin());
    std::copy_n(data.DeviceImage.begin(), *size, data.ReferenceImage.begin());
    BackupUnitImage(context.session, context.prompter, context.strings, data.WorkingImage,
                    BackupKind::kRead);
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
    return DeviceFlowResult::kDone;
  });
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
  return WhenReady(context, kWriteCycleLimit, [&] {
    const std::optional<int> size = SelectMemoryModeOrReport(context, scope);
    if (!size) return DeviceFlowResult::kUnsupportedMemory;
    Status(context, msg::kWritingToUnit);
    context.pump.ProcessPendingEvents();
    VynData& data = context.data;
    // The refresh of the protected ranges changes WorkingImage; the pages are not updated.
    if (WriteRangeWithPlan(context.link, context.session, data.WorkingImage, 0, *size - 1,
                           confirm) != LinkResult::kSuccess) {
      Report(context, msg::kWriteFailed, MessageKind::kError);
      return DeviceFlowResult::kWriteFailed;
    }
    Status(context, msg::kVerifying);
    context.pump.ProcessPendingEvents();
    if (context.link.ReadRange(data.DeviceImage, 0, *size - 1) != LinkResult::kSuccess ||
        !data.RangeMatches(0, *size - 1)) {
      Report(context, msg::kVerifyFailed, MessageKind::kError);
      return DeviceFlowResult::kVerifyFailed;
    }
    BackupUnitImage(context.session, context.prompter, context.strings, data.DeviceImage,
                    BackupKind::kWritten);
    Status(context, msg::kWriteVerified);
    context.prompter.ShowMessage(MessageKind::kInformation,
                                 context.strings.Text(msg::kProgrammingComplete),
                                 MessageButtons::kOk);
    return DeviceFlowResult::kDone;
  });
}

}  // namespace vyn
