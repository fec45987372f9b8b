#include "core/image/field_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/image/number_pool.h"

namespace vyn {
namespace {

TEST(FieldValuesTest, ParsesTheDisplayFormAndShowsItAgain) {
  const struct {
    const char* name;
    const char* text;
    std::vector<std::uint8_t> bytes;
    const char* shown;  // nullptr: as entered
  } cases[] = {
      {"TransmitterCode.3", "ABCD", {0xAB, 0xCD}, nullptr},
      {"TransmitterCode.3", "", {0x00, 0x00}, nullptr},
      {"StaticIp", "192.168.1.20", {192, 168, 1, 20}, nullptr},
      {"MacAddress",
       "00-1a-2B-3C-4D-5E",
       {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E},
       "00-1A-2B-3C-4D-5E"},
      {"BatteryThreshold", "7.5", {75}, nullptr},
      {"MaxConversationTime", "605", {60}, "600"},
      {"AssemblyDate.Year", "2012", {12}, nullptr},
      {"TimeZoneGroup", "-3", {0xFD}, nullptr},
      {"GsmPin", "42", {0x00, 0x2A}, "0042"},
      {"SerialNumber", "1193046", {0x12, 0x34, 0x56}, nullptr},
      {"PcbProductionData.Serial", "305419896", {0x78, 0x56, 0x34, 0x12}, nullptr},
      {"RadioClass1Calibration", "-2", {0xFF, 0xFF, 0xFF, 0xFE}, nullptr},
      {"AlarmButtonIllumination", "1", {0x80}, nullptr},
      {"DiallingInSpeaker", "3", {1}, "1"},
      {"AlarmTypeDefinition.DoorAlarm", "0xB2", {0xB2}, nullptr},
      {"AlarmCode.A", "1234A", {0x12, 0x34, 0xCA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, nullptr},
      {"DuplexSignalDetect", "125", {0x00, 0x00, 0x03, 0xE8}, nullptr},
      {"SmsServiceCenter", "+49 171 0", {'+', '4', '9', '1', '7', '1', '0', 0}, "+491710"},
      {"NtpServer", "ntp 1", {'n', 't', 'p', ' ', '1', 0}, nullptr},
  };
  for (const auto& c : cases) {
    const FieldInfo& field = *FindField(c.name);
    ParameterImage image{};
    ASSERT_EQ(ParseFieldValue(image, field, c.text), FieldParseResult::kOk) << c.name;
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + field.address,
                                        image.begin() + field.address + c.bytes.size()),
              c.bytes)
        << c.name;
    EXPECT_EQ(FieldValueText(image, field, false), c.shown ? c.shown : c.text) << c.name;
  }
}

TEST(FieldValuesTest, RefusesValuesOutsideTheFieldWithoutWriting) {
  const struct {
    const char* name;
    const char* text;
    FieldParseResult result;
  } cases[] = {
      {"ReminderTime", "255", FieldParseResult::kOutOfRange},
      {"TestAlarmInterval", "0", FieldParseResult::kOutOfRange},
      {"TimeZoneGroup", "13", FieldParseResult::kOutOfRange},
      {"RingsBeforeAnswer", "12", FieldParseResult::kOutOfRange},
      {"BatteryThreshold", "7.6", FieldParseResult::kOutOfRange},
      {"BatteryThreshold", "-0.1", FieldParseResult::kOutOfRange},
      {"RepeatSequence", "2x", FieldParseResult::kBadValue},
      {"RepeatSequence", "", FieldParseResult::kBadValue},
      {"StaticIp", "1.2.3", FieldParseResult::kBadValue},
      {"StaticIp", "1.2.3.256", FieldParseResult::kOutOfRange},
      {"TransmitterCode.1", "12G4", FieldParseResult::kBadValue},
      {"AlarmCode.A", "12C4", FieldParseResult::kBadValue},
      {"AlarmCode.A", "12345678901234567", FieldParseResult::kTooLong},
      {"AccessPassword", "123456789", FieldParseResult::kTooLong},
      {"Sip1UserName", "uuuuuuuuuuuuuuuuuuuuu", FieldParseResult::kTooLong},  // room 21
      {"BootVersion", "1.2.3 Release", FieldParseResult::kNotWritable},
      {"GsmNumberFromSim", "0171", FieldParseResult::kNotWritable},
      {"TelephoneNumber.A", "0301234", FieldParseResult::kNeedsPool},
  };
  for (const auto& c : cases) {
    ParameterImage image;
    image.fill(0x33);
    EXPECT_EQ(ParseFieldValue(image, *FindField(c.name), c.text), c.result) << c.name << c.text;
    EXPECT_TRUE(std::all_of(image.begin(), image.end(), [](std::uint8_t b) { return b == 0x33; }))
        << c.name;
  }
}

TEST(FieldValuesTest, TimeZoneGroupFollowsTheListValue) {
  const int cases[][2] = {{0, 0}, {1, 0}, {2, 1}, {6, 1}, {7, 2}, {13, 2}, {14, 14}, {16, 16}};
  for (const auto& c : cases) EXPECT_EQ(TimeZoneGroupFor(c[0]), c[1]) << c[0];
}

TEST(FieldValuesTest, TelephoneNumbersShowFromThePoolOrTheShortLayoutSlot) {
  ParameterImage image{};
  StoreTelephoneNumbers(image, {"0301234", "", "", "", "", ""});
  const FieldInfo& a = *FindField("TelephoneNumber.A");
  EXPECT_EQ(FieldValueText(image, a, false), "0301234");
  const std::uint8_t dial[8] = {0x0B, 0x12, 0x3F, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
  std::copy(dial, dial + 8, image.begin() + 0x010);
  EXPECT_EQ(FieldValueText(image, a, true), "0W123#");
}

TEST(FieldValuesTest, ValidationReportsListsTheTestIntervalAndTheTimeZoneGroup) {
  ParameterImage image{};
  image[0x0C2] = 24;
  const auto all_in_list = [](const FieldInfo&, std::uint8_t) { return true; };
  EXPECT_TRUE(ValidateImage(image, all_in_list).empty());

  image[0x0C2] = 0;
  image[0x140] = 13;
  std::vector<InvalidByte> invalid = ValidateImage(image, all_in_list);
  ASSERT_EQ(invalid.size(), 2u);
  EXPECT_EQ(invalid[0].address, 194);
  EXPECT_EQ(invalid[1].address, 320);
  EXPECT_EQ(invalid[1].value, 13);

  // Only the lists whose invalid values the load reports count.
  image[0x0C2] = 24;
  image[0x140] = 0xF4;  // -12
  const auto codes_below_7 = [](const FieldInfo&, std::uint8_t code) { return code < 7; };
  image[0x070] = 9;   // CallSequence.1.1
  image[0x08A] = 99;  // Protocol.A: not reported
  image[0x467] = 99;  // AccountToUse.A: not reported
  image[0x4F8] = 99;  // DiallingInSpeaker: read as on/off
  invalid = ValidateImage(image, codes_below_7);
  ASSERT_EQ(invalid.size(), 1u);
  EXPECT_EQ(invalid[0].address, 0x070);
  EXPECT_EQ(invalid[0].field->name, "CallSequence.1.1");
}

}  // namespace
}  // namespace vyn
