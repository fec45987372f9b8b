#include "core/server/web_commands.h"

#include "core/backup/unit_backups.h"
#include "core/editor/file_commands.h"
#include "core/link/device_flows.h"
#include "core/strings/message_ids.h"

namespace vyn {

WebCommandResult CommReadWeb(const WebCommandContext& context, const EditorHooks& hooks,
                             const ExchangeDialog& dialog) {
  context.exchange.SetDirection(ExchangeDirection::kRead);
  if (!dialog()) return WebCommandResult::kCancelled;
  VynData& data = context.data;
  data.WorkingImage = context.exchange.transfer_buffer();
  data.ReferenceImage = data.WorkingImage;
  if (context.session) {
    BackupUnitImage(*context.session, context.prompter, context.strings, data.WorkingImage,
                    BackupKind::kRead);
  }
  // The server carries the full layout, whatever file was open before.
  data.ShortLayout = false;
  const int invalid = hooks.LoadControls ? hooks.LoadControls() : kLoadOk;
  if (invalid != kLoadOk) ShowLoadError(context.prompter, context.strings, data, invalid);
  return WebCommandResult::kDone;
}

bool PrepareServerWrite(const std::filesystem::path& sip_list_folder, const EditorHooks& hooks,
                        Prompter& prompter, const StringTable& strings) {
  PromoteSipNumberList(sip_list_folder);
  if (!hooks.HasDuplicateTransmitters || !hooks.HasDuplicateTransmitters()) return true;
  prompter.ShowMessage(MessageKind::kError, strings.Text(msg::kDuplicateTransmitterIds),
                       MessageButtons::kOk);
  return false;
}

bool StoreControlsOrReport(const EditorHooks& hooks, Prompter& prompter,
                           const StringTable& strings) {
  const StoreResult stored = hooks.StoreControls ? hooks.StoreControls() : StoreResult::kOk;
  ShowStoreError(prompter, strings, stored);
  return stored == StoreResult::kOk;
}

WebCommandResult CommWriteWeb(const WebCommandContext& context, const EditorHooks& hooks,
                              const std::filesystem::path& sip_list_folder,
                              const ExchangeDialog& dialog) {
  if (!PrepareServerWrite(sip_list_folder, hooks, context.prompter, context.strings)) {
    return WebCommandResult::kDuplicateTransmitters;
  }
  if (!StoreControlsOrReport(hooks, context.prompter, context.strings)) {
    return WebCommandResult::kStoreFailed;
  }
  context.exchange.transfer_buffer() = context.data.WorkingImage;
  context.data.ReferenceImage = context.data.WorkingImage;
  context.exchange.SetDirection(ExchangeDirection::kWrite);
  return dialog() ? WebCommandResult::kDone : WebCommandResult::kCancelled;
}

}  // namespace vyn
