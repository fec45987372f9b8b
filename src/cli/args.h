#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vyn::cli {

// Command-line words split into positional arguments, options with a value ("-o OUT",
// "--port P") and plain flags ("--json").
struct ParsedArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
  std::set<std::string> flags;

  bool Has(const std::string& name) const { return flags.count(name) || options.count(name); }
  std::string Option(const std::string& name, const std::string& fallback = {}) const {
    auto it = options.find(name);
    return it == options.end() ? fallback : it->second;
  }
};

// Returns nullopt and sets `error` when a word starting with "-" is neither a known option nor
// a known flag, or an option lacks its value.
std::optional<ParsedArgs> ParseArgs(const std::vector<std::string>& words,
                                    const std::set<std::string>& value_options,
                                    const std::set<std::string>& flag_options, std::string& error);

}  // namespace vyn::cli
