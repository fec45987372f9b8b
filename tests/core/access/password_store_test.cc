#include "core/access/password_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/access/password_key.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr int kSlots[] = {2, 3, 4, 5, 6};

Bytes ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Where each slot's record lies in the file; the store's format, written down on its own.
std::size_t OffsetOf(int slot) {
  constexpr std::pair<int, std::size_t> kOffsets[] = {
      {2, 243}, {3, 361}, {4, 498}, {5, 581}, {6, 641}};
  for (const auto& [s, offset] : kOffsets) {
    if (s == slot) return offset;
  }
  ADD_FAILURE() << "no slot " << slot;
  return 0;
}

// The record a slot holds for `text`: the enciphered text with its zero, then the check byte.
Bytes RecordFor(const std::string& text, int slot) {
  Bytes record(text.begin(), text.end());
  record.push_back(0);
  ApplyPasswordKeystream(record, PasswordSlotStartByte(slot));
  record.push_back(PasswordCheckByte(record));
  return record;
}

// Deciphers a service password block the way the store does, so that no plain value is
// written down anywhere.
std::string ServicePasswordOfLevel(int level) {
  const auto block = ServicePasswordBlock(level);
  Bytes plain(block.begin(), block.end());
  ApplyPasswordKeystream(plain, PasswordSlotStartByte(level));
  return std::string(plain.begin(), std::find(plain.begin(), plain.end(), 0));
}

class PasswordStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device device;
    folder_ = fs::temp_directory_path() / ("vyn-password-store-" + std::to_string(device()));
    fs::create_directories(folder_);
    file_ = folder_ / kPasswordStoreFileName;
  }
  void TearDown() override {
    std::error_code error;
    fs::permissions(file_, fs::perms::owner_all, error);
    fs::remove_all(folder_, error);
  }

  // Puts `record` over the file at the slot's offset, as another program version might have.
  void PlantRecord(int slot, const Bytes& record) {
    Bytes content = ReadAll(file_);
    std::copy(record.begin(), record.end(), content.begin() + OffsetOf(slot));
    WriteAll(file_, content);
  }

  fs::path folder_;
  fs::path file_;
};

TEST(PasswordKeyTest, KeystreamWalksTheTableAndCheckByteIsPearson) {
  const auto table = PasswordKeyTable();
  const std::uint8_t start = PasswordSlotStartByte(3);
  Bytes zeros(3, 0);
  ApplyPasswordKeystream(zeros, start);
  EXPECT_EQ(zeros, (Bytes{table[start], table[table[start]], table[table[table[start]]]}));

  const Bytes data = {0x41, 0x00, 0xFE};
  EXPECT_EQ(PasswordCheckByte(data), table[table[table[0x41] ^ 0x00] ^ 0xFE]);
  EXPECT_EQ(PasswordCheckByte(Bytes{}), 0);

  Bytes text = {'a', 'b', 'c', 0};
  ApplyPasswordKeystream(text, start);
  ApplyPasswordKeystream(text, start);
  EXPECT_EQ(text, (Bytes{'a', 'b', 'c', 0}));
}

TEST(PasswordKeyTest, TableIsOneCycleAndStartBytesDiffer) {
  const auto table = PasswordKeyTable();
  std::set<std::uint8_t> visited;
  std::uint8_t k = 0;
  do {
    visited.insert(k);
    k = table[k];
  } while (k != 0 && visited.size() <= 256);
  EXPECT_EQ(visited.size(), 256u);

  std::set<std::uint8_t> starts;
  for (int slot : kSlots) starts.insert(PasswordSlotStartByte(slot));
  EXPECT_EQ(starts.size(), 5u);
}

TEST(PasswordKeyTest, ServiceBlocksHoldOneTerminatedTextEach) {
  const std::size_t sizes[] = {11, 12, 19};
  for (int level : {4, 5, 6}) {
    const auto block = ServicePasswordBlock(level);
    ASSERT_EQ(block.size(), sizes[level - 4]) << level;
    EXPECT_EQ(ServicePasswordOfLevel(level).size(), block.size() - 1) << level;
  }
  EXPECT_TRUE(ServicePasswordBlock(3).empty());
}

TEST_F(PasswordStoreTest, NewFileHasHeaderZeroBlockAndFillerAndIsPrivate) {
  ASSERT_TRUE(PasswordStore(file_).WriteSlot(2, "abcd"));
  const Bytes content = ReadAll(file_);
  ASSERT_EQ(content.size(), kPasswordStoreSize);
  EXPECT_EQ(std::string(content.begin(), content.begin() + 16), "Language Table\r\n");
  EXPECT_EQ(Bytes(content.begin() + 16, content.begin() + 32), Bytes(16, 0));
  EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_FALSE(fs::exists(folder_ / "VynLng.tbl.new"));
}

