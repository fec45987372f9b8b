#include "cli/common_options.h"

#include <cstdlib>

#include "cli/commands.h"
#include "core/app/startup.h"
#include "core/strings/string_table.h"
#include "platform/xdg_folders.h"

namespace vyn::cli {

bool SplitCommonOptions(const std::vector<std::string>& words, CommonOptions& options,
                        std::vector<std::string>& rest, std::string& error) {
  const struct {
    const char* name;
    std::optional<std::string> CommonOptions::*value;
  } kValueOptions[] = {{kDataDirOption, &CommonOptions::data_dir},
                       {kPortOption, &CommonOptions::port},
                       {kTraceOption, &CommonOptions::trace}};
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == kVerboseOption) {
      options.verbose = true;
      continue;
    }
    if (word == kQuietOption) {
      options.quiet = true;
      continue;
    }
    if (word == "--help" || word == "-h") {
      options.help = true;
      continue;
    }
    bool taken = false;
    for (const auto& option : kValueOptions) {
      if (word != option.name) continue;
      if (i + 1 >= words.size()) {
        error = "option " + word + " needs a value";
        return false;
      }
      std::optional<std::string>& value = options.*option.value;
      if (value) {
        error = "option " + word + " is given twice";
        return false;
      }
      value = words[++i];
      taken = true;
      break;
    }
    if (!taken) rest.push_back(word);
  }
  return true;
}

int UsageError(const CommandContext& context, std::ostream& err, const std::string& error) {
  if (!error.empty()) err << "vynctl " << context.command << ": " << error << "\n";
  err << "usage: vynctl " << context.usage << "\n";
  return kExitUsage;
}

std::optional<std::filesystem::path> PreparedDataFolder(const CommandContext& context,
                                                        std::ostream& err) {
  std::string folder;
  if (context.options.data_dir) {
    folder = *context.options.data_dir;
  } else {
    folder = UserProgramDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"),
                                   StringTable::Builtin());
  }
  if (folder.empty()) {
    err << "vynctl " << context.command
        << ": no data folder: HOME and XDG_DATA_HOME are not set; name one with --data-dir\n";
    return std::nullopt;
  }
  const DataFolderPreparation prepared = PrepareProgramDataFolder(
      folder, InstallationFolder(ExecutableFolder()), ProgramFileVersion());
  if (!prepared.ready) {
    err << "vynctl " << context.command << ": data folder " << prepared.problem << "\n";
    return std::nullopt;
  }
  if (context.options.verbose)
    err << "vynctl " << context.command << ": data folder " << folder << "\n";
  return std::filesystem::path(folder);
}

void PrintCommonOptionsHelp(std::ostream& out) {
  out << "common options (before or after the command):\n"
         "  --data-dir DIR    the program data folder with Values.ini, Default.bin and\n"
         "                    VynLng.tbl; default the programmer's own (below $XDG_DATA_HOME,\n"
         "                    else ~/.local/share). A missing folder is created and filled as\n"
         "                    the programmer's start-up does.\n"
         "  --port ftdi|PATH  the Zix: its FTDI adapter or a serial device (default\n"
         "                    $VYN_ZIX_PORT, else ftdi)\n"
         "  --trace FILE      record every exchange with the Zix (default $VYN_ZIX_TRACE)\n"
         "  --verbose         status texts of the device commands and the data folder used\n"
         "  --quiet           no status texts or progress bar (on a terminal the device\n"
         "                    commands show both on stderr by default)\n"
         "  --help            this text; after a command, that command's options\n"
         "Every command accepts these; --port and --trace are used by the commands that talk\n"
         "to the unit (zix-version, read, write).\n";
}

}  // namespace vyn::cli
