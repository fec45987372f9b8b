#pragma once

// The password store: a small file that looks like a language table and holds the enciphered
// passwords of the access levels 2 to 6, one record per slot, each with a check byte.

#include <cstddef>
#include <filesystem>
#include <string>

namespace vyn {

inline constexpr char kPasswordStoreFileName[] = "VynLng.tbl";
inline constexpr std::size_t kPasswordStoreSize = 709;
// Stored in place of an empty password: the slot's level then needs no password.
inline constexpr char kEmptyPasswordMarker[] = "%514kd#92!m1k7Qz";
// The longest password a slot can hold; a longer record would not read back.
inline constexpr std::size_t kLongestPassword = 43;

class PasswordStore {
 public:
  // `file` is the store file, normally kPasswordStoreFileName in the program data folder.
  explicit PasswordStore(std::filesystem::path file);

  const std::filesystem::path& file() const { return file_; }

  // Why the store cannot give the user passwords, for the message that says so instead of
  // "wrong password": "not found", "permission denied", "a folder, not a file", "empty", "not a
  // password store", "truncated (N bytes, not 709)". Empty when any slot holds a password.
  std::string Problem() const;

  // The stored text of slot 2-6 (possibly the marker); empty when the file is missing or
  // unreadable, the record is short, too long or its check byte does not match.
  std::string ReadSlot(int slot) const;
  // Stores `text` (the marker for an empty one) in slot 2-6, creating the file first when it
  // is missing. Only the record's bytes change. False, with the slot unchanged, when the file
  // cannot be written or the text does not fit a record (longer than kLongestPassword or
  // holding a zero character).
  bool WriteSlot(int slot, const std::string& text) const;

  // Exact, case-sensitive comparison; an empty entry matches a slot that holds the marker.
  bool SlotMatches(const std::string& entered, int slot) const;
  // Whether `text` matches one of the other user slots among 2, 3 and 5.
  bool UsedByOtherSlot(const std::string& text, int slot) const;
  // The access level an entered password grants: the built-in service passwords first (4, 5,
  // 6), then the highest matching slot, 0 when nothing matches.
  int LevelFor(const std::string& entered) const;

  // Start-up: slots 2, 3 and 5 that read empty get their default password. False when one of
  // them could not be written.
  bool EnsureDefaultPasswords() const;

 private:
  // Creates a missing file, and brings a shortened one back to its full size with fresh
  // filler, so that every slot record can be written and read back.
  bool PrepareFile() const;

  std::filesystem::path file_;
};

}  // namespace vyn
