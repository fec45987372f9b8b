// The device commands: the Zix firmware version, reading the image from the unit and writing an
// image file to the unit, through the same flows as the editor's read and write.

#include <charconv>
#include <filesystem>
#include <memory>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/device_session.h"
#include "cli/image_source.h"
#include "core/access/password_store.h"
#include "core/app/startup.h"
#include "core/backup/unit_backups.h"
#include "core/files/file_checks.h"
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
  const std::string out_path = parsed->Option("-o");
  // A whole read of the unit must not end in an output that cannot be written.
  if (const std::string problem = WritableFileProblem(out_path); !problem.empty()) {
    err << "vynctl read: " << out_path << ": cannot be written (" << problem << ")\n";
    return kExitFailure;
  }
  const std::optional<std::filesystem::path> data_folder = PreparedDataFolder(context, err);
  if (!data_folder) return kExitFailure;
  std::string values_file = parsed->Option("--values");
  if (values_file.empty()) values_file = (*data_folder / kSettingsFileName).string();
  std::unique_ptr<DeviceLink> device = DeviceLink::Make(context, err);
  if (!device) return kExitFailure;

  // The load validation checks list values against the settings file; without one only the
  // checks that need no list are made.
  const VynIni ini(values_file);
  ListTables lists(ini);
  ListMembership in_list = lists.Membership();
  if (const std::string problem = ini.Problem(); !problem.empty()) {
    err << "vynctl read: settings file " << ini.FileName() << ": " << problem
        << "; list values are not checked\n";
    in_list = [](const FieldInfo&, std::uint8_t) { return true; };
  }

  VynData data;
  Session session;
  session.BackupFolder = (*data_folder / kBackupFolderName).string();
  StderrPrompter prompter("read", err, device->shows_status(), device->progress());
  NoEventPump pump;
  const DeviceFlowContext flow{data, session,         device->link(),        prompter,
                               pump, device->clock(), StringTable::Builtin()};
  const DeviceFlowResult result = CommRead(flow, MakeImageEditorHooks(data, in_list));
  if (result != DeviceFlowResult::kDone) return ExitFor(result);
  if (SaveImage("read", out_path, data.WorkingImage, err)) return kExitOk;
  // The unit's image is not lost: it is in the backup made after the read.
  if (!session.LastBackup.empty()) {
    err << "vynctl read: the image read from the unit is saved in " << session.LastBackup << "\n";
  }
  return kExitFailure;
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
  session.BackupFolder = (data_dir / kBackupFolderName).string();
  if (parsed->Has("--password")) {
    const PasswordStore store(data_dir / kPasswordStoreFileName);
    session.AccessLevel = store.LevelFor(parsed->Option("--password"));
    if (session.AccessLevel == 0) {
      // A store that cannot be read is not a wrong password.
      const std::string problem = store.Problem();
      if (!problem.empty()) {
        err << "vynctl write: password store " << store.file().string() << " cannot be read ("
            << problem << ")\n";
      } else {
        err << "vynctl write: " << StringTable::Builtin().Text(msg::kWrongPassword) << "\n";
      }
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
  StderrPrompter prompter("write", err, device->shows_status(), device->progress());
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

namespace vyn::cli {

int RunBackups(const CommandContext& context, const Args& args, std::ostream& out,
               std::ostream& err) {
  const std::optional<ParsedArgs> parsed = ParseDeviceArgs(context, args, {"--serial"}, {}, 0, err);
  if (!parsed) return kExitUsage;
  std::optional<std::uint32_t> serial;
  if (parsed->Has("--serial")) {
    const std::string text = parsed->Option("--serial");
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value > 0xFFFFFF) {
      return UsageError(context, err, "--serial takes the unit's serial number (0-16777215)");
    }
    serial = value;
  }
  const std::optional<std::filesystem::path> data_folder = PreparedDataFolder(context, err);
  if (!data_folder) return kExitFailure;
  for (const BackupEntry& entry :
       ListBackups((*data_folder / kBackupFolderName).string(), serial)) {
    out << entry.when << "  " << entry.serial << "  "
        << (entry.kind == BackupKind::kRead ? "read   " : "written") << "  " << entry.path << "\n";
  }
  return kExitOk;
}

}  // namespace vyn::cli
