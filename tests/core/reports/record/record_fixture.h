#pragma once

// What the printed record's tests share: fixed dates, the build's settings file and default
// configuration in a temporary folder, a fuller image, and printing onto a recording canvas.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core/image/field_catalogue.h"
#include "core/image/field_values.h"
#include "core/image/number_pool.h"
#include "core/image/vyn_data.h"
#include "core/reports/record/recording_canvas.h"
#include "core/reports/record/vyn_print.h"
#include "core/strings/string_table.h"
#include "support/temp_folder.h"

namespace vyn::testing {

// Today is 3 June 2024; German month names.
class FixedDates : public DateTexts {
 public:
  CalendarDate Today() const override { return {2024, 6, 3}; }
  std::string ShortDate(const CalendarDate& date) const override {
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", date.day, date.month, date.year);
    return text;
  }
  std::string ShortMonthName(int month) const override {
    static const char* const kNames[] = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                                         "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    return month >= 1 && month <= 12 ? kNames[month - 1] : "";
  }
};

// Writes `text` in the field's display form; raw bytes where the field has no writable form.
inline void SetField(ParameterImage& image, const std::string& name, const std::string& text) {
  const FieldInfo* field = FindField(name);
  ASSERT_NE(field, nullptr) << name;
  ASSERT_EQ(ParseFieldValue(image, *field, text), FieldParseResult::kOk) << name << " = " << text;
}

inline void SetBytes(ParameterImage& image, const std::string& name,
                     const std::vector<std::uint8_t>& bytes) {
  const FieldInfo* field = FindField(name);
  ASSERT_NE(field, nullptr) << name;
  for (std::size_t i = 0; i < bytes.size(); ++i) image[field->address + i] = bytes[i];
}

inline ParameterImage DefaultImage() {
  const std::string bytes = TempFolder::Read(std::string(VYN_BIN_DIR) + "/Default.b");
  ParameterImage image{};
  EXPECT_EQ(bytes.size(), image.size());
  for (std::size_t i = 0; i < bytes.size() && i < image.size(); ++i) {
    image[i] = static_cast<std::uint8_t>(bytes[i]);
  }
  return image;
}

// The default configuration with transmitters, numbers, ID codes, timers, GSM, network, SIP
// and the server filled in, and values that the lists do not hold.
inline ParameterImage FullImage() {
  ParameterImage image = DefaultImage();
  const std::pair<const char*, const char*> fields[] = {
      {"TransmitterCode.1", "1A2B"},
      {"TransmitterCode.2", "0C3D"},
      {"TransmitterCode.5", "FFFE"},
      {"TransmitterAlarmType.2", "2"},
      {"TransmitterAlarmType.5", "5"},
      {"TransmitterAlarmType.8", "99"},  // not in the list
      {"RadioTestBits", "0x13"},
      {"Protocol.B", "22"},
      {"Protocol.C", "23"},
      {"Protocol.D", "30"},  // not in the list
      {"CallAttempts.B", "10"},
      {"CallAttempts.C", "105"},
      {"AccountToUse.A", "1"},
      {"AccountToUse.B", "2"},
      {"AccountToUse.C", "3"},
      {"AccountToUse.D", "7"},
      {"CallSequence.4.2", "7"},
      {"PassiveAlarmInterval", "150"},
      {"MainsFailureDelay", "0"},
      {"TestAlarmInterval", "205"},
      {"MaxConversationTime", "120"},
      {"TimeZoneGroup", "-5"},
      {"DaylightSaving", "1"},
      {"GsmEnable", "1"},
      {"GsmPin", "12"},
      {"ShowPinOnRecord", "1"},
      {"SmsServiceCenter", "+491710760000"},
      {"GsmOwnNumber", "+4917612345678"},
      {"SerialNumber", "123456"},
      {"NetworkEnable", "1"},
      {"WanEnable", "1"},
      {"NtpServer", "pool.ntp.org"},
      {"StunServer", "stun.example.net"},
      {"PingServer", "8.8.8.8"},
      {"StaticIpEnable", "1"},
      {"StaticIp", "192.168.1.50"},
      {"GatewayIp", "192.168.1.1"},
      {"DnsServerIp", "192.168.1.2"},
      {"NetworkMask", "255.255.255.0"},
      {"Sip1Enable", "1"},
      {"Sip1Number", "4930123456"},
      // 63 characters: wider than the room beside its caption.
      {"Sip1Server", "sip-registrar.telecare-operations.eu-central.example.net:5060/x"},
      {"Sip1UserName", "vyn1001"},
      {"Sip1Password", "geheim 42"},
      {"Sip1Expire", "3600"},
      {"Sip1ServerPort", "5060"},
      {"Sip2Enable", "0"},
      {"LocalSipPort", "5062"},
      {"RtpPort", "10000"},
      {"WebServiceEnable", "1"},
      {"WebServiceServer", "service.kemb.example"},
  };
  for (const auto& [name, value] : fields) SetField(image, name, value);
  SetBytes(image, "GsmNumberFromSim", {'+', '4', '9', '1', '7', '6', '5', '5', '5', 0});
  SetBytes(image, "MacAddress", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E});
  // May 2024: one decimal digit to a nibble.
  SetBytes(image, "AssemblyDate.Year", {0x24});
  SetBytes(image, "AssemblyDate.Month", {0x05});
  const NumberTexts numbers = {"0401234567",          "*31#0711555", "",
                               "0049891234567890123", "112",         "07111234"};
  const NumberTexts alarm_codes = {"1234", "1234", "98765", "", "A12", ""};
  EXPECT_EQ(StoreNumbers(image, numbers, alarm_codes), NumberStoreResult::kOk);
  return image;
}

class RecordFixture : public ::testing::Test {
 protected:
  RecordFixture() {
    settings_file_ = folder_.Write(
        "Values.ini", TempFolder::Read(std::string(VYN_SOURCE_DIR) + "/data/Values.ini"));
    folder_.Write("vyn_logo.png", "picture");
    data_.WorkingImage = DefaultImage();
    data_.ReferenceImage = data_.WorkingImage;
  }

  // The record of data_ with inputs_ on a recording canvas.
  RecordingCanvas Print(const StringTable& strings = StringTable::Builtin()) {
    RecordingCanvas canvas;
    Print(canvas, strings);
    return canvas;
  }
  void Print(Canvas& canvas, const StringTable& strings = StringTable::Builtin()) {
    VynPrint print(strings, settings_file_, folder_.Path().string(), dates_);
    print.SetInputs(inputs_);
    EXPECT_TRUE(print.PrintRecord(data_, canvas));
  }

  TempFolder folder_;
  std::string settings_file_;
  FixedDates dates_;
  VynData data_;
  RecordInputs inputs_;
};

}  // namespace vyn::testing
