#include <charconv>
#include <set>
#include <string>
#include <string_view>

#include "cli/args.h"
#include "cli/commands.h"
#include "core/strings/string_table.h"

namespace vyn::cli {
namespace {

// Line breaks are written as the two characters \n and \r, the way texts are quoted, so that
// every text stays on its own output line.
std::string EscapeLineBreaks(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

void PrintText(std::ostream& out, int id, const std::string& text) {
  out << id << '\t' << EscapeLineBreaks(text) << '\n';
}

std::optional<int> ParseId(const std::string& word) {
  int id = 0;
  const char* end = word.data() + word.size();
  const auto [rest, status] = std::from_chars(word.data(), end, id);
  if (word.empty() || word.front() == '-' || status != std::errc() || rest != end) {
    return std::nullopt;
  }
  return id;
}

}  // namespace

int RunStrings(const CommandContext& context, const Args& args, std::ostream& out,
               std::ostream& err) {
  std::string error;
  const std::optional<ParsedArgs> parsed = ParseArgs(args, {}, {}, error);
  if (!parsed) return UsageError(context, err, error);
  std::set<int> ids;
  for (const std::string& word : parsed->positional) {
    const std::optional<int> id = ParseId(word);
    if (!id) {
      return UsageError(context, err, "'" + word + "' is not a string identifier");
    }
    ids.insert(*id);
  }

  const StringTable& table = StringTable::Builtin();
  if (ids.empty()) {
    for (const auto& [id, text] : table.All()) PrintText(out, id, text);
    return kExitOk;
  }
  int result = kExitOk;
  for (int id : ids) {
    if (const std::optional<std::string> text = table.Find(id)) {
      PrintText(out, id, *text);
    } else {
      err << "vynctl strings: no text " << id << " in the string table\n";
      result = kExitFailure;
    }
  }
  return result;
}

}  // namespace vyn::cli
