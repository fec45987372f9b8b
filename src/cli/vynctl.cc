#include <cctype>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/common_options.h"

namespace {

using vyn::cli::CommandContext;

struct Command {
  const char* name;
  const char* usage;    // after "vynctl "
  const char* summary;  // one line
  const char* options;  // the command's own options, one per line; may be empty
  vyn::cli::CommandFunction* run;
};

const Command kCommands[] = {
    {"show", "show FILE [--json] [--values FILE]", "every named field with address and value",
     "  --json            the fields as one JSON object\n"
     "  --values FILE     the settings file whose lists the values are checked against\n"
     "                    (default Values.ini of the data folder)\n",
     vyn::cli::RunShow},
    {"convert", "convert IN -o OUT", "write a 2048- or 512-byte file in the full layout",
     "  -o OUT            the file written\n", vyn::cli::RunConvert},
    {"diff", "diff A B", "the named fields and bytes that differ", "", vyn::cli::RunDiff},
    {"strings", "strings [ID...]", "texts of the string table", "", vyn::cli::RunStrings},
    {"textlist", "textlist FILE [-o OUT]", "the text list of every parameter (FILE.txt)",
     "  -o OUT            the list's file (default FILE.txt beside FILE)\n", vyn::cli::RunTextList},
    {"record", "record FILE -o OUT.pdf [--id-number TEXT] [--source TEXT] [--copies N]",
     "the printed record of FILE as an A4 PDF file",
     "  -o OUT.pdf        the PDF file, written whole or not at all\n"
     "  --id-number TEXT  the ID number of the header and the title (default alarm code A)\n"
     "  --source TEXT     the text under \"Dateiname\" (default FILE's name)\n"
     "  --copies N        copies, one after the other in the file (1 to 999, default 1)\n"
     "The list values and the header's layout come from Values.ini of the data folder, the\n"
     "logo from the installation; the file date is FILE's.\n",
     vyn::cli::RunRecord},
    {"zix-version", "zix-version", "the firmware version of the Zix", "", vyn::cli::RunZixVersion},
    {"read", "read -o OUT [--values FILE]", "the image read from the unit, into a file",
     "  -o OUT            the configuration file written\n"
     "  --values FILE     the settings file whose lists the values are checked against\n"
     "                    (default Values.ini of the data folder)\n",
     vyn::cli::RunRead},
    {"write",
     "write FILE [--password TEXT] [--confirm-password-change] [--sip-dir DIR] [--values FILE]",
     "write a file to the unit and verify it",
     "  --password TEXT   the access level the password grants (from VynLng.tbl of the data\n"
     "                    folder); without it the level is 0\n"
     "  --confirm-password-change\n"
     "                    answer OK when the write would change the unit's password\n"
     "  --sip-dir DIR     the folder of the SIP number lists (default the data folder)\n"
     "  --values FILE     the settings file of the editor's lists and advanced table, through\n"
     "                    which the file is loaded and stored as the editor would send it\n"
     "                    (default Values.ini of the data folder)\n",
     vyn::cli::RunWrite},
    {"web-read", "web-read -o OUT --serial N --password P [OPTIONS]",
     "the image read through the configuration server, into a file",
     "  -o OUT            the configuration file written, only after a complete image\n"
     "  --serial N        the unit's serial number\n"
     "  --password P      the password the server asks for\n"
     "  --country 0..5    how the serial number names the unit: 0 IP, IP/GSM; 1 (empty);\n"
     "                    2 GSM (SE); 3 GSM (UK); 4 GSM (ES); 5 GSM (DE) (default the\n"
     "                    edition's: 5)\n"
     "  --server HOST[:PORT]\n"
     "                    the configuration server (default $VYN_SERVER, else Host of\n"
     "                    section [Server] in Values.ini; port 46000)\n"
     "  --local-port N    the local UDP port (default 45010)\n"
     "  --values FILE     the settings file whose lists the values are checked against\n"
     "                    (default Values.ini of the data folder)\n"
     "  The status texts go to stderr as they change; Ctrl+C cancels the exchange.\n",
     vyn::cli::RunWebRead},
    {"web-write", "web-write FILE --serial N --password P [OPTIONS]",
     "write a file to the unit through the configuration server",
     "  --serial, --password, --country, --server, --local-port as for web-read\n"
     "  --sip-dir DIR     the folder of the SIP number lists (default the data folder)\n"
     "  The status texts go to stderr as they change; Ctrl+C cancels the exchange.\n",
     vyn::cli::RunWebWrite},
    {"backups", "backups [--serial N]",
     "the backups of every unit read and verified write, newest first",
     "  --serial N        only the backups of the unit with this serial number\n"
     "Each line: date and time, serial number, read or written, the file.\n",
     vyn::cli::RunBackups},
};

void PrintExitCodes(std::ostream& out) {
  out << "exit codes: 0 success, 1 failure, 2 usage error, 3 diff found differences,\n"
         "            4 show found a list value outside its list\n";
}

void PrintUsage(std::ostream& out) {
  out << "vynctl - command-line companion of the VYN IP/GSM programmer\n\n"
         "usage: vynctl [OPTIONS] COMMAND [ARGS] [OPTIONS]\n\ncommands:\n";
  constexpr std::size_t kColumn = 36;
  for (const Command& c : kCommands) {
    std::string usage = c.usage;
    // A long synopsis has its summary on the next line, in the summaries' column.
    if (usage.size() >= kColumn) usage += "\n  ";
    usage.resize(usage.size() < kColumn ? kColumn : usage.size() + kColumn, ' ');
    out << "  " << usage << " " << c.summary << "\n";
  }
  out << "\n";
  vyn::cli::PrintCommonOptionsHelp(out);
  out << "\n";
  PrintExitCodes(out);
  out << "\n'vynctl COMMAND --help' describes one command.\n";
}

void PrintCommandHelp(const Command& c, std::ostream& out) {
  std::string summary = c.summary;
  summary.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(summary.front())));
  out << "usage: vynctl " << c.usage << "\n\n" << summary << ".\n";
  if (c.options[0] != '\0') out << "\noptions:\n" << c.options;
  out << "\n";
  vyn::cli::PrintCommonOptionsHelp(out);
  out << "\n";
  PrintExitCodes(out);
}

}  // namespace

int main(int argc, char** argv) {
  CommandContext context;
  std::vector<std::string> words;
  std::string error;
  if (!vyn::cli::SplitCommonOptions(std::vector<std::string>(argv + 1, argv + argc),
                                    context.options, words, error)) {
    std::cerr << "vynctl: " << error << "\n";
    PrintUsage(std::cerr);
    return vyn::cli::kExitUsage;
  }
  if (words.empty() || words.front() == "help") {
    const bool asked = context.options.help || !words.empty();
    PrintUsage(asked ? std::cout : std::cerr);
    return asked ? vyn::cli::kExitOk : vyn::cli::kExitUsage;
  }
  const std::string& name = words.front();
  for (const Command& c : kCommands) {
    if (name != c.name) continue;
    if (context.options.help) {
      PrintCommandHelp(c, std::cout);
      return vyn::cli::kExitOk;
    }
    context.command = c.name;
    context.usage = c.usage;
    return c.run(context, vyn::cli::Args(words.begin() + 1, words.end()), std::cout, std::cerr);
  }
  std::cerr << "vynctl: unknown command '" << name << "'\n";
  PrintUsage(std::cerr);
  return vyn::cli::kExitUsage;
}
