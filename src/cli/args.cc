#include "cli/args.h"

namespace vyn::cli {

std::optional<ParsedArgs> ParseArgs(const std::vector<std::string>& words,
                                    const std::set<std::string>& value_options,
                                    const std::set<std::string>& flag_options, std::string& error) {
  ParsedArgs parsed;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.size() > 1 && word[0] == '-') {
      if (value_options.count(word)) {
        if (i + 1 >= words.size()) {
          error = "option " + word + " needs a value";
          return std::nullopt;
        }
        parsed.options[word] = words[++i];
      } else if (flag_options.count(word)) {
        parsed.flags.insert(word);
      } else {
        error = "unknown option " + word;
        return std::nullopt;
      }
    } else {
      parsed.positional.push_back(word);
    }
  }
  return parsed;
}

}  // namespace vyn::cli
