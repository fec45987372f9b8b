#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/strings/string_table.h"
#include "support/run_program.h"

namespace vyn {
namespace {

using testing_support::ProgramRun;

// Runs vynctl as a user would; `args` are blank-separated words.
ProgramRun RunVynctl(const std::string& args) {
  std::vector<std::string> argv = {testing_support::BinPath("vynctl")};
  std::istringstream words(args);
  for (std::string word; words >> word;) argv.push_back(word);
  return testing_support::RunProgram(argv);
}

TEST(VynctlStringsTest, PrintsRequestedTextsAsTheyAreQuoted) {
  const struct {
    const char* args;
    std::string out;
  } cases[] = {
      // once each, ascending, line breaks as the two characters \n and \r
      {"strings 15101 13703 10013 15101",
       "10013\tFalsches Passwort eingegeben\n"
       "13703\tDie Gruppe Externe Alarme beinhaltet:\\r\\nTüralarm und Bettalarm.\n"
       "15101\tKonvertierungsfehler!\\nSpeicherüberlauf durch Telefonnummern\n"},
      // backslashes and trailing blanks unchanged
      {"strings 15557 13785",
       "13785\tDie eingegebenen Passwörter stimmen nicht überein. Bitte versuchen Sie es "
       "erneut. \n"
       "15557\t\\KEMB\\VYN IP GSM Programmer (DE)\\\n"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = RunVynctl(c.args);
    EXPECT_EQ(run.exit_code, 0) << c.args << run.err;
    EXPECT_EQ(run.out, c.out) << c.args;
    EXPECT_EQ(run.err, "") << c.args;
  }
}

TEST(VynctlStringsTest, WithoutArgumentsPrintsTheWholeTable) {
  const ProgramRun run = RunVynctl("strings");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  std::string expected;
  for (const auto& [id, text] : StringTable::Builtin().All()) {
    std::string escaped;
    for (char c : text) escaped += c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
    expected += std::to_string(id) + "\t" + escaped + "\n";
  }
  EXPECT_EQ(run.out, expected);
}

TEST(VynctlStringsTest, AbsentTextFailsButThePresentOnesArePrinted) {
  const ProgramRun run = RunVynctl("strings 13608 10013 13227");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "10013\tFalsches Passwort eingegeben\n");
  EXPECT_NE(run.err.find("13608"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("13227"), std::string::npos) << run.err;
}

TEST(VynctlStringsTest, NonNumericIdentifierOrUnknownOptionIsAUsageError) {
  for (const char* args : {"strings abc", "strings 10013 12a", "strings -- 10013", "strings --json",
                           "strings 99999999999999", "strings ' 10013'"}) {
    const ProgramRun run = RunVynctl(args);
    EXPECT_EQ(run.exit_code, 2) << args;
    EXPECT_EQ(run.out, "") << args;
    EXPECT_NE(run.err.find("usage: vynctl strings"), std::string::npos) << args << run.err;
  }
}

}  // namespace
}  // namespace vyn
