#include "core/strings/string_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace vyn {
namespace {

struct ParseCase {
  const char* name;
  std::string data;
  int id;
  std::string text;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class StringTableParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(StringTableParseTest, DecodesText) {
  const ParseCase& c = GetParam();
  std::string error;
  const std::optional<StringTable> table = StringTable::Parse(c.data, &error);
  ASSERT_TRUE(table) << error;
  EXPECT_EQ(table->Find(c.id), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StringTableParseTest,
    testing::Values(ParseCase{"Plain", "10013\tFalsches Passwort eingegeben\n", 10013,
                              "Falsches Passwort eingegeben"},
                    ParseCase{"LineFeed", "15101\tA!\\nB\n", 15101, "A!\nB"},
                    ParseCase{"CarriageReturnLineFeed", "13703\tA:\\r\\nB\n", 13703, "A:\r\nB"},
                    ParseCase{"TabAndBackslash", "15557\t\\\\KEMB\\\\\\tx\n", 15557, "\\KEMB\\\tx"},
                    ParseCase{"BackslashBeforeN", "1\t\\\\n\n", 1, "\\n"},
                    ParseCase{"TrailingBlankKept", "13785\terneut. \n", 13785, "erneut. "},
                    ParseCase{"LeadingBlankKept", "10025\t Warten\n", 10025, " Warten"},
                    ParseCase{"FurtherTabsBelongToText", "1\ta\tb\n", 1, "a\tb"},
                    ParseCase{"Umlauts",
                              "13802\t\xC3\x96"
                              "ffnen\n",
                              13802,
                              "\xC3\x96"
                              "ffnen"},
                    ParseCase{"CrLfLineEnd", "1\tx\r\n2\ty\r\n", 2, "y"},
                    ParseCase{"NoFinalLineFeed", "1\tx", 1, "x"},
                    ParseCase{"ByteOrderMark",
                              "\xEF\xBB\xBF"
                              "1\tx\n",
                              1, "x"},
                    ParseCase{"EmptyText", "13608\t\n", 13608, ""},
                    ParseCase{"CommentsAndBlankLines", "# head\n\n#1\tno\n1\tyes\n\n", 1, "yes"}),
    [](const testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

struct ErrorCase {
  const char* name;
  std::string data;
  std::string error;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class StringTableErrorTest : public testing::TestWithParam<ErrorCase> {};

TEST_P(StringTableErrorTest, NamesTheLine) {
  const ErrorCase& c = GetParam();
  std::string error;
  EXPECT_FALSE(StringTable::Parse(c.data, &error));
  EXPECT_EQ(error.substr(0, c.error.size()), c.error) << error;
  EXPECT_FALSE(StringTable::Parse(c.data, nullptr));
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, StringTableErrorTest,
    testing::Values(
        ErrorCase{"NoTab", "1\tx\n# c\n10013 Falsch\n", "line 3: no tab"},
        ErrorCase{"EmptyIdentifier", "\tx\n", "line 1: identifier '' is not a number"},
        ErrorCase{"Letters", "1\tx\nabc\tx\n", "line 2: identifier 'abc' is not a number"},
        ErrorCase{"Negative", "-5\tx\n", "line 1: identifier '-5' is not a number"},
        ErrorCase{"Plus", "+5\tx\n", "line 1: identifier '+5' is not a number"},
        ErrorCase{"TrailingBlank", "5 \tx\n", "line 1: identifier '5 ' is not a number"},
        ErrorCase{"DigitsThenLetter", "12a\tx\n", "line 1: identifier '12a' is not a number"},
        ErrorCase{"TooLarge", "99999999999999\tx\n", "line 1: identifier 99999999999999 is too"},
        ErrorCase{"Duplicate", "1\tx\n2\ty\n\n1\tz\n", "line 4: identifier 1 occurs twice"},
        ErrorCase{"UnknownEscape", "1\tC:\\KEMB\n", "line 1: text of 1 has a backslash"},
        ErrorCase{"TrailingBackslash", "1\tx\\\n", "line 1: text of 1 has a backslash"},
        ErrorCase{"InvalidUtf8", "1\t\xC3(\n", "line 1: text of 1 is not UTF-8"},
        ErrorCase{"Latin1Umlaut",
                  "1\t\xD6"
                  "ffnen\n",
                  "line 1: text of 1 is not UTF-8"},
        ErrorCase{"OverlongUtf8", "1\t\xC0\xAF\n", "line 1: text of 1 is not UTF-8"},
        ErrorCase{"TruncatedUtf8", "1\t\xE2\x82", "line 1: text of 1 is not UTF-8"},
        ErrorCase{"Surrogate", "1\t\xED\xA0\x80\n", "line 1: text of 1 is not UTF-8"}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return info.param.name; });

class StringTableLookupTest : public testing::Test {
 protected:
  StringTable table_ = *StringTable::Parse("3\tdrei\n1\teins\n2\t\n", nullptr);
};

TEST_F(StringTableLookupTest, AbsentAndEmptyTextsSwitchFeaturesOff) {
  EXPECT_EQ(table_.Find(1), "eins");
  EXPECT_TRUE(table_.Has(1));
  EXPECT_EQ(table_.Find(2), "");  // present but empty
  EXPECT_FALSE(table_.Has(2));
  EXPECT_EQ(table_.Text(2), "");
  EXPECT_EQ(table_.Find(4), std::nullopt);
  EXPECT_FALSE(table_.Has(4));
  EXPECT_EQ(table_.Text(4), "");
}

TEST_F(StringTableLookupTest, AllAscendsWhateverTheSourceOrder) {
  const std::vector<std::pair<int, std::string>> expected = {{1, "eins"}, {2, ""}, {3, "drei"}};
  EXPECT_EQ(table_.All(), expected);
  EXPECT_EQ(table_.size(), 3u);
}

TEST_F(StringTableLookupTest, CopiesLeaveTheOriginalAlone) {
  const StringTable replaced = table_.WithText(1, "one").WithText(9, "nine");
  const StringTable removed = table_.Without(3).Without(42);
  EXPECT_EQ(replaced.Text(1), "one");
  EXPECT_EQ(replaced.Text(9), "nine");
  EXPECT_FALSE(removed.Find(3));
  EXPECT_EQ(removed.size(), 2u);
  EXPECT_EQ(table_.Text(1), "eins");
  EXPECT_FALSE(table_.Find(9));
  EXPECT_TRUE(table_.Has(3));
}

TEST(FormatTest, ReplacesInsertsInOrder) {
  const struct {
    std::string pattern;
    std::initializer_list<std::string> args;
    std::string expected;
  } cases[] = {
      {"Wert %s bei Adresse %s ist nicht gültig",
       {"255", "1234"},
       "Wert 255 bei Adresse 1234 ist nicht gültig"},
      {"Position %s.", {"3"}, "Position 3."},
      {"%s%s", {"a", "b"}, "ab"},
      {"Wert %s bei Adresse %s", {"7"}, "Wert 7 bei Adresse "},  // missing insert stays empty
      {"ohne", {"x", "y"}, "ohne"},                              // surplus inserts ignored
      {"%s", {"%s"}, "%s"},                                      // an insert is not scanned again
      {"100% %d %", {"x"}, "100% %d %"},                         // other percent forms are copied
      {"", {}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.pattern, c.args), c.expected) << c.pattern;
}

// ---- The compiled-in table of this edition.

TEST(BuiltinStringTableTest, ParsesAndAscendsInTheSourceFile) {
  EXPECT_GT(StringTable::Builtin().size(), 500u);
  std::ifstream file(VYN_SOURCE_DIR "/data/strings.txt", std::ios::binary);
  ASSERT_TRUE(file);
  std::ostringstream data;
  data << file.rdbuf();
  std::string error;
  const std::optional<StringTable> from_file = StringTable::Parse(data.str(), &error);
  ASSERT_TRUE(from_file) << error;
  EXPECT_EQ(from_file->All(), StringTable::Builtin().All());

  std::istringstream lines(data.str());
  std::string line;
  long previous = 0;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') continue;
    const long id = std::stol(line.substr(0, line.find('\t')));
    EXPECT_GT(id, previous) << line;
    previous = id;
  }
}

TEST(BuiltinStringTableTest, FeaturesOfOtherEditionsAreAbsent) {
  const StringTable& table = StringTable::Builtin();
  for (int id : {13608, 13227, 13179, 15032, 13716, 13764, 13766, 13768}) {
    EXPECT_FALSE(table.Find(id)) << id;
    EXPECT_FALSE(table.Has(id)) << id;
  }
}

TEST(BuiltinStringTableTest, QuotedTextsKeepLineBreaksBlanksAndUmlauts) {
  const StringTable& table = StringTable::Builtin();
  EXPECT_EQ(table.Text(15101), "Konvertierungsfehler!\nSpeicherüberlauf durch Telefonnummern");
  EXPECT_EQ(table.Text(13703), "Die Gruppe Externe Alarme beinhaltet:\r\nTüralarm und Bettalarm.");
  EXPECT_EQ(table.Text(13785),
            "Die eingegebenen Passwörter stimmen nicht überein. Bitte versuchen Sie es erneut. ");
  EXPECT_EQ(table.Text(10025), " Warten auf Seriennummer…");
  EXPECT_EQ(table.Text(13324), "Anwender/Handsender && Batterie");
  EXPECT_EQ(table.Text(15023),
            "Fehler beim konvertiernen der Daten. Wert %s bei Adresse %s ist nicht gültig. "
            "Bitte kontaktieren Sie Kemb Electronics");
  EXPECT_EQ(table.Text(13712), table.Text(13715));
  EXPECT_EQ(table.Text(15570), table.Text(15008));
  EXPECT_EQ(table.Text(13729), "Sparmodus an");
  EXPECT_EQ(table.Text(13120), "Sequenz 4");
  EXPECT_EQ(table.Text(21116), "Telefonnr./SIP URI U");
  EXPECT_EQ(table.Text(21117), "(Alarm-/Sprachnummern)");
  EXPECT_TRUE(table.Has(15042));  // the 0..10 entry check needs a message
}

TEST(BuiltinStringTableTest, EveryWizardTextIsPresent) {
  std::vector<int> ids = {11001, 11002, 11003, 11004, 11005, 11012, 11020, 11165,
                          11166, 11286, 11287, 11297, 11351, 11352, 11353};
  const auto add = [&ids](int first, int last) {
    for (int id = first; id <= last; ++id) ids.push_back(id);
  };
  add(11011, 11019);
  add(11031, 11034);
  for (int state = 21; state <= 30; ++state)
    add(11041 + 10 * (state - 21), 11044 + 10 * (state - 21));
  add(11151, 11155);
  for (int id : {11045, 11075, 11085, 11105}) ids.push_back(id);
  add(11161, 11163);
  add(11171, 11175);
  add(11181, 11185);
  add(11191, 11214);
  add(11221, 11228);
  add(11231, 11233);
  add(11241, 11250);
  add(11261, 11264);
  add(11271, 11276);
  add(11281, 11285);
  add(11291, 11296);
  add(11301, 11304);
  add(11311, 11320);
  add(11331, 11336);
  add(11341, 11343);
  for (int id : ids) EXPECT_TRUE(StringTable::Builtin().Has(id)) << id;
}

}  // namespace
}  // namespace vyn
