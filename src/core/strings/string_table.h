#pragma once

#include <cstddef>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vyn {

// The build's user-visible texts by numeric identifier. Source format, one text per line:
// "ID<TAB>text", where the text may use \n (LF), \r (CR), \t (TAB) and \\ (backslash); lines
// starting with '#' and blank lines are comments. A text that is absent or empty switches its
// feature off, so callers ask Has() before showing an optional control.
class StringTable {
 public:
  StringTable() = default;

  // Returns nullopt and sets `error` (when given) to "line N: ..." for the first malformed line:
  // no tab, an identifier that is not a plain decimal number or occurs twice, a bad escape or
  // text that is not UTF-8. A trailing CR (a file saved with CRLF line ends) is not part of the
  // text.
  static std::optional<StringTable> Parse(std::string_view data, std::string* error);

  // The table compiled into the program from data/strings.txt.
  static const StringTable& Builtin();

  std::optional<std::string> Find(int id) const;
  // The text, or an empty one when absent.
  std::string Text(int id) const;
  // Present and not empty.
  bool Has(int id) const;
  // Every text in ascending identifier order.
  std::vector<std::pair<int, std::string>> All() const;
  std::size_t size() const { return texts_.size(); }

  // Copies with one text replaced, added or removed, so tests can play other editions.
  StringTable WithText(int id, std::string text) const;
  StringTable Without(int id) const;

 private:
  std::map<int, std::string> texts_;
};

// Replaces each "%s" of `pattern` in turn with the next argument, as the messages with inserts
// expect (15023 "... Wert %s bei Adresse %s ..."). A "%s" without an argument becomes empty,
// surplus arguments are ignored, and every other character is copied unchanged.
std::string Format(std::string_view pattern, std::initializer_list<std::string> args);

}  // namespace vyn
