// The web commands: reading the image from the unit and writing an image file to the unit
// through the configuration server, with the same exchange and editor commands as the
// programmer's "(Web)" menu items.

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/device_session.h"
#include "cli/image_source.h"
#include "core/app/startup.h"
#include "core/backup/unit_backups.h"
#include "core/editor/form/headless_editor.h"
#include "core/image/image_file.h"
#include "core/image/list_tables.h"
#include "core/link/image_editor_hooks.h"
#include "core/server/server_settings.h"
#include "core/server/socket_event_pump.h"
#include "core/server/web_commands.h"
#include "core/settings/text_encoding.h"
#include "core/strings/edition.h"
#include "core/strings/string_table.h"
#include "platform/steady_clock.h"
#include "platform/udp_socket.h"

namespace vyn::cli {
namespace {

constexpr std::size_t kMaxEntryLength = 32;  // as the dialog's boxes take them

volatile std::sig_atomic_t g_interrupted = 0;
void OnInterrupt(int) { g_interrupted = 1; }

// Ctrl+C cancels the exchange as the Cancel button does, so the server hears of it.
class InterruptAsCancel {
 public:
  InterruptAsCancel() {
    g_interrupted = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigaction(SIGINT, &action, &previous_int_);
    sigaction(SIGTERM, &action, &previous_term_);
  }
  ~InterruptAsCancel() {
    sigaction(SIGINT, &previous_int_, nullptr);
    sigaction(SIGTERM, &previous_term_, nullptr);
  }
  InterruptAsCancel(const InterruptAsCancel&) = delete;
  InterruptAsCancel& operator=(const InterruptAsCancel&) = delete;

