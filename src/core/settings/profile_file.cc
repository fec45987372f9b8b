#include "core/settings/profile_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "core/files/file_checks.h"
#include "core/files/replace_file.h"
#include "core/settings/text_encoding.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBlanks = " \t\r";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerAscii(c);
  return out;
}

enum class LineKind { kOther, kSection, kEntry };

// One line of the raw file. Offsets index the raw bytes; names and values are raw as well and
// are decoded only where they are compared or returned. The structural characters ("[", "]",
// "=", ";") are ASCII, so they sit at the same bytes in UTF-8 and in Windows-1252.
struct Line {
  std::size_t begin = 0;  // first byte of the content
  std::size_t end = 0;    // end of the content, before the line break
  std::size_t next = 0;   // first byte after the line break
  LineKind kind = LineKind::kOther;
  // Each line is decoded on its own: valid UTF-8 as UTF-8, anything else as Windows-1252, so
  // one stray byte does not change how the rest of the file reads.
  bool utf8 = true;
  std::string_view name;        // section or key name, trimmed
  std::string_view value;       // entry value, trimmed
  std::size_t value_begin = 0;  // where an entry's value starts (after "=" and blanks)
};

enum class LoadStatus { kLoaded, kMissing, kUnreadable };

bool IsAscii(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

struct Document {
  std::string raw;
  std::string_view line_break = "\n";
  std::vector<Line> lines;
  bool has_windows_lines = false;  // some line is in Windows-1252

  static std::string Decode(const Line& line, std::string_view bytes) {
    return line.utf8 ? std::string(bytes) : Windows1252ToUtf8(bytes);
  }
  bool NameIs(const Line& line, std::string_view wanted) const {
    return EqualsIgnoringAsciiCase(Decode(line, line.name), wanted);
  }
  // The bytes of a whole line whose text (valid UTF-8) is `text`. With `windows` the line is
  // written in Windows-1252 when the text fits the code page, unless those bytes would read as
  // UTF-8, which would change the text at the next read; otherwise it is written in UTF-8.
  static std::string EncodeLine(std::string_view text, bool windows) {
    if (windows && !IsAscii(text)) {
      std::string bytes = Utf8ToWindows1252(text);
      if (!IsValidUtf8(bytes) && Windows1252ToUtf8(bytes) == text) return bytes;
    }
    return std::string(text);
  }
  // A line takes Windows-1252 again when it was in it; a new or plain-ASCII line when the file
  // has lines in it.
  bool WindowsLine(const Line* line) const {
    if (line != nullptr && !line->utf8) return true;
    const bool ascii = line == nullptr ||
                       IsAscii(std::string_view(raw).substr(line->begin, line->end - line->begin));
    return ascii && has_windows_lines;
  }
};

void ParseLine(const std::string& raw, Line& line) {
  const std::string_view content(raw.data() + line.begin, line.end - line.begin);
  const std::string_view text = Trim(content);
  if (text.empty() || text.front() == ';') return;
  if (text.front() == '[') {
    const std::size_t close = text.find(']');
    line.kind = LineKind::kSection;
    line.name = Trim(text.substr(1, close == std::string_view::npos ? close : close - 1));
    return;
  }
  const std::size_t equals = content.find('=');
  if (equals == std::string_view::npos) return;
  line.name = Trim(content.substr(0, equals));
  if (line.name.empty()) return;
  line.kind = LineKind::kEntry;
  const std::string_view rest = content.substr(equals + 1);
  line.value = Trim(rest);
  const std::size_t lead = rest.find_first_not_of(kBlanks);
  line.value_begin =
      line.begin + equals + 1 + (lead == std::string_view::npos ? rest.size() : lead);
}

void SplitLines(Document& doc) {
  std::size_t pos = doc.raw.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
  bool break_seen = false;
  while (pos < doc.raw.size()) {
    Line line;
    line.begin = pos;
    const std::size_t newline = doc.raw.find('\n', pos);
    if (newline == std::string::npos) {
      line.end = line.next = doc.raw.size();
    } else {
      const bool crlf = newline > pos && doc.raw[newline - 1] == '\r';
      line.end = crlf ? newline - 1 : newline;
      line.next = newline + 1;
      if (!break_seen) doc.line_break = crlf ? "\r\n" : "\n";
      break_seen = true;
    }
    line.utf8 = IsValidUtf8(std::string_view(doc.raw).substr(line.begin, line.end - line.begin));
    if (!line.utf8) doc.has_windows_lines = true;
    ParseLine(doc.raw, line);
    doc.lines.push_back(line);
    pos = line.next;
  }
}

LoadStatus Load(const fs::path& path, Document& doc) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) return LoadStatus::kMissing;
  if (ec || status.type() != fs::file_type::regular) return LoadStatus::kUnreadable;
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec || size > ProfileFile::kMaxFileSize) return LoadStatus::kUnreadable;
  std::ifstream in(path, std::ios::binary);
  if (!in) return LoadStatus::kUnreadable;
  doc.raw.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad() || doc.raw.size() > ProfileFile::kMaxFileSize) return LoadStatus::kUnreadable;
  SplitLines(doc);
  return LoadStatus::kLoaded;
}

// Index of the first header of `section`, or the number of lines when there is none.
std::size_t FindSection(const Document& doc, std::string_view section) {
  for (std::size_t i = 0; i < doc.lines.size(); ++i) {
    if (doc.lines[i].kind == LineKind::kSection && doc.NameIs(doc.lines[i], section)) return i;
  }
  return doc.lines.size();
}