TEST_F(PasswordStoreTest, RecordIsEncipheredTextZeroAndCheckByteOnlyAtItsOffset) {
  const PasswordStore store(file_);
  ASSERT_TRUE(store.WriteSlot(2, "abcd"));
  const Bytes before = ReadAll(file_);

  ASSERT_TRUE(store.WriteSlot(3, "Secret1"));
  Bytes expected = before;
  const Bytes record = RecordFor("Secret1", 3);
  ASSERT_EQ(record.size(), 9u);
  std::copy(record.begin(), record.end(), expected.begin() + OffsetOf(3));
  EXPECT_EQ(ReadAll(file_), expected);
  EXPECT_EQ(store.ReadSlot(3), "Secret1");
  EXPECT_EQ(store.ReadSlot(2), "abcd");
}

TEST_F(PasswordStoreTest, CorruptedCheckByteReadsEmptyAndDefaultComesBack) {
  const PasswordStore store(file_);
  ASSERT_TRUE(store.WriteSlot(2, "mine"));
  Bytes record = RecordFor("mine", 2);
  record.back() ^= 0x01;
  PlantRecord(2, record);
  EXPECT_EQ(store.ReadSlot(2), "");
  EXPECT_FALSE(store.SlotMatches("mine", 2));

  store.EnsureDefaultPasswords();
  EXPECT_EQ(store.LevelFor("8109"), 2);
}

