#pragma once

// The options every vynctl command takes, before or after the command's name: the program data
// folder, the Zix port and trace, --verbose and --help. They are taken out of the command line
// in one place; each command then parses only its own words.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vyn::cli {

inline const char kDataDirOption[] = "--data-dir";
inline const char kPortOption[] = "--port";
inline const char kTraceOption[] = "--trace";
inline const char kVerboseOption[] = "--verbose";
inline const char kQuietOption[] = "--quiet";

struct CommonOptions {
  std::optional<std::string> data_dir;
  std::optional<std::string> port;   // used by the device commands only
  std::optional<std::string> trace;  // used by the device commands only
  bool verbose = false;
  bool quiet = false;  // no status texts and no progress bar, even on a terminal
  bool help = false;
};

// Takes the common options out of `words` (the command line after the program name) and leaves
// the command's name and own words, in their order, in `rest`. False with `error` set when a
// value option has no value or one is given twice.
bool SplitCommonOptions(const std::vector<std::string>& words, CommonOptions& options,
                        std::vector<std::string>& rest, std::string& error);

// The common options' part of the help texts.
void PrintCommonOptionsHelp(std::ostream& out);

// What a command runs with: its name and synopsis and the common options.
struct CommandContext {
  std::string command;
  std::string usage;  // the command's synopsis, after "vynctl "
  CommonOptions options;
};

// The program data folder of --data-dir, else the programmer's own, prepared as the programmer's
// start-up prepares it. A command calls it once it knows it will read the folder (not for a
// usage error). Nullopt, after a message on `err`, when there is no folder or it cannot be
// made ready.
std::optional<std::filesystem::path> PreparedDataFolder(const CommandContext& context,
                                                        std::ostream& err);

// Writes "vynctl COMMAND: ERROR" (when there is one) and the command's usage to `err`; returns
// the usage exit code.
int UsageError(const CommandContext& context, std::ostream& err, const std::string& error = {});

}  // namespace vyn::cli
