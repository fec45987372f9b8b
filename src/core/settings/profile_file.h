#pragma once

// The initialisation-file ("profile file") layer under the settings file: "[Section]" headers
// and "key=value" lines. Section and key names match without regard to ASCII case; a value is
// the text after the first "=" with blanks trimmed from both ends; lines starting with ";" are
// comments. The file is read afresh by every call, so a change made by hand or by another
// program is seen at once.
//
// All strings are UTF-8. Each line of the file is decoded on its own: a line that is valid UTF-8
// as UTF-8, any other as Windows-1252 (as older Windows installations wrote them), so one stray
// byte changes how its own line reads and no other. A written line keeps the encoding it had
// where its new text allows; new lines follow the file (Windows-1252 when it has such lines).

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vyn {

enum class ProfileWriteResult {
  kWritten = 0,
  kInvalidText,  // a name or value that would break the line structure (line break, "=" in a key),
                 // or a name that is not UTF-8
  kReadFailed,   // the file exists but cannot be read; it is left untouched
  kWriteFailed,  // the new content could not be written or moved into place; the old file stays
};

// The keys and values of one section as read in one pass over the file. The first occurrence
// of a key wins, as it does for single-key reads.
class ProfileSection {
 public:
  std::optional<std::string> Find(std::string_view key) const;
  // The value, or `fallback` when the key is absent.
  std::string Value(std::string_view key, std::string_view fallback = {}) const;
  std::size_t Size() const { return values_.size(); }

  // Keeps an existing value of the same key.
  void Add(std::string_view key, std::string value);

 private:
  std::map<std::string, std::string, std::less<>> values_;  // keyed by the lower-cased name
};

class ProfileFile {
 public:
  // Larger files are refused as unreadable: a settings file is a few kilobytes, and a path that
  // names a device or a huge file must not stall the program.
  static constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;

  explicit ProfileFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }
  bool Exists() const;
  // Why the file cannot be read, in words: "not found", "permission denied", "a folder, not a
  // file", "not a regular file (...)", "larger than 4 MiB"; empty when it can.
  std::string Problem() const;

  // The value, or `fallback` when the file, the section or the key is missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback = {}) const;
  // nullopt when the file cannot be read or has no such section.
  std::optional<ProfileSection> ReadSection(std::string_view section) const;

  // Sets the key, creating the file, the section and the key as needed. Every other line keeps
  // its bytes and the file its line-ending style (CRLF or LF). The new content goes to a
  // temporary file in the same folder that then replaces the old one, so a failed write leaves
  // the old file as it was.
  ProfileWriteResult WriteString(std::string_view section, std::string_view key,
                                 std::string_view value) const;

 private:
  std::string path_;
};

}  // namespace vyn
