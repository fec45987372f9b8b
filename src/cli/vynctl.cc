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
    {"record", "record FILE -o OUT.pdf [--id-number TEXT] [--source TEXT] [--copies N]\n"
               "                            the printed record of FILE as a PDF file (A4)",
     vyn::cli::RunRecord},
    {"zix-version", "zix-version [--port P]    the firmware version of the Zix",
     vyn::cli::RunZixVersion},
    {"read", "read -o OUT [--port P]    the image read from the unit, into a file",
     vyn::cli::RunRead},
    {"write", "write FILE [--port P] [--password TEXT] [--confirm-password-change]\n"
              "                            write a file to the unit and verify it",
     vyn::cli::RunWrite},
};

void PrintUsage(std::ostream& out) {
  out << "vynctl - command-line companion of the VYN IP/GSM programmer\n\n"
         "usage: vynctl COMMAND [ARGS]\n\ncommands:\n";
  for (const Command& c : kCommands) out << "  vynctl " << c.synopsis << "\n";
  out << "\nexit codes: 0 success, 1 failure, 2 usage error, 3 diff found differences,\n"
         "            4 show found a list value outside its list\n"
         "\ndevice commands: --port ftdi|tty|PATH (default $VYN_ZIX_PORT, else ftdi),\n"
         "  --trace FILE (default $VYN_ZIX_TRACE), --verbose shows the status line;\n"
         "  write: --data-dir DIR holds VynLng.tbl for --password, --sip-dir DIR the SIP\n"
         "  number lists (both default to the program data folder)\n";
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
