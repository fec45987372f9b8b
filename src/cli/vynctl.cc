#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace {

struct Command {
  const char* name;
  const char* synopsis;
  int (*run)(const vyn::cli::Args&, std::ostream&, std::ostream&);
};

const Command kCommands[] = {
    {"show", "show FILE [--json]        every named field with address and value",
     vyn::cli::RunShow},
    {"convert", "convert IN -o OUT         write a 2048- or 512-byte file in the full layout",
     vyn::cli::RunConvert},
    {"diff", "diff A B                  the named fields and bytes that differ", vyn::cli::RunDiff},
    {"strings", "strings [ID...]           texts of the string table", vyn::cli::RunStrings},
    {"textlist", "textlist FILE [-o OUT]    the text list of every parameter (FILE.txt)",
     vyn::cli::RunTextList},
};

void PrintUsage(std::ostream& out) {
  out << "vynctl - command-line companion of the VYN IP/GSM programmer\n\n"
         "usage: vynctl COMMAND [ARGS]\n\ncommands:\n";
  for (const Command& c : kCommands) out << "  vynctl " << c.synopsis << "\n";
  out << "\nexit codes: 0 success, 1 failure, 2 usage error, 3 diff found differences,\n"
         "            4 show found a list value outside its list\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(std::cerr);
    return vyn::cli::kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(std::cout);
    return vyn::cli::kExitOk;
  }
  vyn::cli::Args args(argv + 2, argv + argc);
  for (const Command& c : kCommands) {
    if (name == c.name) return c.run(args, std::cout, std::cerr);
  }
  std::cerr << "vynctl: unknown command '" << name << "'\n";
  PrintUsage(std::cerr);
  return vyn::cli::kExitUsage;
}
