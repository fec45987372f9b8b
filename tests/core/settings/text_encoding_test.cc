#include "core/settings/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace vyn {
namespace {

TEST(TextEncodingTest, Windows1252RoundTripsThroughUtf8) {
  struct Case {
    std::string windows;
    std::string utf8;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"\xE4\xF6\xFC\xC4\xD6\xDC\xDF", "äöüÄÖÜß"},
      {"\x80", "€"},
      {"\x8A\x9A\x9F", "ŠšŸ"},
      {"\x84\x93\x96", "„“–"},
      {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"},  // undefined in the code page
      {"\xA0\xFF", "\u00A0ÿ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Windows1252ToUtf8(c.windows), c.utf8);
    EXPECT_EQ(Utf8ToWindows1252(c.utf8), c.windows);
  }
}

TEST(TextEncodingTest, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToWindows1252("a☺b"), "a?b");
  EXPECT_EQ(Utf8ToWindows1252("😀"), "?");
  EXPECT_EQ(Utf8ToWindows1252("x\xFFy"), "x?y");  // malformed input
}

TEST(TextEncodingTest, RecognisesAndRepairsMalformedUtf8) {
  struct Case {
    std::string bytes;
    bool valid;
    std::string repaired;
  };
  const Case cases[] = {
      {"", true, ""},
      {"Türalarm €", true, "Türalarm €"},
      {"T\xFCralarm", false, "T?ralarm"},   // Windows-1252 umlaut
      {"\xC3", false, "?"},                 // cut-off sequence
      {"\xC0\xAF", false, "??"},            // overlong "/"
      {"\xED\xA0\x80", false, "???"},       // surrogate
      {"\xF4\x90\x80\x80", false, "????"},  // above U+10FFFF
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.repaired);
    EXPECT_EQ(IsValidUtf8(c.bytes), c.valid);
    EXPECT_EQ(RepairUtf8(c.bytes), c.repaired);
  }
}

}  // namespace
}  // namespace vyn

namespace vyn {
namespace {

TEST(TextEncodingTest, ControlCharactersBecomeQuestionMarks) {
  EXPECT_EQ(WithoutControlCharacters(std::string("1\0\x1b", 3)), "1??");
  EXPECT_EQ(WithoutControlCharacters("a\r\n\tb\x7F"), "a???b?");
  EXPECT_EQ(WithoutControlCharacters("Gr\xC3\xBC\xC3\x9F"
                                     "e \x80"),
            "Gr\xC3\xBC\xC3\x9F"
            "e \x80");
}

}  // namespace
}  // namespace vyn
