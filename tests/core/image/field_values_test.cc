#include "core/image/field_values.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "core/image/image_file.h"
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

// Fields whose text form does not read back to the same bytes for every content, and why. Every
// other field's text form must, whatever its bytes hold.
struct LossyEncoding {
  FieldEncoding encoding;
  const char* reason;
};
constexpr LossyEncoding kLossy[] = {
    {FieldEncoding::kText,
     "a text is stored as the editor stores it: spaces removed (but for the server names and "
     "the SIP passwords), only printable ASCII, at most its room less the 0 byte; the raw form "
     "cannot stand in, since \"0x41\" is a text like any other"},
    {FieldEncoding::kTelephoneSlot, "stored through the number pool together with the others"},
    {FieldEncoding::kNumberPool, "a summary; the pool is written through the numbers"},
    {FieldEncoding::kVersion, "filled by the unit; never written from text"},
};

const char* LossyReason(const FieldInfo& field) {
  for (const LossyEncoding& lossy : kLossy) {
    if (lossy.encoding == field.encoding) return lossy.reason;
  }
  return nullptr;
}

std::vector<std::uint8_t> FieldBytes(const ParameterImage& image, const FieldInfo& field) {
  return {image.begin() + field.address, image.begin() + field.last() + 1};
}

// The delivered default configuration, random images and random images of small values.
std::vector<ParameterImage> RoundTripImages() {
  std::vector<ParameterImage> images;
  ParameterImage delivered{};
  bool short_layout = false;
  EXPECT_EQ(ReadImageFile(std::string(VYN_BIN_DIR) + "/Default.b", delivered, short_layout),
            ImageFileResult::kOk);
  images.push_back(delivered);
  std::mt19937 random(2048);
  for (int i = 0; i < 64; ++i) {
    ParameterImage image;
    for (std::uint8_t& b : image) b = static_cast<std::uint8_t>(random() % (i % 2 ? 256 : 3));
    images.push_back(image);
  }
  return images;
}

TEST(FieldValuesTest, EveryTextFormReadsBackToTheSameBytes) {
  const std::vector<ParameterImage> images = RoundTripImages();
  for (const ParameterImage& image : images) {
    for (const FieldInfo& field : FieldCatalogue()) {
      if (field.alternate || LossyReason(field) || field.never_written) continue;
      const std::string text = FieldTextForm(image, field, false);
      // The values the tool writes itself read back from their own text; of the default
      // configuration only the duplex gains stored as 0 (no gain) need their raw bytes.
      if (&image == &images.front()) {
        const bool zero_gain = field.encoding == FieldEncoding::kDuplex &&
                               (field.duplex_form == DuplexForm::kRelease ||
                                field.duplex_form == DuplexForm::kThreshold);
        EXPECT_EQ(text != FieldValueText(image, field, false), zero_gain) << field.name;
      }
      // Parsed over other bytes, so that every byte of the field must come from the text.
      ParameterImage parsed = image;
      for (int a = field.address; a <= field.last(); ++a) parsed[a] ^= 0x5A;
      ASSERT_EQ(ParseFieldValue(parsed, field, text), FieldParseResult::kOk)
          << field.name << " '" << text << "'";
      EXPECT_EQ(FieldBytes(parsed, field), FieldBytes(image, field))
          << field.name << " '" << text << "'";
    }
  }
}

// The lossy encodings still read back where the content is one the editor stores.
TEST(FieldValuesTest, TextsTheEditorStoresReadBack) {
  for (const FieldInfo& field : FieldCatalogue()) {
    if (field.encoding != FieldEncoding::kText || field.never_written) continue;
    ParameterImage image;
    image.fill(0x33);
    const std::string text = std::string(static_cast<std::size_t>(field.max_chars) - 1, 'x') +
                             (field.keep_spaces ? " " : "y");
    WriteImageText(std::span<std::uint8_t>(image).subspan(field.address, field.width), text);
    ParameterImage parsed;
    parsed.fill(0x33);
    ASSERT_EQ(ParseFieldValue(parsed, field, FieldTextForm(image, field, false)),
              FieldParseResult::kOk)
        << field.name;
    EXPECT_EQ(parsed, image) << field.name;
  }
}

TEST(FieldValuesTest, TextFormShowsRawBytesWhereTheValueWouldNotReadBack) {
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* text_form;
  } cases[] = {
      // The table shows a stored 0 as 0, which the table would store as 0 dB (00 FF FF FF).
      {"DuplexSignalRelease", {0, 0, 0, 0}, "0x00000000"},
      {"DuplexSpeechThreshold", {0, 0, 0, 0}, "0x00000000"},
      {"DuplexSignalAttack", {0, 0, 0, 0}, "0"},
      {"DuplexSignalDetect", {0x00, 0x00, 0x03, 0xE9}, "0x000003E9"},  // 125 ms and one bit
      {"DuplexSignalDetect", {0x00, 0x00, 0x03, 0xE8}, "125"},
      {"AlarmButtonIllumination", {0x80}, "1"},
      {"AlarmButtonIllumination", {0x05}, "0x05"},
      {"DiallingInSpeaker", {3}, "0x03"},
      {"GsmEnable", {2}, "0x02"},
      {"TimeZoneGroup", {13}, "0x0D"},
      {"BatteryThreshold", {76}, "0x4C"},
      {"GsmPin", {0x27, 0x10}, "0x2710"},
      {"AlarmCode.A", {0x12, 0x3A, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, "123"},
      {"AlarmCode.A", {0x12, 0x3A, 0x00, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, "0x123A00AAAAAAAAAA"},
  };
  for (const auto& c : cases) {
    const FieldInfo& field = *FindField(c.name);
    ParameterImage image{};
    std::copy(c.bytes.begin(), c.bytes.end(), image.begin() + field.address);
    const std::string text_form = FieldTextForm(image, field, false);
    EXPECT_EQ(text_form, c.text_form) << c.name;
    EXPECT_EQ(FieldTextFormIsNumber(field, text_form),
              FieldValueIsNumber(field) && text_form[1] != 'x')
        << c.name;
  }
}

}  // namespace
}  // namespace vyn
