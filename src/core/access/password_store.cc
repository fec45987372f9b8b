#include "core/access/password_store.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <fstream>
#include <optional>
#include <random>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "core/access/password_key.h"
#include "core/files/file_checks.h"
#include "core/files/replace_file.h"

namespace vyn {
namespace {

constexpr char kHeader[] = "Language Table\r\n";
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kZeroBlockSize = 16;
// What a read takes at the slot's offset; the longest record (text, zero, check byte) fits in
// it, and in the room between any two slots.
constexpr std::size_t kRecordWindow = 50;
constexpr std::size_t kLongestRecord = kLongestPassword + 2;
static_assert(kLongestRecord <= kRecordWindow);

std::optional<std::streamoff> SlotOffset(int slot) {
  switch (slot) {
    case 2:
      return 243;
    case 3:
      return 361;
    case 4:
      return 498;
    case 5:
      return 581;
    case 6:
      return 641;
    default:
      return std::nullopt;
  }
}

std::vector<char> RandomFiller(std::size_t count) {
  std::random_device device;
  const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
  std::seed_seq seed{device(), device(), static_cast<unsigned>(ticks),
                     static_cast<unsigned>(static_cast<unsigned long long>(ticks) >> 32)};
  std::mt19937 generator(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<char> filler(count);
  for (char& c : filler) c = static_cast<char>(byte(generator));
  return filler;
}

// A new store is built beside the final name and moved into place, so an interrupted
// creation never leaves a partial store behind.
bool CreateStoreFile(const std::filesystem::path& file) {
  std::vector<char> content(kHeader, kHeader + kHeaderSize);
  content.resize(kHeaderSize + kZeroBlockSize, 0);
  const std::vector<char> filler = RandomFiller(kPasswordStoreSize - content.size());
  content.insert(content.end(), filler.begin(), filler.end());

  // The store is the user's own file: nobody else reads or writes it.
  return ReplaceFileContent(file.string(), std::string_view(content.data(), content.size()),
                            std::filesystem::perms::owner_read |
                                std::filesystem::perms::owner_write) == ReplaceFileResult::kOk;
}

// The built-in service password of level 4, 5 or 6, deciphered from its block.
std::string ServicePassword(int level) {
  const std::span<const std::uint8_t> block = ServicePasswordBlock(level);
  std::vector<std::uint8_t> plain(block.begin(), block.end());
  ApplyPasswordKeystream(plain, PasswordSlotStartByte(level));
  const auto end = std::find(plain.begin(), plain.end(), 0);
  return std::string(plain.begin(), end);
}

constexpr std::array<std::pair<int, const char*>, 3> kUserSlotDefaults = {
    {{2, "8109"}, {3, "7162"}, {5, "ortex"}}};

bool IsRegularFile(const std::filesystem::path& file) {
  std::error_code error;
  return std::filesystem::is_regular_file(file, error);
}

}  // namespace

PasswordStore::PasswordStore(std::filesystem::path file) : file_(std::move(file)) {}

std::string PasswordStore::Problem() const {
  if (const std::string problem = ReadableFileProblem(file_.string()); !problem.empty()) {
    return problem;
  }
  // A store that gives any password serves, whatever else is wrong with it.
  for (int slot = 2; slot <= 6; ++slot) {
    if (!ReadSlot(slot).empty()) return "";
  }
  std::ifstream in(file_, std::ios::binary);
  std::array<char, kPasswordStoreSize> content{};
  in.read(content.data(), content.size());
  const auto size = static_cast<std::size_t>(in.gcount());
  if (size == 0) return "empty";
  if (size < kPasswordStoreSize) {
    return "truncated (" + std::to_string(size) + " bytes, not " +
           std::to_string(kPasswordStoreSize) + ")";
  }
  return "not a password store";
}

std::string PasswordStore::ReadSlot(int slot) const {
  const std::optional<std::streamoff> offset = SlotOffset(slot);
  if (!offset) return "";
  // Only a regular file is opened: a FIFO would block the read for ever.
  if (!IsRegularFile(file_)) return "";
  std::ifstream in(file_, std::ios::binary);
  if (!in) return "";
  std::array<std::uint8_t, kRecordWindow> enciphered{};
  in.seekg(*offset);
  in.read(reinterpret_cast<char*>(enciphered.data()), kRecordWindow);
  if (static_cast<std::size_t>(in.gcount()) != kRecordWindow) return "";

  std::array<std::uint8_t, kRecordWindow> plain = enciphered;
  ApplyPasswordKeystream(plain, PasswordSlotStartByte(slot));
  const auto end = std::find(plain.begin(), plain.end(), 0);
  const std::size_t n = static_cast<std::size_t>(end - plain.begin()) + 1;
  if (n >= kLongestRecord) return "";
  if (PasswordCheckByte(std::span(enciphered.data(), n)) != enciphered[n]) return "";
  return std::string(plain.begin(), end);
}

bool PasswordStore::WriteSlot(int slot, const std::string& text) const {
  const std::optional<std::streamoff> offset = SlotOffset(slot);
  if (!offset) return false;
  const std::string stored = text.empty() ? kEmptyPasswordMarker : text;
  // A longer record would run into the next slot and could never be read back.
  if (stored.size() > kLongestPassword || stored.find('\0') != std::string::npos) return false;
  if (!PrepareFile()) return false;

  std::vector<std::uint8_t> record(stored.begin(), stored.end());
  record.push_back(0);
  ApplyPasswordKeystream(record, PasswordSlotStartByte(slot));
  record.push_back(PasswordCheckByte(record));

  // Written in place: only the record's bytes change, the file is never truncated.
  std::fstream io(file_, std::ios::binary | std::ios::in | std::ios::out);
  if (!io) return false;
  io.seekp(*offset);
  io.write(reinterpret_cast<const char*>(record.data()),
           static_cast<std::streamsize>(record.size()));
  io.close();
  return static_cast<bool>(io);
}

bool PasswordStore::PrepareFile() const {
  std::error_code error;
  const bool exists = std::filesystem::exists(file_, error);
  if (error) return false;
  if (!exists) return CreateStoreFile(file_);
  if (!IsRegularFile(file_)) return false;
  const std::uintmax_t size = std::filesystem::file_size(file_, error);
  if (error) return false;
  if (size >= kPasswordStoreSize) return true;
  std::ofstream out(file_, std::ios::binary | std::ios::app);
  const std::vector<char> filler = RandomFiller(kPasswordStoreSize - size);
  out.write(filler.data(), static_cast<std::streamsize>(filler.size()));
  out.close();
  return static_cast<bool>(out);
}

bool PasswordStore::SlotMatches(const std::string& entered, int slot) const {
  const std::string stored = ReadSlot(slot);
  if (stored.empty()) return false;
  return entered.empty() ? stored == kEmptyPasswordMarker : stored == entered;
}

bool PasswordStore::UsedByOtherSlot(const std::string& text, int slot) const {
  return std::any_of(kUserSlotDefaults.begin(), kUserSlotDefaults.end(), [&](const auto& other) {
    return other.first != slot && SlotMatches(text, other.first);
  });
}

int PasswordStore::LevelFor(const std::string& entered) const {
  for (int level : {4, 5, 6}) {
    if (entered == ServicePassword(level)) return level;
  }
  int level = 0;
  for (int slot = 2; slot <= 6; ++slot) {
    if (SlotMatches(entered, slot)) level = slot;
  }
  return level;
}

bool PasswordStore::EnsureDefaultPasswords() const {
  bool written = true;
  for (const auto& [slot, password] : kUserSlotDefaults) {
    if (ReadSlot(slot).empty() && !WriteSlot(slot, password)) written = false;
  }
  return written;
}

}  // namespace vyn
