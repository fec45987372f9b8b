#pragma once

#include <ostream>
#include <string>
#include <vector>

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

// One function per command; `args` are the words after the command name.
int RunShow(const Args& args, std::ostream& out, std::ostream& err);
int RunConvert(const Args& args, std::ostream& out, std::ostream& err);
int RunDiff(const Args& args, std::ostream& out, std::ostream& err);
int RunStrings(const Args& args, std::ostream& out, std::ostream& err);
int RunTextList(const Args& args, std::ostream& out, std::ostream& err);
int RunRecord(const Args& args, std::ostream& out, std::ostream& err);
// Device commands through the Zix.
int RunZixVersion(const Args& args, std::ostream& out, std::ostream& err);
int RunRead(const Args& args, std::ostream& out, std::ostream& err);
int RunWrite(const Args& args, std::ostream& out, std::ostream& err);

}  // namespace vyn::cli
