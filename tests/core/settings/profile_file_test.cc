#include "core/settings/profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/temp_folder.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

constexpr char kSample[] =
    "; leading comment\n"
    "[Alpha]\n"
    "Key=plain\n"
    "  Spaced  =   padded value   \n"
    "upper=Case\n"
    "tabbed=\tvalue\t\n"
    "empty=\n"
    "eq=a=b\n"
    ";Commented=no\n"
    "   ;indented=no\n"
    "no equals sign\n"
    "[ beta ]\n"
    "key=second section\n"
    "[Alpha]\n"
    "late=in a repeated header\n";

TEST(ProfileFileTest, ReadsValuesByCaseInsensitiveNamesWithBlanksTrimmed) {
  TempFolder folder;
  const ProfileFile file(folder.Write("Values.ini", kSample));
  struct Case {
    const char* section;
    const char* key;
    std::optional<std::string> expected;  // nullopt: the caller's default
  };
  const Case cases[] = {
      {"Alpha", "Key", "plain"},
      {"ALPHA", "kEy", "plain"},
      {"Alpha", "Spaced", "padded value"},
      {"Alpha", " spaced ", "padded value"},
      {"alpha", "UPPER", "Case"},
      {"Alpha", "tabbed", "value"},
      {"Alpha", "empty", ""},
      {"Alpha", "eq", "a=b"},
      {"Alpha", "Commented", std::nullopt},
      {"Alpha", ";Commented", std::nullopt},
      {"Alpha", "indented", std::nullopt},
      {"Alpha", "no equals sign", std::nullopt},
      {"Beta", "key", "second section"},
      {"Alpha", "late", std::nullopt},  // only the first header of a name counts
      {"Gamma", "key", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(file.ReadString(c.section, c.key, "<default>"), c.expected.value_or("<default>"));
  }
}

TEST(ProfileFileTest, ReadsAWholeSectionInOnePass) {
  TempFolder folder;
  const ProfileFile file(folder.Write("Values.ini", kSample));
  const std::optional<ProfileSection> alpha = file.ReadSection("alpha");
  ASSERT_TRUE(alpha.has_value());
  EXPECT_EQ(alpha->Size(), 6u);
  EXPECT_EQ(alpha->Value("SPACED"), "padded value");
  EXPECT_EQ(alpha->Find("empty"), "");
  EXPECT_EQ(alpha->Find("late"), std::nullopt);
  EXPECT_FALSE(file.ReadSection("Gamma").has_value());
}

TEST(ProfileFileTest, MissingOrUnreadableFileGivesDefaults) {
  TempFolder folder;
  fs::create_directory(folder.File("folder.ini"));
  for (const std::string& path : {folder.File("absent.ini"), folder.File("folder.ini")}) {
    SCOPED_TRACE(path);
    const ProfileFile file(path);
    EXPECT_FALSE(file.Exists());
    EXPECT_EQ(file.ReadString("Setup", "AppVersion", "none"), "none");
    EXPECT_FALSE(file.ReadSection("Setup").has_value());
  }
}

TEST(ProfileFileTest, ReadsAFileWrittenAfterTheLastRead) {
  TempFolder folder;
  const ProfileFile file(folder.Write("Values.ini", "[A]\nx=1\n"));
  EXPECT_EQ(file.ReadString("A", "x"), "1");
  folder.Write("Values.ini", "[A]\nx=2\n");
  EXPECT_EQ(file.ReadString("A", "x"), "2");
}

TEST(ProfileFileTest, WriteChangesOnlyTheLineItNeeds) {
  struct Case {
    const char* name;
    std::string before;  // empty: no file yet
    const char* section;
    const char* key;
    const char* value;
    std::string after;
  };
  const Case cases[] = {
      {"replaces a value, keeping the key's spelling and blanks", "; c\n[A]\nx = 1\ny=2\n", "A",
       "X", "9", "; c\n[A]\nx = 9\ny=2\n"},
      {"matches the section without regard to case", "[Setup]\nConfigDirectory=\n[B]\n", "setup",
       "configdirectory", "/home/u/VYN", "[Setup]\nConfigDirectory=/home/u/VYN\n[B]\n"},
      {"adds a key after the section's last entry", "[A]\nx=1\n\n; next\n[B]\ny=2\n", "A", "z", "3",
       "[A]\nx=1\nz=3\n\n; next\n[B]\ny=2\n"},
      {"adds a key to an empty section", "[A]\n[B]\n", "A", "k", "v", "[A]\nk=v\n[B]\n"},
      {"adds a key to a last line without line break", "[A]\nx=1", "A", "k", "v",
       "[A]\nx=1\nk=v\n"},
      {"appends a missing section", "[A]\nx=1", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
      {"creates the file", "", "Setup", "AppVersion", "1.0.0", "[Setup]\nAppVersion=1.0.0\n"},
      {"keeps CRLF when replacing", "[A]\r\nx=1\r\n\r\n[B]\r\n", "A", "x", "2",
       "[A]\r\nx=2\r\n\r\n[B]\r\n"},
      {"keeps CRLF when adding", "[A]\r\nx=1\r\n\r\n[B]\r\n", "B", "k", "v",
       "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
      {"keeps CRLF when appending a section", "[A]\r\nx=1\r\n", "C", "k", "v",
       "[A]\r\nx=1\r\n[C]\r\nk=v\r\n"},
      {"keeps a byte-order mark", "\xEF\xBB\xBF[A]\nx=1\n", "A", "x", "Größe",
       "\xEF\xBB\xBF[A]\nx=Größe\n"},
      {"empties a value", "[A]\nx=1\n", "A", "x", "", "[A]\nx=\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const std::string path =
        c.before.empty() ? folder.File("Values.ini") : folder.Write("Values.ini", c.before);
    const ProfileFile file(path);
    ASSERT_EQ(file.WriteString(c.section, c.key, c.value), ProfileWriteResult::kWritten);
    EXPECT_EQ(TempFolder::Read(path), c.after);
    EXPECT_EQ(file.ReadString(c.section, c.key, "<missing>"), c.value);
    // The temporary file is gone: the folder holds the settings file alone.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
  }
}

TEST(ProfileFileTest, RefusesTextThatWouldBreakTheLineStructure) {
  TempFolder folder;
  const std::string before = "[A]\nx=1\n";
  const ProfileFile file(folder.Write("Values.ini", before));
  struct Case {
    const char* section;
    const char* key;
    std::string value;
  };
  const Case cases[] = {
      {"A", "x", "two\nlines"}, {"A", "x", "cr\rhere"}, {"A", "x", std::string("nul\0", 4)},
      {"A", "a=b", "v"},        {"A", "", "v"},         {"A", "[B]", "v"},
      {"A", ";x", "v"},         {"A]", "x", "v"},       {"", "x", "v"},
      {"A", "bad\xFF", "v"},    {"bad\xFF", "x", "v"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(file.WriteString(c.section, c.key, c.value), ProfileWriteResult::kInvalidText);
  }
  EXPECT_EQ(TempFolder::Read(file.Path()), before);
}

TEST(ProfileFileTest, FailedWriteLeavesNothingBehind) {
  TempFolder folder;
  EXPECT_EQ(ProfileFile(folder.File("missing/Values.ini")).WriteString("A", "x", "1"),
            ProfileWriteResult::kWriteFailed);
  fs::create_directory(folder.File("folder.ini"));
  EXPECT_EQ(ProfileFile(folder.File("folder.ini")).WriteString("A", "x", "1"),
            ProfileWriteResult::kReadFailed);
  EXPECT_TRUE(fs::is_directory(folder.File("folder.ini")));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(ProfileFileTest, WriteKeepsPermissionsAndGivesNewFilesTheUmaskDefault) {
  TempFolder folder;
  const std::string kept = folder.Write("kept.ini", "[A]\nx=1\n");
  fs::permissions(kept, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(ProfileFile(kept).WriteString("A", "x", "2"), ProfileWriteResult::kWritten);
  EXPECT_EQ(fs::status(kept).permissions(), fs::perms::owner_read | fs::perms::owner_write);

  // A file created the ordinary way shows what the umask makes of 0666.
  const fs::perms usual = fs::status(folder.Write("reference", "")).permissions();
  const std::string created = folder.File("new.ini");
  ASSERT_EQ(ProfileFile(created).WriteString("A", "x", "1"), ProfileWriteResult::kWritten);
  EXPECT_EQ(fs::status(created).permissions(), usual);
}

TEST(ProfileFileTest, WriteThroughASymlinkReplacesItsTarget) {
  TempFolder folder;
  const std::string target = folder.Write("real.ini", "[A]\nx=1\n");
  fs::create_symlink(target, folder.File("link.ini"));
  ASSERT_EQ(ProfileFile(folder.File("link.ini")).WriteString("A", "x", "2"),
            ProfileWriteResult::kWritten);
  EXPECT_TRUE(fs::is_symlink(folder.File("link.ini")));
  EXPECT_EQ(TempFolder::Read(target), "[A]\nx=2\n");
}

// A file from an older Windows installation, in Windows-1252 with CRLF line breaks.
constexpr char kWindowsFile[] =
    "[AlarmType]\r\n"
    "2=T\xFCralarm\r\n"
    "3=\x80 \x84Zitat\x93\r\n"
    "[Gr\xFC\xDF"
    "e]\r\n"
    "x=1\r\n";

TEST(ProfileFileTest, ReadsWindows1252FilesAsUtf8) {
  TempFolder folder;
  const ProfileFile file(folder.Write("Values.ini", kWindowsFile));
  EXPECT_EQ(file.ReadString("AlarmType", "2"), "Türalarm");
  EXPECT_EQ(file.ReadString("AlarmType", "3"), "€ „Zitat“");
  EXPECT_EQ(file.ReadString("Grüße", "x"), "1");
}

TEST(ProfileFileTest, WritesIntoWindows1252FilesInWindows1252WhereTheTextFits) {
  TempFolder folder;
  const ProfileFile file(folder.Write("Values.ini", kWindowsFile));
  ASSERT_EQ(file.WriteString("AlarmType", "4", "Größe €"), ProfileWriteResult::kWritten);
  ASSERT_EQ(file.WriteString("Grüße", "x", "ä"), ProfileWriteResult::kWritten);
  // Text the code page cannot hold makes its line UTF-8 rather than losing characters.
  ASSERT_EQ(file.WriteString("AlarmType", "5", "Smiley ☺"), ProfileWriteResult::kWritten);
  EXPECT_EQ(TempFolder::Read(file.Path()),
            "[AlarmType]\r\n"
            "2=T\xFCralarm\r\n"
            "3=\x80 \x84Zitat\x93\r\n"
            "4=Gr\xF6\xDF"
            "e \x80\r\n"
            "5=Smiley \xE2\x98\xBA\r\n"
            "[Gr\xFC\xDF"
            "e]\r\n"
            "x=\xE4\r\n");
  EXPECT_EQ(file.ReadString("AlarmType", "4"), "Größe €");
  EXPECT_EQ(file.ReadString("AlarmType", "5"), "Smiley ☺");
  EXPECT_EQ(file.ReadString("AlarmType", "2"), "Türalarm");
}

// One stray byte decides only how its own line reads: before and after the program writes
// another key, every other line reads the same.
TEST(ProfileFileTest, DecodesEachLineOnItsOwn) {
  TempFolder folder;
  const ProfileFile file(
      folder.Write("Values.ini", "[Setup]\nConfigDirectory=\xFF\n[AlarmType]\n2=T\xC3\xBCr\n"));
  EXPECT_EQ(file.ReadString("AlarmType", "2"), "Tür");
  EXPECT_EQ(file.ReadString("Setup", "ConfigDirectory"), "ÿ");
  ASSERT_EQ(file.WriteString("Setup", "ConfigDirectory", "/home/jürgen"),
            ProfileWriteResult::kWritten);
  EXPECT_EQ(file.ReadString("AlarmType", "2"), "Tür");
  EXPECT_EQ(file.ReadString("Setup", "ConfigDirectory"), "/home/jürgen");
  // The line keeps its encoding; the other lines keep their bytes.
  EXPECT_EQ(TempFolder::Read(file.Path()),
            "[Setup]\nConfigDirectory=/home/j\xFCrgen\n[AlarmType]\n2=T\xC3\xBCr\n");
}

// Windows-1252 bytes that happen to form UTF-8 ("Ã¼" is C3 BC, the UTF-8 of "ü") would read
// as another text, so such a line is written in UTF-8.
TEST(ProfileFileTest, NeverWritesWindows1252BytesThatReadAsUtf8) {
  TempFolder folder;
  const ProfileFile file(folder.Write("Values.ini", "[A]\nx=\xFF\n"));
  ASSERT_EQ(file.WriteString("A", "x", "Ã¼"), ProfileWriteResult::kWritten);
  EXPECT_EQ(file.ReadString("A", "x"), "Ã¼");
  ASSERT_EQ(file.WriteString("A", "new", "Ã¼"), ProfileWriteResult::kWritten);
  EXPECT_EQ(file.ReadString("A", "new"), "Ã¼");
}

TEST(ProfileFileTest, KeepsAUtf8FileValidWhenGivenMalformedText) {
  TempFolder folder;
  const ProfileFile file(folder.Write("Values.ini", "[A]\nname=Türalarm\n"));
  ASSERT_EQ(file.WriteString("A", "x", "bad \xFF byte"), ProfileWriteResult::kWritten);
  EXPECT_EQ(file.ReadString("A", "x"), "bad ? byte");
  EXPECT_EQ(file.ReadString("A", "name"), "Türalarm");
}

}  // namespace
}  // namespace vyn