 private:
  struct sigaction previous_int_ {};
  struct sigaction previous_term_ {};
};

// What both commands take from their command line and the data folder.
struct WebSetup {
  ExchangeEntries entries;
  ServerAddress server;
  std::uint16_t local_port = kExchangeLocalPort;
  std::filesystem::path data_folder;
};

bool ParseSetup(const ParsedArgs& parsed, WebSetup& setup, std::string& error) {
  const std::string serial = parsed.Option("--serial");
  if (serial.empty() || serial.size() > 10 ||
      serial.find_first_not_of("0123456789") != std::string::npos) {
    error = "--serial takes the unit's serial number (decimal digits)";
    return false;
  }
  const std::string password = parsed.Option("--password");
  if (!parsed.Has("--password") || password.size() > kMaxEntryLength) {
    error = "--password takes the server password (at most 32 characters)";
    return false;
  }
  setup.entries.serial = serial;
  setup.entries.password = Utf8ToWindows1252(password);
  setup.entries.country = DefaultCountryEntry(EditionName(StringTable::Builtin()));
  if (parsed.Has("--country")) {
    const std::string country = parsed.Option("--country");
    if (country.size() != 1 || country[0] < '0' || country[0] > '5') {
      error = "--country takes 0 to 5";
      return false;
    }
    setup.entries.country = country[0] - '0';
  }
  if (parsed.Has("--local-port")) {
    const std::optional<ServerAddress> port =
        ParseServerAddress("x:" + parsed.Option("--local-port"));
    if (!port) {
      error = "--local-port takes 1 to 65535";
      return false;
    }
    setup.local_port = port->port;
  }
  return true;
}

// The server of --server, else $VYN_SERVER, else the settings file's.
bool ResolveServer(const ParsedArgs& parsed, const VynIni& settings, WebSetup& setup,
                   std::string& error) {
  std::string override_text = parsed.Option("--server");
  if (override_text.empty()) {
    const char* environment = std::getenv(kServerEnvironmentVariable);
    if (environment != nullptr) override_text = environment;
  }
  const std::optional<ServerAddress> server = ConfiguredServer(settings, override_text);
  if (!server) {
    error = "'" +
            (override_text.empty() ? settings.ReadText(kServerSection, kServerHostKey)
                                   : override_text) +
            "' is not HOST or HOST:PORT";
    return false;
  }
  setup.server = *server;
  return true;
}

// The end of an exchange that no box reported.
void ReportEnd(const CommandContext& context, ExchangeEnd end, std::ostream& err) {
  const char* text = nullptr;
  switch (end) {
    case ExchangeEnd::kCancelled:
      text = "the exchange was cancelled";
      break;
    case ExchangeEnd::kNoAnswer:
      text = "no answer from the server within 300 s";
      break;
    case ExchangeEnd::kInterrupted:
      text = "the server's replies ended the exchange";
      break;
    default:
      return;
  }
  err << "vynctl " << context.command << ": " << text << "\n";
}

// Runs `command` with an exchange on the bound endpoint; the exit code.
int RunWithExchange(
    const CommandContext& context, const WebSetup& setup, VynData& data,
    const std::function<WebCommandResult(const WebCommandContext&, const ExchangeDialog&)>& command,
    std::ostream& err) {
  UdpSocket socket;
  if (!socket.Bind(setup.local_port)) {
    err << "vynctl " << context.command << ": local UDP port " << setup.local_port
        << " is in use or cannot be opened\n";
    return kExitFailure;
  }
  Session session;
  SeedMessageCounter(session);
  // An image read through the server is backed up like one read through the Zix.
  if (!setup.data_folder.empty()) {
    session.BackupFolder = (setup.data_folder / kBackupFolderName).string();
  }
  SteadyClock clock;
  ServerExchange exchange(socket, clock, StringTable::Builtin(), session.MessageCounterStart);
  // The status texts are the exchange's progress: always shown.
  StderrPrompter prompter(context.command, err, true);
  InterruptAsCancel interrupt;
  SocketEventPump pump(exchange, [] { return g_interrupted != 0; });
  ExchangeEnd end = ExchangeEnd::kCancelled;
  const WebCommandContext web{data, exchange, prompter, StringTable::Builtin(), &session};
  const WebCommandResult result = command(web, [&] {
    end = exchange.Run(setup.entries, setup.server, prompter, pump);
    return end == ExchangeEnd::kSucceeded;
  });
  if (result == WebCommandResult::kCancelled) ReportEnd(context, end, err);
  return result == WebCommandResult::kDone ? kExitOk : kExitFailure;
}

std::optional<ParsedArgs> ParseWebArgs(const CommandContext& context, const Args& args,
                                       std::set<std::string> value_options, std::size_t positional,
                                       WebSetup& setup, std::ostream& err) {
  value_options.insert({"--serial", "--password", "--country", "--server", "--local-port"});
  std::string error;
  std::optional<ParsedArgs> parsed = ParseArgs(args, value_options, {}, error);
  if (!parsed || parsed->positional.size() != positional || !ParseSetup(*parsed, setup, error)) {
    UsageError(context, err, error);
    return std::nullopt;
  }
  return parsed;
}

}  // namespace

int RunWebRead(const CommandContext& context, const Args& args, std::ostream&, std::ostream& err) {
  WebSetup setup;
  const std::optional<ParsedArgs> parsed =
      ParseWebArgs(context, args, {"-o", "--values"}, 0, setup, err);
  if (!parsed) return kExitUsage;
  if (!parsed->Has("-o")) return UsageError(context, err, "-o OUT is missing");
  const std::optional<std::filesystem::path> data_folder = PreparedDataFolder(context, err);
  if (!data_folder) return kExitFailure;
  setup.data_folder = *data_folder;
  const VynIni settings((*data_folder / kSettingsFileName).string());
  std::string error;
  if (!ResolveServer(*parsed, settings, setup, error)) return UsageError(context, err, error);

  // The load validation checks list values against the settings file.
  const VynIni values(parsed->Has("--values") ? parsed->Option("--values") : settings.FileName());
  ListTables lists(values);
  ListMembership in_list = lists.Membership();
  if (!values.Exists()) {
    err << "vynctl " << context.command << ": settings file " << values.FileName()
        << " not found; list values are not checked\n";
    in_list = [](const FieldInfo&, std::uint8_t) { return true; };
  }
  VynData data;
  const int exit = RunWithExchange(
      context, setup, data,
      [&](const WebCommandContext& web, const ExchangeDialog& dialog) {
        return CommReadWeb(web, MakeImageEditorHooks(data, in_list), dialog);
      },
      err);
  if (exit != kExitOk) return exit;
  // Only a whole image, every window with its check byte, replaces the file, in one step.
  const std::string out_path = parsed->Option("-o");
  if (WriteImageFile(data.WorkingImage, out_path) != ImageWriteResult::kOk) {
    err << "vynctl " << context.command << ": " << out_path << ": cannot be written\n";
    return kExitFailure;
  }
  return kExitOk;
}

int RunWebWrite(const CommandContext& context, const Args& args, std::ostream&, std::ostream& err) {
  WebSetup setup;
  const std::optional<ParsedArgs> parsed =
      ParseWebArgs(context, args, {"--sip-dir"}, 1, setup, err);
  if (!parsed) return kExitUsage;
  const std::optional<std::filesystem::path> data_folder = PreparedDataFolder(context, err);
  if (!data_folder) return kExitFailure;
  const VynIni settings((*data_folder / kSettingsFileName).string());
  std::string error;
  if (!ResolveServer(*parsed, settings, setup, error)) return UsageError(context, err, error);

  VynData data;
  if (!LoadImage(context.command, parsed->positional[0], data.WorkingImage, data.ShortLayout,
                 err)) {
    return kExitFailure;
  }
  data.FileName = parsed->positional[0];
  data.Origin = ImageOrigin::OpenedFile;
  // The image goes through the editor as opening the file in the window would take it, so the
  // server gets the bytes the window would send.
  StderrPrompter editor_prompter(context.command, err, context.options.verbose);
  HeadlessEditor editor(StringTable::Builtin(), settings, editor_prompter, 0);
  editor.Load(data);
  // The SIP number lists lie in the program data folder unless --sip-dir names another.
  const std::filesystem::path sip_dir =
      parsed->Has("--sip-dir") ? std::filesystem::path(parsed->Option("--sip-dir")) : *data_folder;
  return RunWithExchange(
      context, setup, data,
      [&](const WebCommandContext& web, const ExchangeDialog& dialog) {
        return CommWriteWeb(web, editor.Hooks(data), sip_dir, dialog);
      },
      err);
}

}  // namespace vyn::cli
