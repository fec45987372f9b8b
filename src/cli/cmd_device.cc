// The device commands: the Zix firmware version, reading the image from the unit and writing an
// image file to the unit, through the same flows as the editor's read and write.

#include <filesystem>
#include <memory>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/device_session.h"
#include "cli/image_source.h"
#include "core/access/password_store.h"
#include "core/app/startup.h"
#include "core/editor/form/headless_editor.h"
#include "core/image/image_file.h"
#include "core/image/list_tables.h"
#include "core/link/device_flows.h"
#include "core/link/image_editor_hooks.h"
#include "core/settings/vyn_ini.h"
#include "core/strings/message_ids.h"
#include "core/strings/string_table.h"

namespace vyn::cli {
namespace {

// The command's own options; nullopt after the usage message when they do not fit.
std::optional<ParsedArgs> ParseDeviceArgs(const CommandContext& context, const Args& args,
                                          const std::set<std::string>& value_options,
                                          const std::set<std::string>& flags,
                                          std::size_t positional, std::ostream& err) {
  std::string error;
  std::optional<ParsedArgs> parsed = ParseArgs(args, value_options, flags, error);
  if (!parsed || parsed->positional.size() != positional) {
    UsageError(context, err, error);
    return std::nullopt;
  }
  return parsed;
}

int ExitFor(DeviceFlowResult result) {
  return result == DeviceFlowResult::kDone ? kExitOk : kExitFailure;
}

}  // namespace

int RunZixVersion(const CommandContext& context, const Args& args, std::ostream& out,
                  std::ostream& err) {
  if (!ParseDeviceArgs(context, args, {}, {}, 0, err)) return kExitUsage;
  std::unique_ptr<DeviceLink> device = DeviceLink::Make(context, err);
  if (!device) return kExitFailure;
  ZixLink& link = device->link();
  if (link.Open() != OpenResult::kOpened) {
    link.Close();
    err << "vynctl zix-version: " << StringTable::Builtin().Text(msg::kZixNotFound) << "\n";
    return kExitFailure;
  }
  std::string version;
  const LinkResult result = link.ReadZixVersion(version);
  link.Close();
  if (result != LinkResult::kSuccess) {
    // A Zix that does not answer is reported as the read reports it: not found.
    err << "vynctl zix-version: " << StringTable::Builtin().Text(msg::kZixNotFound) << "\n";
    return kExitFailure;
  }
  out << version << "\n";
  return kExitOk;
}

int RunRead(const CommandContext& context, const Args& args, std::ostream&, std::ostream& err) {
  const std::optional<ParsedArgs> parsed =
      ParseDeviceArgs(context, args, {"-o", "--values"}, {}, 0, err);
  if (!parsed) return kExitUsage;
  if (!parsed->Has("-o")) return UsageError(context, err, "-o OUT is missing");
  std::string values_file = parsed->Option("--values");
  if (values_file.empty()) {
    const std::optional<std::filesystem::path> data_folder = PreparedDataFolder(context, err);
    if (!data_folder) return kExitFailure;
    values_file = (*data_folder / kSettingsFileName).string();
  }
  std::unique_ptr<DeviceLink> device = DeviceLink::Make(context, err);
  if (!device) return kExitFailure;

  // The load validation checks list values against the settings file; without one only the
  // checks that need no list are made.
  const VynIni ini(values_file);
  ListTables lists(ini);
  ListMembership in_list = lists.Membership();
  if (!ini.Exists()) {
    err << "vynctl read: settings file " << ini.FileName()
        << " not found; list values are not checked\n";
    in_list = [](const FieldInfo&, std::uint8_t) { return true; };
  }

  VynData data;
  Session session;
  StderrPrompter prompter("read", err, context.options.verbose);
  NoEventPump pump;
  const DeviceFlowContext flow{data, session,         device->link(),        prompter,
                               pump, device->clock(), StringTable::Builtin()};
  const DeviceFlowResult result = CommRead(flow, MakeImageEditorHooks(data, in_list));
  if (result != DeviceFlowResult::kDone) return ExitFor(result);
  const std::string out_path = parsed->Option("-o");
  if (WriteImageFile(data.WorkingImage, out_path) != ImageWriteResult::kOk) {
    err << "vynctl read: " << out_path << ": cannot be written\n";
    return kExitFailure;
  }
  return kExitOk;
}

int RunWrite(const CommandContext& context, const Args& args, std::ostream&, std::ostream& err) {
  const std::optional<ParsedArgs> parsed =
      ParseDeviceArgs(context, args, {"--password", "--sip-dir", "--values"},
                      {"--confirm-password-change"}, 1, err);
  if (!parsed) return kExitUsage;

  const std::optional<std::filesystem::path> data_folder = PreparedDataFolder(context, err);
  if (!data_folder) return kExitFailure;
  const std::filesystem::path& data_dir = *data_folder;
  Session session;
  if (parsed->Has("--password")) {
    const PasswordStore store(data_dir / kPasswordStoreFileName);
    session.AccessLevel = store.LevelFor(parsed->Option("--password"));
    if (session.AccessLevel == 0) {
      err << "vynctl write: " << StringTable::Builtin().Text(msg::kWrongPassword) << "\n";
      return kExitFailure;
    }
  }

  VynData data;
  if (!LoadImage("write", parsed->positional[0], data.WorkingImage, data.ShortLayout, err)) {
    return kExitFailure;
  }
  data.FileName = parsed->positional[0];
  data.Origin = ImageOrigin::OpenedFile;

  std::unique_ptr<DeviceLink> device = DeviceLink::Make(context, err);
  if (!device) return kExitFailure;
  StderrPrompter prompter("write", err, context.options.verbose);
  if (parsed->Has("--confirm-password-change")) prompter.ok_cancel_answer = MessageButton::kOk;

  // The image goes through the editor as opening the file in the window would take it: loaded
  // into the editor's controls and stored back from them, so both send the same bytes.
  const VynIni ini(parsed->Option("--values", (data_dir / kSettingsFileName).string()));
  HeadlessEditor editor(StringTable::Builtin(), ini, prompter, session.AccessLevel);
  editor.Load(data);
  NoEventPump pump;
  const DeviceFlowContext flow{data, session,         device->link(),        prompter,
                               pump, device->clock(), StringTable::Builtin()};
  // The SIP number lists lie in the program data folder unless --sip-dir names another.
  const std::filesystem::path sip_dir =
      parsed->Has("--sip-dir") ? std::filesystem::path(parsed->Option("--sip-dir")) : data_dir;
  return ExitFor(CommWrite(flow, editor.Hooks(data), sip_dir));
}

}  // namespace vyn::cli
