#include "core/image/codecs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace vyn {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(TransmitterCodeTest, EncodesFirstFourCharactersAsHexPairs) {
  struct Case {
    std::string text;
    std::uint8_t first, second;
  };
  const Case cases[] = {
      {"", 0x00, 0x00},     {"12", 0x12, 0x00},    {"ABCD", 0xAB, 0xCD},
      {"abcd", 0xAB, 0xCD}, {"G1", 0x01, 0x00},    {"1", 0x10, 0x00},
      {"0A05", 0x0A, 0x05}, {"12345", 0x12, 0x34}, {"zz9f", 0x00, 0x9F},
  };
  for (const Case& c : cases) {
    const auto bytes = EncodeTransmitterCode(c.text);
    EXPECT_EQ(bytes[0], c.first) << c.text;
    EXPECT_EQ(bytes[1], c.second) << c.text;
  }
}

TEST(TransmitterCodeTest, DecodesToFourUpperCaseDigitsOrEmpty) {
  EXPECT_EQ(DecodeTransmitterCode(0x00, 0x00), "");
  EXPECT_EQ(DecodeTransmitterCode(0x0A, 0x05), "0A05");
  EXPECT_EQ(DecodeTransmitterCode(0x00, 0x01), "0001");
  EXPECT_EQ(DecodeTransmitterCode(0xAB, 0xCD), "ABCD");
}

TEST(HexPairTest, TextAndValue) {
  EXPECT_EQ(HexPairText(0x00), "00");
  EXPECT_EQ(HexPairText(0x0F), "0F");
  EXPECT_EQ(HexPairText(0xE7), "E7");
  EXPECT_EQ(HexPairValue("e7"), 0xE7);
  EXPECT_EQ(HexPairValue("7"), 0x70);
  EXPECT_EQ(HexPairValue(""), 0x00);
  EXPECT_EQ(HexPairValue("-F"), 0x0F);
  for (int value = 0; value < 256; ++value) {
    EXPECT_EQ(HexPairValue(HexPairText(static_cast<std::uint8_t>(value))), value);
  }
}

struct DialCase {
  std::string text;
  DialKind kind;
  DialField field;
  std::string decoded;  // what the field reads back as
};

