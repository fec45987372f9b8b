#include "core/image/field_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vyn {
namespace {

TEST(FieldCodecTest, EveryEncodingHasAConsistentRow) {
  for (int e = 0; e < kFieldEncodingCount; ++e) {
    SCOPED_TRACE(e);
    const FieldCodec& codec = CodecFor(static_cast<FieldEncoding>(e));
    ASSERT_NE(codec.text, nullptr);
    ASSERT_NE(codec.parse, nullptr);
    // A number-valued encoding reads and writes its number; the others have neither.
    EXPECT_EQ(codec.read != nullptr, codec.syntax != NumberSyntax::kNone);
    EXPECT_EQ(codec.write != nullptr, codec.read != nullptr);
    if (codec.number_text) {
      EXPECT_NE(codec.read, nullptr);
    }
    EXPECT_LE(codec.min_value, codec.max_value);
  }
}

// The numbers the editor's controls bind to, in the unit each field is shown in.
TEST(FieldCodecTest, ReadAndWriteUseTheFieldsUnitAndStoringRules) {
  const struct {
    const char* name;
    double value;
    std::vector<std::uint8_t> bytes;
    double read_back;
  } cases[] = {
      {"AlarmButtonIllumination", 1, {0x80}, 1},
      {"DiallingInSpeaker", 3, {1}, 1},
      {"MaxConversationTime", 605, {60}, 600},
      {"AssemblyDate.Year", 2012, {12}, 2012},
      {"BatteryThreshold", 7.5, {75}, 7.5},
      {"TimeZoneGroup", -3, {0xFD}, -3},
      {"RadioClass1Calibration", -2, {0xFF, 0xFF, 0xFF, 0xFE}, -2},
      {"PcbProductionData.Serial", 0x12345678, {0x78, 0x56, 0x34, 0x12}, 0x12345678},
      {"SerialNumber", 0x123456, {0x12, 0x34, 0x56}, 0x123456},
      {"Sip1Expire", 4294967295.0, {0xFF, 0xFF, 0xFF, 0xFF}, 4294967295.0},
      {"DuplexSignalDetect", 125, {0x00, 0x00, 0x03, 0xE8}, 125},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const FieldInfo& field = *FindField(c.name);
    const FieldCodec& codec = CodecOf(field);
    ParameterImage image{};
    ASSERT_TRUE(codec.write(image, field, c.value));
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + field.address,
                                        image.begin() + field.address + c.bytes.size()),
              c.bytes);
    EXPECT_DOUBLE_EQ(codec.read(image, field), c.read_back);
  }
}

TEST(FieldCodecTest, WriteRefusesWhatTheEncodingCannotHold) {
  ParameterImage image{};
  EXPECT_FALSE(
      CodecOf(*FindField("BatteryThreshold")).write(image, *FindField("BatteryThreshold"), 7.6));
  EXPECT_FALSE(
      CodecOf(*FindField("DuplexSignalHold")).write(image, *FindField("DuplexSignalHold"), -1));
  EXPECT_EQ(image, ParameterImage{});
}

TEST(FieldCodecTest, TextEncodingsHaveNoNumber) {
  for (const char* name : {"NtpServer", "AlarmCode.A", "TransmitterCode.1", "StaticIp",
                           "MacAddress", "BootVersion", "TelephoneNumber.A", "NumberPool"}) {
    EXPECT_EQ(CodecOf(*FindField(name)).read, nullptr) << name;
  }
}

}  // namespace
}  // namespace vyn
