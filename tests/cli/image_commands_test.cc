// vynctl show, convert and diff, and the default-configuration generator, run as a user would.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/image/codecs.h"
#include "core/image/field_catalogue.h"
#include "core/strings/message_ids.h"
#include "core/strings/string_table.h"
#include "support/run_program.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

using RunResult = testing_support::ProgramRun;
using Words = std::vector<std::string>;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream data;
  data << in.rdbuf();
  return data.str();
}

Bytes ReadBytes(const fs::path& path) {
  const std::string text = ReadText(path);
  return Bytes(text.begin(), text.end());
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A JSON object whose values are strings or numbers, as `vynctl show --json` writes it; the
// values come back as their text. nullopt when the text is not such an object.
class JsonObject {
 public:
  static std::optional<std::map<std::string, std::string>> Parse(const std::string& text) {
    JsonObject parser(text);
    std::map<std::string, std::string> object;
    if (!parser.Take('{')) return std::nullopt;
    if (parser.Take('}')) return parser.AtEnd() ? std::optional(object) : std::nullopt;
    do {
      std::string key, value;
      if (!parser.String(key) || !parser.Take(':') || !parser.Value(value)) return std::nullopt;
      if (!object.emplace(key, value).second) return std::nullopt;
    } while (parser.Take(','));
    if (!parser.Take('}') || !parser.AtEnd()) return std::nullopt;
    return object;
  }

 private:
  explicit JsonObject(const std::string& text) : text_(text) {}
  void Space() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  bool AtEnd() {
    Space();
    return pos_ == text_.size();
  }
  bool Take(char c) {
    Space();
    if (pos_ < text_.size() && text_[pos_] == c) return ++pos_, true;
    return false;
  }
  bool String(std::string& out) {
    if (!Take('"')) return false;
    while (pos_ < text_.size()) {
      const unsigned char c = text_[pos_++];
      if (c == '"') return true;
      if (c < 0x20) return false;
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      if (pos_ >= text_.size()) return false;
      const char e = text_[pos_++];
      if (e == 'u') {
        if (pos_ + 4 > text_.size()) return false;
        out += static_cast<char>(std::stoi(text_.substr(pos_, 4), nullptr, 16));
        pos_ += 4;
      } else if (std::string("\"\\/bfnrt").find(e) != std::string::npos) {
        out += e;
      } else {
        return false;
      }
    }
    return false;
  }
  bool Value(std::string& out) {
    Space();
    if (pos_ < text_.size() && text_[pos_] == '"') return String(out);
    const std::size_t start = pos_;
    if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
    while (pos_ < text_.size() &&
           (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.'))
      ++pos_;
    out = text_.substr(start, pos_ - start);
    return !out.empty() && out != "-";
  }

  const std::string& text_;
  std::size_t pos_ = 0;
};

class ImageCommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(testing::TempDir()) /
           ("vynctl_image_" + std::to_string(getpid()) + "_" +
            std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  static RunResult Program(const std::string& program, Words args) {
    args.insert(args.begin(), testing_support::BinPath(program));
    return testing_support::RunProgram(args);
  }
  // Every run gets the test's own data folder, prepared on first use.
  RunResult Vynctl(Words args) const {
    args.insert(args.end(), {"--data-dir", Path("data")});
    return Program("vynctl", std::move(args));
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  static Bytes DefaultImage() { return ReadBytes(fs::path(VYN_BIN_DIR) / "Default.b"); }

  // An old 512-byte file: A = 0W123#, C = 123 in dial digits, alarm code A = 1234A.
  static Bytes ShortLayoutFile() {
    Bytes bytes = DefaultImage();
    bytes.resize(kShortImageSize);
    std::fill(bytes.begin() + 0x010, bytes.begin() + 0x070, 0xAA);
    const DialField a = EncodeDialDigits("0W123#", DialKind::kTelephone);
    const DialField c = EncodeDialDigits("123", DialKind::kTelephone);
    const DialField code = EncodeDialDigits("1234A", DialKind::kAlarmCode);
    std::copy(a.begin(), a.end(), bytes.begin() + 0x010);
    std::copy(c.begin(), c.end(), bytes.begin() + 0x020);
    std::copy(code.begin(), code.end(), bytes.begin() + 0x040);
    return bytes;
  }

  fs::path dir_;
};

TEST_F(ImageCommandsTest, ShowsTheGeneratedDefaultConfigurationAsJson) {
  const RunResult run = Vynctl({"show", std::string(VYN_BIN_DIR) + "/Default.b", "--json"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const auto object = JsonObject::Parse(run.out);
  ASSERT_TRUE(object.has_value()) << run.out;
  const auto listed = std::count_if(FieldCatalogue().begin(), FieldCatalogue().end(),
                                    [](const FieldInfo& f) { return !f.alternate; });
  EXPECT_EQ(static_cast<long>(object->size()), listed);
  EXPECT_EQ(object->at("LayoutVersion"), "5");
  EXPECT_NE(object->at("TestAlarmInterval"), "0");
  EXPECT_EQ(object->at("TimeZoneGroup"), "1");
  EXPECT_EQ(object->at("TelephoneNumber.A"), "");
  EXPECT_EQ(object->at("NetworkMask"), "255.255.255.0");
  EXPECT_EQ(DefaultImage()[0x1B1], 1);
}

TEST_F(ImageCommandsTest, ShowEscapesTextsForJsonAndListsFieldsWithAddresses) {
  Bytes bytes = DefaultImage();
  const std::string odd = "a\"b\\c\x01\xE4";
  std::copy(odd.begin(), odd.end(), bytes.begin() + 0x200);  // NtpServer
  bytes[0x200 + odd.size()] = 0;
  WriteBytes(dir_ / "odd.Rodid", bytes);
  const RunResult json = Vynctl({"show", Path("odd.Rodid"), "--json"});
  ASSERT_EQ(json.exit_code, 0) << json.err;
  const auto object = JsonObject::Parse(json.out);
  ASSERT_TRUE(object.has_value()) << json.out;
  EXPECT_EQ(object->at("NtpServer"), odd);

  const RunResult table = Vynctl({"show", Path("odd.Rodid")});
  ASSERT_EQ(table.exit_code, 0) << table.err;
  EXPECT_NE(table.out.find("0x0C2        TestAlarmInterval"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("0x010-0x017  TelephoneNumber.A"), std::string::npos);
}

// Values that the field's own text would not give back show as their raw bytes, which are
// strings in JSON even for number fields.
TEST_F(ImageCommandsTest, ShowGivesRawBytesWhereTheValueTextWouldNotReadBack) {
  Bytes bytes = DefaultImage();
  bytes[0x0CD] = 0x05;  // AlarmButtonIllumination: on, but not as the tool writes it
  WriteBytes(dir_ / "raw.Rodid", bytes);
  const RunResult json = Vynctl({"show", Path("raw.Rodid"), "--json"});
  ASSERT_EQ(json.exit_code, 0) << json.err;
  const auto object = JsonObject::Parse(json.out);
  ASSERT_TRUE(object.has_value()) << json.out;
  EXPECT_EQ(object->at("AlarmButtonIllumination"), "0x05");
  EXPECT_EQ(object->at("DuplexSignalRelease"), "0x00000000");  // no gain, not 0 dB
  EXPECT_EQ(object->at("DuplexSignalDetect"), "125");
  EXPECT_NE(json.out.find("\"AlarmButtonIllumination\": \"0x05\""), std::string::npos);
}

TEST_F(ImageCommandsTest, ShowReportsAByteOutsideItsList) {
  Bytes bytes = DefaultImage();
  bytes[0x070] = 9;  // CallSequence.1.1: 0-6 only
  WriteBytes(dir_ / "bad.Rodid", bytes);
  const RunResult run = Vynctl({"show", Path("bad.Rodid")});
  EXPECT_EQ(run.exit_code, 4);
  EXPECT_NE(run.err.find("0x070"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("CallSequence.1.1"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("CallSequence.1.1"), std::string::npos);  // still listed

  // With a settings file whose CallSequence list holds 9 the same byte is valid.
  std::string values = ReadText(fs::path(VYN_BIN_DIR) / "Values.i");
  const std::size_t at = values.find("7=<END>", values.find("[CallSequence]"));
  ASSERT_NE(at, std::string::npos);
  values.replace(at, 7, "9=X\n10=<END>");
  std::ofstream(dir_ / "Values.ini") << values;
  EXPECT_EQ(Vynctl({"show", Path("bad.Rodid"), "--values", Path("Values.ini")}).exit_code, 0);
}

TEST_F(ImageCommandsTest, CommandsRefuseFilesOfOtherSizes) {
  WriteBytes(dir_ / "thousand", Bytes(1000, 0));
  for (const std::string command : {"show", "convert", "diff"}) {
    Words args = {command, Path("thousand")};
    if (command == "convert") args.insert(args.end(), {"-o", Path("out")});
    if (command == "diff") args.push_back(Path("thousand"));
    const RunResult run = Vynctl(args);
    EXPECT_EQ(run.exit_code, 1) << command;
    EXPECT_NE(run.err.find("Kann ausgewählte Konfiguration nicht laden."), std::string::npos)
        << command << ": " << run.err;
    EXPECT_EQ(StringTable::Builtin().Text(msg::kCannotLoadConfiguration),
              "Kann ausgewählte Konfiguration nicht laden.");
  }
  EXPECT_FALSE(fs::exists(dir_ / "out"));
  EXPECT_EQ(Vynctl({"show"}).exit_code, 2);
  EXPECT_EQ(Vynctl({"convert", Path("thousand")}).exit_code, 2);
  EXPECT_EQ(Vynctl({"diff", Path("thousand")}).exit_code, 2);
  EXPECT_EQ(Vynctl({"show", Path("thousand"), "--bogus"}).exit_code, 2);
}

TEST_F(ImageCommandsTest, ConvertMovesShortLayoutNumbersIntoThePool) {
  const Bytes old_file = ShortLayoutFile();
  WriteBytes(dir_ / "old.Rodid", old_file);
  const RunResult run = Vynctl({"convert", Path("old.Rodid"), "-o", Path("new.Rodid")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const Bytes converted = ReadBytes(dir_ / "new.Rodid");
  ASSERT_EQ(converted.size(), kImageSize);
  EXPECT_EQ(converted[0x010], 0);
  EXPECT_EQ(converted[0x018], 0xFF);
  EXPECT_EQ(converted[0x020], 1);
  EXPECT_TRUE(std::all_of(converted.begin() + 0x011, converted.begin() + 0x018,
                          [](std::uint8_t b) { return b == 0xAA; }));
  const std::string pool(converted.begin() + 0x600, converted.begin() + 0x60B);
  EXPECT_EQ(pool, std::string("\x06"
                              "0W123#\x03"
                              "123",
                              11));
  EXPECT_TRUE(std::equal(old_file.begin() + 0x040, old_file.begin() + 0x200,
                         converted.begin() + 0x040));  // alarm codes and the rest unchanged
  EXPECT_TRUE(std::all_of(converted.begin() + 0x200, converted.begin() + 0x600,
                          [](std::uint8_t b) { return b == 0; }));

  // The same configuration in either layout.
  EXPECT_EQ(Vynctl({"diff", Path("old.Rodid"), Path("new.Rodid")}).exit_code, 0);
}

TEST_F(ImageCommandsTest, DiffNamesTheFieldsAndBytesThatDiffer) {
  const Bytes a = DefaultImage();
  Bytes b = a;
  b[0x0C2] = 48;    // TestAlarmInterval
  b[0x0BE] = 0x11;  // an unnamed byte
  WriteBytes(dir_ / "a", a);
  WriteBytes(dir_ / "b", b);
  EXPECT_EQ(Vynctl({"diff", Path("a"), Path("a")}).exit_code, 0);
  const RunResult run = Vynctl({"diff", Path("a"), Path("b")});
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.out, "0x0C2 TestAlarmInterval: 24 -> 48\n0x0BE: 0 -> 17\n");
}

TEST_F(ImageCommandsTest, TheGeneratorRefusesBadLinesWithTheirLineNumber) {
  const struct {
    const char* source;
    const char* message;
  } cases[] = {
      {"# comment\nNoSuchField = 1\n", ":2: unknown field 'NoSuchField'"},
      {"RepeatSequence = many\n", ":1: RepeatSequence = 'many'"},
      {"TestAlarmInterval = 0\n", ":1: TestAlarmInterval"},
      {"RepeatSequence = 1\nRepeatSequence = 2\n", ":2: field 'RepeatSequence' given twice"},
      {"TelephoneNumber.A = 030 X\n", ":1: '030 X' is not a dial number"},
      {"TestAlarmInterval = 1\nTimeZoneIndex = 7\nTimeZoneGroup = 1\n",
       ":3: TimeZoneGroup does not match"},
      {"RepeatSequence 2\n", ":1: expected"},
      {"RepeatSequence = 2\n", "TestAlarmInterval must not be 0"},
  };
  for (const auto& c : cases) {
    std::ofstream(dir_ / "config.txt") << c.source;
    const RunResult run = Program("vyn-mkdefault", {Path("config.txt"), Path("out.b")});
    EXPECT_EQ(run.exit_code, 1) << c.source;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.source << run.err;
    EXPECT_FALSE(fs::exists(dir_ / "out.b")) << c.source;
  }
  std::ofstream(dir_ / "config.txt") << "TestAlarmInterval = 1\nTelephoneNumber.B = 0301234\n";
  ASSERT_EQ(Program("vyn-mkdefault", {Path("config.txt"), Path("out.b")}).exit_code, 0);
  const Bytes image = ReadBytes(dir_ / "out.b");
  ASSERT_EQ(image.size(), kImageSize);
  EXPECT_EQ(image[0x018], 0);
  EXPECT_EQ(image[0x600], 7);
  EXPECT_EQ(Program("vyn-mkdefault", {Path("config.txt")}).exit_code, 2);
}

}  // namespace
}  // namespace vyn

namespace vyn {
namespace {

// Inputs that are not regular files are refused at once with their cause: a FIFO would block
// the read for ever. Each refusal names its cause after the program's message.
TEST_F(ImageCommandsTest, RefusesInputsThatAreNotRegularFilesAndNamesEveryCause) {
  ASSERT_EQ(mkfifo(Path("pipe.Rodid").c_str(), 0600), 0);
  WriteBytes(Path("short.Rodid"), Bytes(100, 0));
  const std::string cannot_load = StringTable::Builtin().Text(msg::kCannotLoadConfiguration);
  const struct {
    std::string file;
    std::string cause;
  } cases[] = {
      {Path("pipe.Rodid"), "not a regular file (a FIFO, device or socket)"},
      {dir_.string(), "a folder, not a file"},
      {Path("missing.Rodid"), "not found"},
      {Path("short.Rodid"), "100 bytes, not 2048 or 512"},
  };
  for (const auto& c : cases) {
    for (const Words& words : {Words{"show", c.file}, Words{"convert", c.file, "-o", Path("o")}}) {
      const RunResult run = Vynctl(words);
      EXPECT_EQ(run.exit_code, 1);
      EXPECT_EQ(run.err,
                "vynctl " + words[0] + ": " + c.file + ": " + cannot_load + " (" + c.cause + ")\n");
    }
  }
}

// -o names the file written, through a symlink to the file it points to; a FIFO, device or
// folder is never replaced.
TEST_F(ImageCommandsTest, WritesOutputsThroughSymlinksAndRefusesWhatIsNotAFile) {
  const std::string source = std::string(VYN_BIN_DIR) + "/Default.b";
  fs::create_directory(Path("real"));
  WriteBytes(Path("real/target.Rodid"), Bytes(3, 1));
  fs::create_symlink(Path("real/target.Rodid"), Path("link.Rodid"));
  ASSERT_EQ(Vynctl({"convert", source, "-o", Path("link.Rodid")}).exit_code, 0);
  EXPECT_TRUE(fs::is_symlink(Path("link.Rodid")));
  EXPECT_EQ(ReadBytes(Path("real/target.Rodid")), DefaultImage());

  ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
  const struct {
    std::string out;
    std::string cause;
  } refused[] = {
      {Path("pipe"), "not a regular file (a FIFO, device or socket)"},
      {Path("real"), "a folder, not a file"},
      {Path("no/such/folder/x.Rodid"), "not found"},
  };
  for (const auto& r : refused) {
    const RunResult run = Vynctl({"convert", source, "-o", r.out});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err, "vynctl convert: " + r.out + ": cannot be written (" + r.cause + ")\n");
  }
  EXPECT_TRUE(fs::is_fifo(Path("pipe")));
  EXPECT_TRUE(fs::is_directory(Path("real")));
}

// A settings file that cannot serve the lists is named with its fault, instead of the
// configuration being blamed for dozens of invalid bytes.
TEST_F(ImageCommandsTest, ShowSaysWhatIsWrongWithTheSettingsFile) {
  const std::string image = std::string(VYN_BIN_DIR) + "/Default.b";
  WriteBytes(Path("garbage.ini"), Bytes{0x7F, 'E', 'L', 'F', 0, 1, 2, 3});
  WriteBytes(Path("empty.ini"), Bytes{});
  const struct {
    std::string values;
    std::string problem;
  } cases[] = {
      {Path("garbage.ini"), "holds none of the program's lists"},
      {Path("empty.ini"), "holds none of the program's lists"},
      {Path("missing.ini"), "not found"},
      {dir_.string(), "a folder, not a file"},
  };
  for (const auto& c : cases) {
    const RunResult run = Vynctl({"show", image, "--values", c.values});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err, "vynctl show: settings file " + c.values + ": " + c.problem + "\n");
  }
}

}  // namespace
}  // namespace vyn

namespace vyn {
namespace {

// A damaged image's texts reach the terminal without their control bytes: number A's pool
// entry 03 31 00 1B shows as "1??".
TEST_F(ImageCommandsTest, ShowAndDiffNeverPrintControlBytes) {
  Bytes image = DefaultImage();
  std::fill(image.begin() + 0x600, image.begin() + 0x770, 0);
  for (int slot = 0; slot < 6; ++slot) image[0x010 + 8 * slot] = 0xFF;
  image[0x010] = 0;
  const Bytes entry = {0x03, 0x31, 0x00, 0x1B};
  std::copy(entry.begin(), entry.end(), image.begin() + 0x600);
  WriteBytes(Path("damaged.Rodid"), image);
  const RunResult show = Vynctl({"show", Path("damaged.Rodid")});
  const RunResult diff =
      Vynctl({"diff", std::string(VYN_BIN_DIR) + "/Default.b", Path("damaged.Rodid")});
  EXPECT_EQ(diff.exit_code, 3);
  for (const std::string& out : {show.out, diff.out}) {
    EXPECT_NE(out.find("TelephoneNumber.A"), std::string::npos) << out;
    EXPECT_NE(out.find(" 1??\n"), std::string::npos) << out;
    for (const char c : out) {
      const auto byte = static_cast<unsigned char>(c);
      EXPECT_FALSE((byte < 0x20 && c != '\n') || byte == 0x7F) << int{byte};
    }
  }
}

}  // namespace
}  // namespace vyn