TEST_F(PasswordStoreTest, DefaultsGrantTheirLevelsAndFillerMatchesNothing) {
  const PasswordStore store(file_);
  store.EnsureDefaultPasswords();
  EXPECT_EQ(store.ReadSlot(2), "8109");
  EXPECT_EQ(store.ReadSlot(3), "7162");
  EXPECT_EQ(store.ReadSlot(5), "ortex");

  struct Case {
    std::string entered;
    int level;
  };
  const Case cases[] = {
      {"8109", 2},  {"7162", 3},  {"ortex", 5}, {"", 0},  // no slot holds the marker
      {"Ortex", 0}, {"ORTEX", 0}, {"8109 ", 0}, {"810", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(store.LevelFor(c.entered), c.level) << c.entered;

  for (int slot : {4, 6}) {
    for (const std::string text : {"", "8109", "7162", "ortex", kEmptyPasswordMarker}) {
      EXPECT_FALSE(store.SlotMatches(text, slot)) << slot << " " << text;
    }
  }
}

TEST_F(PasswordStoreTest, DeletedPasswordLetsEmptyEntryInAndStaysDeleted) {
  const PasswordStore store(file_);
  store.EnsureDefaultPasswords();
  ASSERT_TRUE(store.WriteSlot(5, ""));
  EXPECT_EQ(store.ReadSlot(5), kEmptyPasswordMarker);
  EXPECT_EQ(store.LevelFor(""), 5);

  store.EnsureDefaultPasswords();
  EXPECT_EQ(store.LevelFor(""), 5);
  EXPECT_EQ(store.LevelFor("ortex"), 0);
  EXPECT_EQ(store.LevelFor("8109"), 2);
}

TEST_F(PasswordStoreTest, HighestMatchingSlotWinsAndOtherSlotsAreSeen) {
  const PasswordStore store(file_);
  store.EnsureDefaultPasswords();
  ASSERT_TRUE(store.WriteSlot(2, "shared"));
  ASSERT_TRUE(store.WriteSlot(5, "shared"));
  EXPECT_EQ(store.LevelFor("shared"), 5);

  EXPECT_TRUE(store.UsedByOtherSlot("shared", 2));
  EXPECT_TRUE(store.UsedByOtherSlot("shared", 3));
  EXPECT_TRUE(store.UsedByOtherSlot("7162", 2));
  EXPECT_FALSE(store.UsedByOtherSlot("7162", 3));
  EXPECT_FALSE(store.UsedByOtherSlot("unused", 5));
  // An empty text is in use where a slot already needs no password.
  EXPECT_FALSE(store.UsedByOtherSlot("", 2));
  ASSERT_TRUE(store.WriteSlot(3, ""));
  EXPECT_TRUE(store.UsedByOtherSlot("", 2));
  EXPECT_FALSE(store.UsedByOtherSlot("", 3));
}

TEST_F(PasswordStoreTest, LongestPasswordFitsAndLongerOnesAreRefused) {
  const PasswordStore store(file_);
  store.EnsureDefaultPasswords();
  const std::string longest(43, 'x');
  ASSERT_TRUE(store.WriteSlot(5, longest));
  EXPECT_EQ(store.ReadSlot(5), longest);
  EXPECT_EQ(store.LevelFor(longest), 5);

  // Refused texts leave the slot and its neighbour as they were.
  const Bytes before = ReadAll(file_);
  EXPECT_FALSE(store.WriteSlot(3, std::string(44, 'y')));
  EXPECT_FALSE(store.WriteSlot(3, std::string(500, 'y')));
  EXPECT_FALSE(store.WriteSlot(3, std::string("ab\0cd", 5)));
  EXPECT_EQ(ReadAll(file_), before);
  EXPECT_EQ(store.ReadSlot(3), "7162");

  // A 44-character record written by other means does not read back.
  PlantRecord(3, RecordFor(std::string(44, 'y'), 3));
  EXPECT_EQ(store.ReadSlot(3), "");
}

TEST_F(PasswordStoreTest, MissingShortOrForeignFilesReadEmpty) {
  const PasswordStore store(file_);
  for (int slot : kSlots) EXPECT_EQ(store.ReadSlot(slot), "") << slot;
  EXPECT_EQ(store.LevelFor(""), 0);
  EXPECT_EQ(store.ReadSlot(1), "");
  EXPECT_EQ(store.ReadSlot(7), "");
  EXPECT_FALSE(store.WriteSlot(7, "abcd"));
  EXPECT_FALSE(fs::exists(file_));

  // A record that ends less than 50 bytes before the end of the file is not read.
  ASSERT_TRUE(store.WriteSlot(6, "abcd"));
  Bytes content = ReadAll(file_);
  content.resize(OffsetOf(6) + 49);
  WriteAll(file_, content);
  EXPECT_EQ(store.ReadSlot(6), "");
}

// A store that cannot serve the user passwords says why, so the prompt can say the store is at
// fault rather than the password; a FIFO is never opened (it would block for ever).
TEST_F(PasswordStoreTest, AStoreThatCannotBeReadSaysWhy) {
  const PasswordStore store(file_);
  EXPECT_EQ(store.Problem(), "not found");
  ASSERT_TRUE(store.EnsureDefaultPasswords());
  EXPECT_EQ(store.Problem(), "");
  const Bytes whole = ReadAll(file_);
  struct Case {
    Bytes content;
    const char* problem;
  };
  const Case cases[] = {
      {{}, "empty"},
      {Bytes(709, 'x'), "not a password store"},
      {Bytes(whole.begin(), whole.begin() + 100), "truncated (100 bytes, not 709)"},
  };
  for (const Case& c : cases) {
    WriteAll(file_, c.content);
    EXPECT_EQ(store.Problem(), c.problem);
  }
  fs::remove(file_);
  fs::create_directory(file_);
  EXPECT_EQ(store.Problem(), "a folder, not a file");
  fs::remove(file_);
  ASSERT_EQ(mkfifo(file_.c_str(), 0600), 0);
  EXPECT_EQ(store.Problem(), "not a regular file (a FIFO, device or socket)");
  for (int slot : kSlots) EXPECT_EQ(store.ReadSlot(slot), "") << slot;
  EXPECT_FALSE(store.WriteSlot(2, "abcd"));
  EXPECT_TRUE(fs::is_fifo(file_));
}

TEST_F(PasswordStoreTest, ShortenedFileIsRefilledOnWrite) {
  const PasswordStore store(file_);
  ASSERT_TRUE(store.WriteSlot(2, "keep"));
  Bytes content = ReadAll(file_);
  content.resize(300);
  WriteAll(file_, content);

  ASSERT_TRUE(store.WriteSlot(5, "again"));
  const Bytes after = ReadAll(file_);
  ASSERT_EQ(after.size(), kPasswordStoreSize);
  EXPECT_EQ(Bytes(after.begin(), after.begin() + 300), content);
  EXPECT_EQ(store.ReadSlot(5), "again");
  EXPECT_EQ(store.ReadSlot(2), "keep");
}

TEST_F(PasswordStoreTest, UnwritableStoreReportsFailureWithoutHarm) {
  // A folder that cannot exist (its parent is a file), and a directory in the store's place.
  std::ofstream(folder_ / "plain-file") << "x";
  for (const fs::path& file : {folder_ / "plain-file" / kPasswordStoreFileName, file_}) {
    if (file == file_) fs::create_directory(file_);
    const PasswordStore store(file);
    EXPECT_FALSE(store.WriteSlot(2, "abcd")) << file;
    store.EnsureDefaultPasswords();
    EXPECT_EQ(store.ReadSlot(2), "") << file;
    EXPECT_EQ(store.LevelFor("8109"), 0) << file;
  }
}

TEST_F(PasswordStoreTest, ReadOnlyStoreKeepsThePassword) {
  if (geteuid() == 0) GTEST_SKIP() << "file modes do not bind the superuser";
  const PasswordStore store(file_);
  ASSERT_TRUE(store.WriteSlot(5, "before"));
  fs::permissions(file_, fs::perms::owner_read, fs::perm_options::replace);
  EXPECT_FALSE(store.WriteSlot(5, "after"));
  EXPECT_EQ(store.ReadSlot(5), "before");
}

TEST_F(PasswordStoreTest, ServicePasswordsGrantTheirLevelsWithOrWithoutAStore) {
  const PasswordStore missing(folder_ / "absent" / kPasswordStoreFileName);
  const PasswordStore store(file_);
  store.EnsureDefaultPasswords();
  ASSERT_TRUE(store.WriteSlot(2, ServicePasswordOfLevel(4)));
  for (int level : {4, 5, 6}) {
    const std::string password = ServicePasswordOfLevel(level);
    EXPECT_EQ(missing.LevelFor(password), level);
    // Checked before the slots: the same text in slot 2 does not lower the level.
    EXPECT_EQ(store.LevelFor(password), level);
  }
}

}  // namespace
}  // namespace vyn
