// The device commands: the Zix firmware version, reading the image from the unit and writing an
// image file to the unit, through the same flows as the editor's read and write.

#include <filesystem>
#include <memory>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/device_session.h"
#include "cli/image_source.h"
#include "core/access/password_store.h"
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

std::optional<ParsedArgs> ParseDeviceArgs(const std::string& command, const Args& args,
                                          std::set<std::string> value_options,
                                          std::set<std::string> flags, std::size_t positional,
                                          const char* usage, std::ostream& err) {
  value_options.insert({kPortOption, kTraceOption});
  flags.insert("--verbose");
  std::string error;
  std::optional<ParsedArgs> parsed = ParseArgs(args, value_options, flags, error);
  if (!parsed || parsed->positional.size() != positional) {
    if (!error.empty()) err << "vynctl " << command << ": " << error << "\n";
    err << "usage: " << usage << "\n";
    return std::nullopt;
  }
  return parsed;
}

int ExitFor(DeviceFlowResult result) {
  return result == DeviceFlowResult::kDone ? kExitOk : kExitFailure;
}

}  // namespace

int RunZixVersion(const Args& args, std::ostream& out, std::ostream& err) {
  const std::optional<ParsedArgs> parsed = ParseDeviceArgs(
      "zix-version", args, {}, {}, 0, "vynctl zix-version [--port P] [--trace FILE]", err);
  if (!parsed) return kExitUsage;
  std::unique_ptr<DeviceLink> device = DeviceLink::Make("zix-version", *parsed, err);
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
    err << "vynctl zix-version: the Zix did not answer the version request\n";
    return kExitFailure;
  }
  out << version << "\n";
  return kExitOk;
}

int RunRead(const Args& args, std::ostream&, std::ostream& err) {
  const char* usage =
      "vynctl read -o OUT [--port P] [--trace FILE] [--values VALUES_FILE] [--verbose]";
  const std::optional<ParsedArgs> parsed =
      ParseDeviceArgs("read", args, {"-o", "--values"}, {}, 0, usage, err);
  if (!parsed) return kExitUsage;
  if (!parsed->Has("-o")) {
    err << "usage: " << usage << "\n";
    return kExitUsage;
  }
  std::unique_ptr<DeviceLink> device = DeviceLink::Make("read", *parsed, err);
  if (!device) return kExitFailure;

  // The load validation checks list values against the settings file; without one only the
  // checks that need no list are made.
  const VynIni ini(parsed->Option("--values", DeliveredValuesFile()));
  ListTables lists(ini);
  ListMembership in_list = lists.Membership();
  if (!ini.Exists()) {
    err << "vynctl read: settings file " << ini.FileName()
        << " not found; list values are not checked\n";
    in_list = [](const FieldInfo&, std::uint8_t) { return true; };
  }

  VynData data;
  Session session;
  StderrPrompter prompter("read", err, parsed->Has("--verbose"));
  NoEventPump pump;
  const DeviceFlowContext context{data, session,         device->link(),        prompter,
                                  pump, device->clock(), StringTable::Builtin()};
  const DeviceFlowResult result = CommRead(context, MakeImageEditorHooks(data, in_list));
  if (result != DeviceFlowResult::kDone) return ExitFor(result);
  const std::string out_path = parsed->Option("-o");
  if (WriteImageFile(data.WorkingImage, out_path) != ImageWriteResult::kOk) {
    err << "vynctl read: " << out_path << ": cannot be written\n";
    return kExitFailure;
  }
  return kExitOk;
}

int RunWrite(const Args& args, std::ostream&, std::ostream& err) {
  const char* usage =
      "vynctl write FILE [--port P] [--trace FILE] [--password TEXT] "
      "[--confirm-password-change] [--data-dir DIR] [--sip-dir DIR] [--values VALUES_FILE] "
      "[--verbose]";
  const std::optional<ParsedArgs> parsed =
      ParseDeviceArgs("write", args, {"--password", "--data-dir", "--sip-dir", "--values"},
                      {"--confirm-password-change"}, 1, usage, err);
  if (!parsed) return kExitUsage;

  const std::filesystem::path data_dir = parsed->Has("--data-dir")
                                             ? std::filesystem::path(parsed->Option("--data-dir"))
                                             : ProgramDataFolder();
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

  std::unique_ptr<DeviceLink> device = DeviceLink::Make("write", *parsed, err);
  if (!device) return kExitFailure;
  StderrPrompter prompter("write", err, parsed->Has("--verbose"));
  if (parsed->Has("--confirm-password-change")) prompter.ok_cancel_answer = MessageButton::kOk;

  // The image goes through the editor as opening the file in the window would take it: loaded
  // into the editor's controls and stored back from them, so both send the same bytes.
  const std::filesystem::path data_values = data_dir / "Values.ini";
  const VynIni ini(parsed->Option("--values", std::filesystem::exists(data_values)
                                                  ? data_values.string()
                                                  : DeliveredValuesFile()));
  HeadlessEditor editor(StringTable::Builtin(), ini, prompter, session.AccessLevel);
  editor.Load(data);
  NoEventPump pump;
  const DeviceFlowContext context{data, session,         device->link(),        prompter,
                                  pump, device->clock(), StringTable::Builtin()};
  // The SIP number lists lie in the program data folder unless --sip-dir names another.
  const std::filesystem::path sip_dir =
      parsed->Has("--sip-dir") ? std::filesystem::path(parsed->Option("--sip-dir")) : data_dir;
  return ExitFor(CommWrite(context, editor.Hooks(data), sip_dir));
}

}  // namespace vyn::cli