TEST(DialDigitsTest, EncodesAndDecodesTheTable) {
  const DialCase cases[] = {
      {"1234A", DialKind::kAlarmCode, {0x12, 0x34, 0xCA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, "1234A"},
      {"0W123#", DialKind::kTelephone, {0x0B, 0x12, 0x3F, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, "0W123#"},
      {"123", DialKind::kTelephone, {0x12, 0x3A, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, "123"},
      {"", DialKind::kTelephone, {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, ""},
      // Lower case in either position of a pair.
      {"wtc*", DialKind::kTelephone, {0xBD, 0xCE, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, "WTC*"},
      {"a1t", DialKind::kAlarmCode, {0xC1, 0xDA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, "A1T"},
      // The letter of the other column, and anything unknown, is digit 0.
      {"1A", DialKind::kTelephone, {0x10, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, "10"},
      {"1C", DialKind::kAlarmCode, {0x10, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, "10"},
      {"+4", DialKind::kTelephone, {0x04, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, "04"},
      // A full field has no end nibble.
      {"0123456789WCT*#0",
       DialKind::kTelephone,
       {0x01, 0x23, 0x45, 0x67, 0x89, 0xBC, 0xDE, 0xF0},
       "0123456789WCT*#0"},
      {"123456789012345",
       DialKind::kAlarmCode,
       {0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34, 0x5A},
       "123456789012345"},
      // A longer text is cut at 16 characters and never written past the field.
      {"12345678901234567",
       DialKind::kTelephone,
       {0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34, 0x56},
       "1234567890123456"},
      {std::string(40, '9'),
       DialKind::kAlarmCode,
       {0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99},
       std::string(16, '9')},
  };
  for (const DialCase& c : cases) {
    EXPECT_EQ(EncodeDialDigits(c.text, c.kind), c.field) << c.text;
    EXPECT_EQ(DecodeDialDigits(c.field, c.kind), c.decoded) << c.text;
  }
}

TEST(DialDigitsTest, DecodingStopsAtTheFirstEndNibble) {
  const DialField field = {0x12, 0xA3, 0x45, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
  EXPECT_EQ(DecodeDialDigits(field, DialKind::kTelephone), "12");
  const DialField letters = {0xBC, 0xDE, 0xFA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
  EXPECT_EQ(DecodeDialDigits(letters, DialKind::kTelephone), "WCT*#");
  EXPECT_EQ(DecodeDialDigits(letters, DialKind::kAlarmCode), "WAT*#");
}

TEST(NumberTextTest, BigEndianWords) {
  const std::uint8_t two[] = {0x12, 0x34};
  const std::uint8_t four[] = {0xFF, 0xFF, 0xFF, 0xFE};
  EXPECT_EQ(ByteText(255), "255");
  EXPECT_EQ(Word16Text(two), "4660");
  EXPECT_EQ(Word32Text(four), "4294967294");

  std::uint8_t buffer[6] = {};
  WriteWord16(std::span<std::uint8_t, 2>(buffer, 2), 0xBEEF);
  WriteWord32(std::span<std::uint8_t, 4>(buffer + 2, 4), 0x01020304);
  EXPECT_EQ(Bytes(buffer, buffer + 6), (Bytes{0xBE, 0xEF, 0x01, 0x02, 0x03, 0x04}));
  EXPECT_EQ(ReadWord16(std::span<const std::uint8_t, 2>(buffer, 2)), 0xBEEF);
  EXPECT_EQ(ReadWord32(std::span<const std::uint8_t, 4>(buffer + 2, 4)), 0x01020304u);
}

TEST(ImageTextTest, ReadsUpToTerminatorAt255OrFieldEnd) {
  const Bytes terminated = {'a', 'b', 0, 'c'};
  EXPECT_EQ(ImageText(terminated), "ab");
  const Bytes unterminated = {'x', 'y', 'z'};
  EXPECT_EQ(ImageText(unterminated), "xyz");
  EXPECT_EQ(ImageText(Bytes{}), "");
  const Bytes long_field(300, 'q');
  EXPECT_EQ(ImageText(long_field), std::string(255, 'q'));
}

TEST(ImageTextTest, WritesWithinTheRoomAndKeepsTheRest) {
  struct Case {
    std::string text;
    std::size_t room;
    Bytes expected;  // field of room bytes followed by one guard byte, all 0xEE before
  };
  const Case cases[] = {
      {"ab", 4, {'a', 'b', 0, 0xEE, 0xEE}},
      {"abc", 4, {'a', 'b', 'c', 0, 0xEE}},
      {"abcd", 4, {'a', 'b', 'c', 0, 0xEE}},
      {"abcdefgh", 4, {'a', 'b', 'c', 0, 0xEE}},
      {"", 2, {0, 0xEE, 0xEE}},
      {"abc", 1, {0, 0xEE}},
      {"abc", 0, {0xEE}},
  };
  for (const Case& c : cases) {
    Bytes buffer(c.room + 1, 0xEE);
    WriteImageText(std::span<std::uint8_t>(buffer.data(), c.room), c.text);
    EXPECT_EQ(buffer, c.expected) << c.text << " in " << c.room;
  }
}

TEST(TextHelpersTest, SpacesAndNumberPairs) {
  EXPECT_EQ(RemoveSpaces(" 0049 123 45 "), "004912345");
  EXPECT_EQ(JoinNumberPair("0049123", "1"), "0049123,1");

  struct Case {
    std::string text, first, second;
  };
  const Case cases[] = {
      {"0049123,1", "0049123", "1"},
      {"0049123", "0049123", ""},
      {"1,2,3", "1", "2,3"},
      {",5", "", "5"},
      {"7,", "7", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const auto [first, second] = SplitNumberPair(c.text);
    EXPECT_EQ(first, c.first) << c.text;
    EXPECT_EQ(second, c.second) << c.text;
  }
}

TEST(TimerCodeTest, UnitFollowsTheRange) {
  struct Case {
    int code;
    TimerKind kind;
    int value;
    TimerUnit unit;
  };
  const Case cases[] = {
      {0, TimerKind::kHoursDaysMinutes, 0, TimerUnit::kHours},
      {1, TimerKind::kHoursDaysMinutes, 1, TimerUnit::kHours},
      {100, TimerKind::kHoursDaysMinutes, 100, TimerUnit::kHours},
      {101, TimerKind::kHoursDaysMinutes, 1, TimerUnit::kDays},
      {150, TimerKind::kHoursDaysMinutes, 50, TimerUnit::kDays},
      {200, TimerKind::kHoursDaysMinutes, 100, TimerUnit::kDays},
      {201, TimerKind::kHoursDaysMinutes, 1, TimerUnit::kMinutes},
      {255, TimerKind::kHoursDaysMinutes, 55, TimerUnit::kMinutes},
      {0, TimerKind::kHoursMinutes, 0, TimerUnit::kHours},
      {150, TimerKind::kHoursMinutes, 150, TimerUnit::kHours},
      {200, TimerKind::kHoursMinutes, 200, TimerUnit::kHours},
      {201, TimerKind::kHoursMinutes, 1, TimerUnit::kMinutes},
      {255, TimerKind::kHoursMinutes, 55, TimerUnit::kMinutes},
  };
  for (const Case& c : cases) {
    const TimerReading reading = TimerCodeText(static_cast<std::uint8_t>(c.code), c.kind);
    EXPECT_EQ(reading.value, c.value) << c.code;
    EXPECT_EQ(reading.unit, c.unit) << c.code;
  }
}

TEST(TenthVoltTest, EveryOneDecimalValueStoresTenTimesItself) {
  for (int tenths = 0; tenths <= 75; ++tenths) {
    // The value as the box's text parses it, not as the test would compute it.
    const std::string text = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    const double volts = std::strtod(text.c_str(), nullptr);
    EXPECT_EQ(EncodeTenthVolt(volts), std::optional<std::uint8_t>(tenths)) << text;
    EXPECT_EQ(TenthVoltText(static_cast<std::uint8_t>(tenths)), text);
    EXPECT_EQ(EncodeTenthVolt(DecodeTenthVolt(static_cast<std::uint8_t>(tenths))),
              std::optional<std::uint8_t>(tenths))
        << text;
  }
}

TEST(TenthVoltTest, DropsFurtherDecimalsAndRefusesOutOfRange) {
  EXPECT_EQ(EncodeTenthVolt(7.49), std::optional<std::uint8_t>(74));
  EXPECT_EQ(EncodeTenthVolt(0.09), std::optional<std::uint8_t>(0));
  EXPECT_EQ(EncodeTenthVolt(7.6), std::nullopt);
  EXPECT_EQ(EncodeTenthVolt(7.51), std::nullopt);
  EXPECT_EQ(EncodeTenthVolt(-0.1), std::nullopt);
  EXPECT_EQ(EncodeTenthVolt(std::strtod("nan", nullptr)), std::nullopt);
}

TEST(DuplexTest, TimeIsShiftedByThreeBits) {
  EXPECT_EQ(EncodeDuplex(125, DuplexForm::kTime), 1000u);
  EXPECT_EQ(DuplexText(1000, DuplexForm::kTime), "125");
  EXPECT_EQ(DuplexText(1001, DuplexForm::kTime), "125");
  EXPECT_EQ(DuplexText(1007, DuplexForm::kTime), "125");
  EXPECT_EQ(DuplexText(0, DuplexForm::kTime), "0");
  EXPECT_EQ(DecodeDuplex(1001, DuplexForm::kTime), 125.0);
}

TEST(DuplexTest, GainFormsStoreKnownValuesAndShowThemAgain) {
  struct Case {
    double value;
    DuplexForm form;
    std::uint32_t stored;
    std::string text;
  };
  const Case cases[] = {
      {0.5, DuplexForm::kAttack, 243189, "0.500"},
      {1.25, DuplexForm::kAttack, 614598, "1.250"},
      {6.0, DuplexForm::kAttack, 3162542, "6.000"},
      {-3.0, DuplexForm::kRelease, 15389335, "-3.000"},
      {0.0, DuplexForm::kRelease, 16777215, "0.000"},
      {0.75, DuplexForm::kRelease, 17143317, "0.750"},
      {-30.0, DuplexForm::kThreshold, 16777, "-30.000"},
      {-6.5, DuplexForm::kThreshold, 3755950, "-6.500"},
      {0.0, DuplexForm::kThreshold, 16777215, "0.000"},
      {24.0, DuplexForm::kThreshold, 4214245871u, "24.000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeDuplex(c.value, c.form), c.stored) << c.value;
    EXPECT_EQ(DuplexText(c.stored, c.form), c.text) << c.value;
  }
}

TEST(DuplexTest, StoredZeroShowsZeroAndOutOfRangeValuesAreHeld) {
  for (DuplexForm form : {DuplexForm::kAttack, DuplexForm::kRelease, DuplexForm::kThreshold}) {
    EXPECT_EQ(DuplexText(0, form), "0");
    EXPECT_EQ(DecodeDuplex(0, form), 0.0);
  }
  EXPECT_EQ(EncodeDuplex(-1.0, DuplexForm::kAttack), 0u);
  EXPECT_EQ(EncodeDuplex(-5.0, DuplexForm::kTime), 0u);
  EXPECT_EQ(EncodeDuplex(30.0, DuplexForm::kThreshold), 0xFFFFFFFFu);
  EXPECT_EQ(EncodeDuplex(1e300, DuplexForm::kRelease), 0xFFFFFFFFu);
  EXPECT_EQ(EncodeDuplex(1e12, DuplexForm::kTime), 0xFFFFFFFFu);
  EXPECT_EQ(EncodeDuplex(std::strtod("nan", nullptr), DuplexForm::kThreshold), 0u);
  // The largest stored release is far from the rounding's limits.
  EXPECT_EQ(DuplexText(0xFFFFFFFF, DuplexForm::kRelease), "192.659");
}

TEST(DuplexTest, ThreeDecimalsRoundHalfUp) {
  struct Case {
    double value;
    std::string text;
  };
  const Case cases[] = {
      {1.0005, "1.001"},  {1.0004, "1.000"},   {2.0, "2.000"},      {0.0, "0.000"},
      {-0.0004, "0.000"}, {-1.25, "-1.250"},   {-1.2506, "-1.251"}, {192.65919, "192.659"},
      {0.0015, "0.002"},  {12.3455, "12.346"},
  };
  for (const Case& c : cases) EXPECT_EQ(ThreeDecimalsText(c.value), c.text) << c.value;
}

TEST(VersionTextTest, MajorMinorBuildAndReleaseType) {
  struct Case {
    std::array<std::uint8_t, 6> record;
    std::string text;
  };
  const Case cases[] = {
      {{0x00, 0x00, 0x02, 5, 17, 0}, "2.5.17 Alpha"},
      {{0x00, 0x01, 0x00, 0, 3, 1}, "256.0.3 Beta"},
      {{0x01, 0x00, 0x01, 255, 255, 2}, "65537.255.255 Release"},
      {{0xFF, 0xFF, 0xFF, 1, 2, 0xFF}, "16777215.1.2 Release"},
  };
  for (const Case& c : cases) EXPECT_EQ(VersionText(c.record), c.text);
}

TEST(KeyFilterTest, AcceptExactlyTheirCharacters) {
  struct Case {
    bool (*filter)(char);
    const char* name;
    std::string accepted;  // besides the editing keys
  };
  const Case cases[] = {
      {AcceptsHexKey, "hex", "0123456789ABCDEFabcdef"},
      {AcceptsDialKey, "dial", "0123456789#*CTWctw"},
      {AcceptsAlarmCodeKey, "alarm code", "0123456789#*ATWatw"},
      {AcceptsDigitKey, "digit", "0123456789"},
      {AcceptsSignedKey, "signed", "0123456789+-"},
      {AcceptsPlusKey, "plus", "0123456789+"},
      {AcceptsCommaKey, "comma", "0123456789,"},
  };
  const std::string editing_keys = {3, 8, 22, 24};
  for (const Case& c : cases) {
    for (int code = -128; code < 128; ++code) {
      const char key = static_cast<char>(code);
      const bool expected =
          c.accepted.find(key) != std::string::npos || editing_keys.find(key) != std::string::npos;
      EXPECT_EQ(c.filter(key), expected) << c.name << " key " << code;
    }
  }
}

}  // namespace
}  // namespace vyn
