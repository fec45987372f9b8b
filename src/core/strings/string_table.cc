#include "core/strings/string_table.h"

#include <charconv>
#include <cstdint>

namespace vyn::embedded {
extern const unsigned char kStringTableData[];
extern const std::size_t kStringTableDataSize;
}  // namespace vyn::embedded

namespace vyn {
namespace {

// Length of the UTF-8 sequence starting at text[i], or 0 when it is not well formed
// (overlong forms, surrogates and code points above U+10FFFF included).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  std::size_t length;
  std::uint32_t code;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  if (overlong || surrogate || code > 0x10FFFF) return 0;
  return length;
}

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

// Decodes the escapes of one text; returns false at a backslash not followed by n, r, t or \.
bool Unescape(std::string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    switch (text[i]) {
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        return false;
    }
  }
  return true;
}

}  // namespace

std::optional<StringTable> StringTable::Parse(std::string_view data, std::string* error) {
  StringTable table;
  std::size_t line_number = 0;
  const auto fail = [&](const std::string& what) -> std::optional<StringTable> {
    if (error != nullptr) *error = "line " + std::to_string(line_number) + ": " + what;
    return std::nullopt;
  };
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (data.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    data.remove_prefix(kByteOrderMark.size());
  }
  std::string text;
  while (!data.empty()) {
    ++line_number;
    const std::size_t end = data.find('\n');
    std::string_view line = data.substr(0, end);
    data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;

    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return fail("no tab between identifier and text");
    const std::string_view id_text = line.substr(0, tab);
    int id = 0;
    const auto [rest, status] =
        std::from_chars(id_text.data(), id_text.data() + id_text.size(), id);
    if (id_text.empty() || id_text.front() == '-' || status == std::errc::invalid_argument ||
        rest != id_text.data() + id_text.size()) {
      return fail("identifier '" + std::string(id_text) + "' is not a number");
    }
    if (status == std::errc::result_out_of_range) {
      return fail("identifier " + std::string(id_text) + " is too large");
    }
    const std::string_view raw = line.substr(tab + 1);
    if (!IsUtf8(raw)) return fail("text of " + std::to_string(id) + " is not UTF-8");
    if (!Unescape(raw, text)) {
      return fail("text of " + std::to_string(id) +
                  " has a backslash that is not \\n, \\r, \\t or \\\\");
    }
    if (!table.texts_.emplace(id, text).second) {
      return fail("identifier " + std::to_string(id) + " occurs twice");
    }
  }
  return table;
}

const StringTable& StringTable::Builtin() {
  // The compiled-in table is checked by the unit tests; should it ever fail to parse, every
  // text is absent, which switches the features off instead of showing wrong texts.
  static const StringTable builtin = [] {
    const std::string_view data(reinterpret_cast<const char*>(embedded::kStringTableData),
                                embedded::kStringTableDataSize);
    return Parse(data, nullptr).value_or(StringTable());
  }();
  return builtin;
}

std::optional<std::string> StringTable::Find(int id) const {
  const auto it = texts_.find(id);
  if (it == texts_.end()) return std::nullopt;
  return it->second;
}

std::string StringTable::Text(int id) const { return Find(id).value_or(std::string()); }

bool StringTable::Has(int id) const {
  const auto it = texts_.find(id);
  return it != texts_.end() && !it->second.empty();
}

std::vector<std::pair<int, std::string>> StringTable::All() const {
  return {texts_.begin(), texts_.end()};
}

StringTable StringTable::WithText(int id, std::string text) const {
  StringTable copy = *this;
  copy.texts_[id] = std::move(text);
  return copy;
}

StringTable StringTable::Without(int id) const {
  StringTable copy = *this;
  copy.texts_.erase(id);
  return copy;
}

std::string Format(std::string_view pattern, std::initializer_list<std::string> args) {
  std::string out;
  out.reserve(pattern.size());
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
      if (next != args.end()) out += *next++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

}  // namespace vyn