// Index of the line after the section that starts at `header`.
std::size_t SectionEnd(const Document& doc, std::size_t header) {
  std::size_t i = header + 1;
  while (i < doc.lines.size() && doc.lines[i].kind != LineKind::kSection) ++i;
  return i;
}

bool HasAny(std::string_view text, std::string_view chars) {
  return text.find_first_of(chars) != std::string_view::npos;
}

constexpr std::string_view kLineBreakChars{"\r\n\0", 3};

// Names must be valid UTF-8 (a repaired name would not be found again); values are repaired.
bool IsWritable(std::string_view section, std::string_view key, std::string_view value) {
  if (!IsValidUtf8(section) || !IsValidUtf8(key)) return false;
  if (section.empty() || HasAny(section, kLineBreakChars) || HasAny(section, "]")) return false;
  if (key.empty() || HasAny(key, kLineBreakChars) || HasAny(key, "=")) return false;
  if (key.front() == '[' || key.front() == ';') return false;
  return !HasAny(value, kLineBreakChars);
}

std::string NewContent(const Document& doc, std::string_view section, std::string_view key,
                       std::string_view raw_value) {
  const std::string& raw = doc.raw;
  const std::string value = RepairUtf8(raw_value);
  const bool windows = doc.WindowsLine(nullptr);
  const std::string entry = Document::EncodeLine(std::string(key) + "=" + value, windows);
  const std::size_t header = FindSection(doc, section);
  if (header == doc.lines.size()) {
    std::string out = raw;
    if (!doc.lines.empty() && doc.lines.back().end == doc.lines.back().next) {
      out += doc.line_break;
    }
    out += Document::EncodeLine("[" + std::string(section) + "]", windows);
    out += doc.line_break;
    out += entry;
    out += doc.line_break;
    return out;
  }
  const std::size_t end = SectionEnd(doc, header);
  std::size_t last_entry = header;
  for (std::size_t i = header + 1; i < end; ++i) {
    const Line& line = doc.lines[i];
    if (line.kind != LineKind::kEntry) continue;
    if (doc.NameIs(line, key)) {
      // Keep everything up to the old value (the key's spelling, the blanks around "="); the
      // line as a whole keeps its encoding where the new value allows.
      const std::string prefix = Document::Decode(
          line, std::string_view(raw).substr(line.begin, line.value_begin - line.begin));
      return raw.substr(0, line.begin) +
             Document::EncodeLine(prefix + value, doc.WindowsLine(&line)) + raw.substr(line.end);
    }
    last_entry = i;
  }
  // A new key goes after the section's last entry, before any blank lines or comments that
  // lead into the next section.
  const Line& after = doc.lines[last_entry];
  std::string out = raw.substr(0, after.next);
  if (after.end == after.next) out += doc.line_break;
  out += entry;
  out += doc.line_break;
  out += raw.substr(after.next);
  return out;
}

}  // namespace

std::optional<std::string> ProfileSection::Find(std::string_view key) const {
  const auto it = values_.find(LowerAscii(Trim(key)));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::string ProfileSection::Value(std::string_view key, std::string_view fallback) const {
  return Find(key).value_or(std::string(fallback));
}

void ProfileSection::Add(std::string_view key, std::string value) {
  values_.emplace(LowerAscii(Trim(key)), std::move(value));
}

bool ProfileFile::Exists() const {
  std::error_code ec;
  return fs::is_regular_file(path_, ec);
}

std::string ProfileFile::Problem() const {
  if (std::string problem = ReadableFileProblem(path_); !problem.empty()) return problem;
  std::error_code ec;
  if (fs::file_size(path_, ec) > kMaxFileSize) {
    return "larger than " + std::to_string(kMaxFileSize / (1024 * 1024)) + " MiB";
  }
  return "";
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
  const std::optional<ProfileSection> found = ReadSection(section);
  if (!found) return std::string(fallback);
  return found->Value(key, fallback);
}

std::optional<ProfileSection> ProfileFile::ReadSection(std::string_view section) const {
  Document doc;
  if (Load(path_, doc) != LoadStatus::kLoaded) return std::nullopt;
  const std::string_view wanted = Trim(section);
  const std::size_t header = FindSection(doc, wanted);
  if (header == doc.lines.size()) return std::nullopt;
  ProfileSection result;
  const std::size_t end = SectionEnd(doc, header);
  for (std::size_t i = header + 1; i < end; ++i) {
    const Line& line = doc.lines[i];
    if (line.kind == LineKind::kEntry) {
      result.Add(Document::Decode(line, line.name), Document::Decode(line, line.value));
    }
  }
  return result;
}

ProfileWriteResult ProfileFile::WriteString(std::string_view section, std::string_view key,
                                            std::string_view value) const {
  section = Trim(section);
  key = Trim(key);
  if (!IsWritable(section, key, value)) return ProfileWriteResult::kInvalidText;
  fs::path target(path_);
  std::error_code ec;
  if (fs::is_symlink(target, ec)) {
    // Replace the file the link points to, not the link.
    const fs::path resolved = fs::canonical(target, ec);
    if (ec) return ProfileWriteResult::kWriteFailed;
    target = resolved;
  }
  Document doc;
  if (Load(target, doc) == LoadStatus::kUnreadable) return ProfileWriteResult::kReadFailed;
  if (ReplaceFileContent(target.string(), NewContent(doc, section, key, value)) !=
      ReplaceFileResult::kOk) {
    return ProfileWriteResult::kWriteFailed;
  }
  return ProfileWriteResult::kWritten;
}

}  // namespace vyn
