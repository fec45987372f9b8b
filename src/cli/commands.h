#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/common_options.h"

namespace vyn::cli {

// Exit codes shared by every command.
enum ExitCode : int {
  kExitOk = 0,
  kExitFailure = 1,
  kExitUsage = 2,
  kExitDifferent = 3,   // diff: the images differ
  kExitInvalidList = 4  // show: a list-valued byte is not in its list
};

using Args = std::vector<std::string>;
using CommandFunction = int(const CommandContext& context, const Args& args, std::ostream& out,
                            std::ostream& err);

// One function per command; `args` are the words after the command name without the common
// options, which come in `context`.
CommandFunction RunShow;
CommandFunction RunConvert;
CommandFunction RunDiff;
CommandFunction RunStrings;
CommandFunction RunTextList;
CommandFunction RunRecord;
// Device commands through the Zix.
CommandFunction RunZixVersion;
CommandFunction RunRead;
CommandFunction RunWrite;
// Server commands through the configuration server.
CommandFunction RunWebRead;
CommandFunction RunWebWrite;
// The backups of every image read from or verified in the unit.
CommandFunction RunBackups;

}  // namespace vyn::cli
