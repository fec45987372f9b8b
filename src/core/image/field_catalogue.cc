#include "core/image/field_catalogue.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>

#include "core/image/field_codec.h"
#include "core/strings/edition.h"

namespace vyn {
namespace {

using E = FieldEncoding;

class Builder {
 public:
  FieldInfo& Add(std::string name, int address, int width, E encoding, std::string label) {
    FieldInfo field;
    field.name = std::move(name);
    field.address = static_cast<std::uint16_t>(address);
    field.width = static_cast<std::uint16_t>(width);
    field.encoding = encoding;
    field.label = std::move(label);
    field.min_value = CodecFor(encoding).min_value;
    field.max_value = CodecFor(encoding).max_value;
    if (encoding == E::kText) field.max_chars = width - 1;
    fields_.push_back(std::move(field));
    return fields_.back();
  }
  FieldInfo& Byte(std::string name, int address, std::string label) {
    return Add(std::move(name), address, 1, E::kByte, std::move(label));
  }
  FieldInfo& Flag(std::string name, int address, std::string label) {
    return Add(std::move(name), address, 1, E::kFlag, std::move(label));
  }
  FieldInfo& List(std::string name, int address, std::string section, std::string label) {
    FieldInfo& field = Add(std::move(name), address, 1, E::kList, std::move(label));
    field.list_section = std::move(section);
    return field;
  }
  FieldInfo& Text(std::string name, int address, int room, std::string label) {
    return Add(std::move(name), address, room, E::kText, std::move(label));
  }
  FieldInfo& Definition(std::string name, int address, std::string label,
                        std::string label_other = {}) {
    FieldInfo& field = Add("AlarmTypeDefinition." + std::move(name), address, 1,
                           E::kAlarmDefinition, std::move(label));
    field.label_other = std::move(label_other);
    return field;
  }
  std::vector<FieldInfo> Take() { return std::move(fields_); }

 private:
  std::vector<FieldInfo> fields_;
};

FieldInfo& Advanced(FieldInfo& field, int row, bool address_in_settings = false) {
  field.advanced_row = row;
  field.advanced_address_in_settings = address_in_settings;
  return field;
}

FieldInfo& Product(FieldInfo& field) {
  field.product_info = true;
  return field;
}

// A field the text list has no line for.
FieldInfo& Unlisted(FieldInfo& field) {
  field.in_text_list = false;
  return field;
}

FieldInfo& Range(FieldInfo& field, long long min_value, long long max_value) {
  field.min_value = min_value;
  field.max_value = max_value;
  return field;
}

std::string Letter(int i) { return std::string(1, kNumberLetters[i]); }

void AddAlarmSources(Builder& b) {
  for (int n = 1; n <= 8; ++n) {
    b.Add("TransmitterCode." + std::to_string(n), 2 * (n - 1), 2, E::kTransmitterCode,
          "ID code, transmitter " + std::to_string(n));
  }
  for (int i = 0; i < 6; ++i) {
    b.Add("TelephoneNumber." + Letter(i), 0x010 + 8 * i, 8, E::kTelephoneSlot,
          "Telephone number " + Letter(i));
  }
  for (int i = 0; i < 6; ++i) {
    b.Add("AlarmCode." + Letter(i), 0x040 + 8 * i, 8, E::kAlarmCode, "Alarm code " + Letter(i));
  }
  for (int s = 1; s <= 4; ++s) {
    for (int t = 1; t <= 4; ++t) {
      b.List("CallSequence." + std::to_string(s) + "." + std::to_string(t),
             0x070 + 4 * (s - 1) + (t - 1), "CallSequence",
             "Call sequence " + std::to_string(s) + ", step " + std::to_string(t));
    }
  }
  struct Group {
    const char* name;
    const char* kemb;
    const char* other;
  };
  static constexpr Group kGroups[] = {
      {"User", "User", "Medical"},
      {"External", "External", "External"},
      {"Technical", "Technical", "Power"},
      {"SmokeDetector", "Smoke detector", "Smoke detector"},
      {"Burglar", "Burglar", "Assault"},
      {"Staff", "Staff", "Presence"},
      {"Test", "Test", "Test"},
      {"UserActivity", "User activity", "Emergency"},
      {"Assistance", "Assistance", "Assistance"},
      {"UserDefined", "User defined", "User defined"},
  };
  for (int g = 0; g < 10; ++g) {
    FieldInfo& field =
        b.List(std::string("SequenceNumber.") + kGroups[g].name, 0x080 + g, "SequenceNumber",
               std::string("Sequence for ") + kGroups[g].kemb + " alarms");
    if (std::string(kGroups[g].kemb) != kGroups[g].other) {
      field.label_other = std::string("Sequence for ") + kGroups[g].other + " alarms";
    }
  }
  for (int i = 0; i < 6; ++i) {
    b.List("Protocol." + Letter(i), 0x08A + i, "Protocol", "Protocol " + Letter(i)).list_reported =
        false;
  }
  struct Source {
    const char* name;
    const char* kemb;
    const char* other;
  };
  static constexpr Source kSources[] = {
      {"UserAlarmFromTrigger", "User alarm from trigger", ""},
      {"UserAlarmFromButton", "User alarm from button", ""},
      {"ReminderAlarm", "Reminder alarm", ""},
      {"PassiveAlarm", "Passive alarm", ""},
      {"DoorAlarm", "Door alarm", ""},
      {"BedAlarm", "Bed alarm", ""},
      {"HomeIndication", "Home indication", "Carpet alarm"},
      {"MainsFailureAlarm", "Mains failure alarm", ""},
      {"MainsOkIndication", "Mains OK indication", ""},
      {"AccumulatorAlarm", "Accumulator alarm", ""},
      {"BatteryAlarm", "Battery alarm", ""},
      {"SmokeDetectorAlarm", "Smoke detector alarm", ""},
      {"BurglarAlarm", "Burglar alarm", "Assault alarm"},
      {"PresenceIndication", "Presence indication", ""},
      {"ReadyIndication", "Ready indication", ""},
      {"AutoReadyIndication", "Auto ready indication", ""},
      {"ActionIndication", "Action indication", ""},
      {"TestAlarm", "Test alarm", ""},
      {"AccumulatorFull", "Accumulator full", "Emergency alarm"},
      {"AssistanceAlarm", "Assistance alarm", ""},
      {"UserDefinedAlarmType", "User defined alarm type", ""},
      {"UserAlarmTriggerLowBattery", "User alarm, trigger low batt", ""},
      {"RadioInterferenceAlarm", "Radio interference alarm", ""},
      {"LogCall", "Log call", ""},
  };
  for (int i = 0; i < 24; ++i) {
    b.Definition(kSources[i].name, 0x090 + i, kSources[i].kemb, kSources[i].other);
  }
  for (int n = 1; n <= 8; ++n) {
    b.List("TransmitterAlarmType." + std::to_string(n), 0x0A7 + n, "AlarmType",
           "Transmitter " + std::to_string(n));
  }
  b.Add("RadioTestBits", 0x0B0, 1, E::kBits, "Radio test alarm on/off");
  // Outside the KEMB editions the same byte is the auto-answer duration when the build has
  // text 13227, otherwise reserved.
  b.Add("AutoAnswerDuration", 0x0B0, 1, E::kTensOfSeconds, "Auto answer duration, Paging")
      .alternate = true;
  b.Byte("RadioTestAlarmPeriod", 0x0B1, "Radio test alarm period");
  b.List("ExtraButtonAlarmType", 0x0B2, "AlarmType", "Extra button").list_mode =
      ListMode::kStopAtSeparator;
  b.Byte("UserDefinedAlarmTypeId", 0x0B3, "User defined alarm type ID");
  for (int i = 0; i < 6; ++i) {
    b.Byte("CallAttempts." + Letter(i), 0x0B4 + i, "No of attempts " + Letter(i));
  }
  b.Byte("RepeatSequence", 0x0BA, "Cycles of sequence");
  b.Byte("MaxReminderAlarms", 0x0BB, "Max reminder alarms");
  b.Byte("MaxCallAttempts", 0x0BC, "Max no of call attempts");
  b.List("RequireDisconnection", 0x0BD, "YesNo", "Require disconnection");
  Range(b.Byte("ReminderTime", 0x0BF, "Reminder alarm"), 0, 254);
  Range(b.Add("PassiveAlarmInterval", 0x0C0, 1, E::kTimer, "Passive alarm"), 0, 254);
  b.Add("MainsFailureDelay", 0x0C1, 1, E::kTimer, "Mains failure alarm").timer_kind =
      TimerKind::kHoursMinutes;
  Range(b.Add("TestAlarmInterval", 0x0C2, 1, E::kTimer, "Test alarm interval"), 1, 255)
      .load_checks_range = true;
  b.Byte("BlockTime", 0x0C3, "Dementia function");
  b.Byte("BatteryCheckInterval", 0x0C4, "Battery check interval");
  b.Byte("MaxTimeInPresence", 0x0C5, "Max time in presence mode");
  b.List("WarningFunctions", 0x0C6, "WarningFunction", "Warning functions");
  b.List("SignalLevel", 0x0C7, "LoudspeakerVolume", "Signal level");
  b.List("ConversationLevel", 0x0C8, "LoudspeakerVolume", "Conversation level");
  b.List("PrecallSignalType", 0x0C9, "PrecallType", "Pre-call signal type");
  b.Byte("PrecallSignalDelay", 0x0CA, "Pre-call Signal delay");
  b.List("RingingSignalInSpeaker", 0x0CB, "YesNo", "Ringing signal in speaker");
  b.Add("AlarmButtonIllumination", 0x0CD, 1, E::kLedFlag, "Alarm button illumination");
  b.Byte("TimeToWaitForAnswer", 0x0D1, "Time to wait for answer");
  b.Byte("TimeBetweenCalls", 0x0D3, "Time in between call attempts");
  b.Add("MaxConversationTime", 0x0D4, 1, E::kTensOfSeconds, "Max conversation time");
  Range(b.Byte("RingsBeforeAnswer", 0x0D8, "Signals before answer in home phone"), 0, 10);
  b.List("TransmitterAnswer", 0x0D9, "YesNo", "Transmitter answer");
  b.List("IndicationInBatteryMode", 0x0DA, "YesNo", "Indication during call in battery mode");
  b.List("ResetTestAlarmTimer", 0x0DB, "YesNo", "Reset test alarm timer for all alarms");
  b.Byte("InterferenceAlarmGap", 0x0DC, "Min time between interference alarms");
  b.Definition("RadioOutOfRange", 0x0DD, "Radio out of range");
  b.Definition("RadioWithinRange", 0x0DE, "Radio within range");
  b.Definition("AwayIndication", 0x0DF, "Away indication", "Inactivity");
  Advanced(b.Byte("DtmfToneDuration", 0x0E0, "DTMF Tone duration"), 1, true);
  Advanced(b.Byte("DtmfPauseDuration", 0x0E1, "DTMF Pause duration"), 2, true);
  Unlisted(
      Range(b.Byte("RadioFrequency", 0x0E2, "Radio channel (0=869.2, 1=868, 2=869.4 MHz)"), 0, 2));
  Advanced(b.Add("DtmfMessageTimeout", 0x0E3, 2, E::kWord16, "DTMF message timeout"), 3);
  Advanced(b.Byte("NimhChargingTime", 0x0EF, "NiMH-battery charging time"), 8, true);
  Advanced(b.Add("BatteryThreshold", 0x0F0, 1, E::kTenthVolt, "Battery threshold value"), 9);
  b.List("AnswerRadioMessageWithAck", 0x0F3, "YesNo", "Answer radio message with ACK");
  b.List("ReplaceLastDigit", 0x0F5, "YesNo", "Replace digit");
  Advanced(b.Byte("RadioInterferenceThreshold", 0x0F6, "Radio interference threshold value"), 10,
           true);
  Product(b.Add("RadioCalibration", 0x0F7, 1, E::kSigned8, "Radio calibration"));
  Product(b.Byte("ProductModel", 0x0F8, "Product model"));
  Unlisted(Product(b.Byte("CountryCode", 0x0F9, "Country")));
  Product(b.Add("AssemblyDate.Year", 0x0FA, 1, E::kYear2000, "Production year"));
  Product(b.Byte("AssemblyDate.Month", 0x0FB, "Production month"));
  Product(b.Byte("AssemblyDate.Day", 0x0FC, "Production day"));
  Product(b.Add("SerialNumber", 0x0FD, 3, E::kWord24, "Serial number"));
}

void AddAudioTimeProductNetwork(Builder& b) {
  b.List("TransmitterBeep", 0x103, "YesNo", "Transmitter beep during conversation");
  static constexpr const char* kLevels[] = {"1", "2", "3", "Extra"};
  for (int i = 0; i < 4; ++i) {
    b.List(std::string("LineVolume.") + kLevels[i], 0x104 + i, "LineVolume",
           std::string("Line volume, speaker level ") + kLevels[i]);
  }
  for (int i = 0; i < 4; ++i) {
    const std::string level = i < 3 ? std::to_string(i + 1) : "Line";
    const std::string label =
        i < 3 ? "Signal volume, speaker level " + level : "Signal volume, line";
    Advanced(b.Byte("SignalVolume." + level, 0x109 + i, label), 26 + i);
  }
  Advanced(b.Byte("DtmfLevel", 0x10D, "DTMF level"), 11, true);
  Advanced(b.Byte("ModelIdTunstall.1", 0x10F, "Model identification Tunstall, byte 1"), 13, true);
  Advanced(b.Byte("ModelIdTunstall.2", 0x110, "Model identification Tunstall, byte 2"), 14, true);
  Advanced(b.Byte("ModelIdCpc.1", 0x111, "Model identification CPC, byte 1"), 15, true);
  Advanced(b.Byte("ModelIdCpc.2", 0x112, "Model identification CPC, byte 2"), 16, true);
  Advanced(b.Add("BatteryThresholdInBatteryMode", 0x114, 1, E::kTenthVolt,
                 "Battery threshold in battery mode"),
           17);
  b.List("PassiveAlarmOnceOnly", 0x115, "YesNo", "Passive alarm once only");
  b.List("ServiceCallType", 0x117, "ServiceCallType", "Service call type").list_reported = false;
  b.Byte("ServiceCallInterval", 0x118, "Service call interval");
  Advanced(b.Flag("ResetPassiveTimerExtraButton", 0x11B, "Reset passive timer, extra button"), 30);
  b.Flag("CipPingEnable.1", 0x11C, "CIP PING enable, SIP account 1");
  b.Flag("CipPingEnable.2", 0x11D, "CIP PING enable, SIP account 2");
  struct Duplex {
    const char* name;
    const char* label;
    DuplexForm form;
  };
  static constexpr Duplex kDuplex[] = {
      {"DuplexSignalAttack", "Duplex signal attack", DuplexForm::kAttack},
      {"DuplexSignalRelease", "Duplex signal release", DuplexForm::kRelease},
      {"DuplexNoiseAttack", "Duplex noise attack", DuplexForm::kAttack},
      {"DuplexNoiseRelease", "Duplex noise release", DuplexForm::kRelease},
      {"DuplexSignalDetect", "Duplex signal detect", DuplexForm::kTime},
      {"DuplexSignalHold", "Duplex signal hold", DuplexForm::kTime},
      {"DuplexSpeechThreshold", "Duplex speech threshold", DuplexForm::kThreshold},
  };
  for (int i = 0; i < 7; ++i) {
    FieldInfo& field = b.Add(kDuplex[i].name, 0x120 + 4 * i, 4, E::kDuplex, kDuplex[i].label);
    field.duplex_form = kDuplex[i].form;
    Advanced(field, 18 + i);
  }
  Unlisted(Range(b.Add("TimeZoneGroup", 0x140, 1, E::kSigned8, "Time-zone group"), -12, 12))
      .load_checks_range = true;
  b.Flag("DaylightSaving", 0x141, "DST");
  FieldInfo& zone = b.List("TimeZoneIndex", 0x148, "Timezone", "Time zone");
  zone.list_mode = ListMode::kPosition;
  zone.list_reported = false;  // the load checks TimeZoneGroup instead
  Unlisted(Product(b.Byte("PcbProductionData.Hour", 0x149, "PCB production hour")));
  Unlisted(Product(b.Byte("PcbProductionData.Minute", 0x14A, "PCB production minute")));
  Unlisted(
      Product(b.Add("PcbProductionData.Serial", 0x14B, 4, E::kSerial32Le, "PCB serial number")));
  Unlisted(Product(b.Byte("PcbProductionData.CheckByte", 0x14F, "PCB production check byte")));
  Unlisted(Product(b.Add("PcbProductionData.Year", 0x150, 1, E::kYear2000, "PCB production year")));
  Unlisted(Product(b.Byte("PcbProductionData.Month", 0x151, "PCB production month")));
  Unlisted(Product(b.Byte("PcbProductionData.Day", 0x152, "PCB production day")));
  Unlisted(Advanced(b.Byte("Advanced.43", 0x153, "Advanced parameter, row 43"), 43));
  Unlisted(Advanced(b.Byte("Advanced.42", 0x155, "Advanced parameter, row 42"), 42));
  Unlisted(Advanced(b.Add("Advanced.45", 0x156, 2, E::kWord16, "Advanced parameter, row 45"), 45));
  Unlisted(Advanced(b.Byte("Advanced.44", 0x158, "Advanced parameter, row 44"), 44));
  Advanced(Range(b.Byte("MicrophoneGain", 0x15A, "Microphone gain"), 0, 20), 31);
  Unlisted(b.Byte("UpgradeRequest.1", 0x160, "Upgrade request 1"));
  Unlisted(b.Byte("LayoutVersion", 0x161, "Layout version"));
  Unlisted(b.Add("RandomValue", 0x163, 4, E::kWord32, "Random value"));
  FieldInfo& boot = Product(b.Add("BootVersion", 0x167, 6, E::kVersion, "Boot s/w version"));
  boot.never_written = true;
  FieldInfo& appl = Product(b.Add("ApplicationVersion", 0x170, 6, E::kVersion, "Appl s/w version"));
  appl.never_written = true;
  Product(b.Byte("HwVersion", 0x176, "HW Version"));
  b.Byte("UnitConfiguration", 0x180, "Configuration");
  Product(b.Add("RadioClass1Calibration", 0x181, 4, E::kSigned32, "Radio Class 1 calibration"));
  static constexpr const char* kGsmAudio[][2] = {{"GsmDtmfOutOfBand", "GSM DTMF out-of-band"},
                                                 {"DtmfFillTones", "DTMF fill-tones"},
                                                 {"GsmHalfRateAllowed", "GSM half-rate allowed"},
                                                 {"GsmAmrAllowed", "GSM AMR allowed"},
                                                 {"Rfc2833Allowed", "RFC2833 allowed"}};
  for (int i = 0; i < 5; ++i) {
    Advanced(b.Flag(kGsmAudio[i][0], 0x185 + i, kGsmAudio[i][1]), 32 + i);
  }
  b.Flag("GprsEnable", 0x18A, "GPRS enable");
  Unlisted(b.Flag("AutoRestartEnable", 0x18B, "Automatic restart enable"));
  Unlisted(b.Add("AutoRestartTime", 0x18C, 4, E::kWord32, "Automatic restart time"));
  b.Add("GsmPin", 0x191, 2, E::kPin, "PIN code");
  b.Text("SmsServiceCenter", 0x196, 26, "SMS service center");
  b.Flag("GsmEnable", 0x1B0, "GSM enable");
  // Written as 1 by every store of the editor; the printed record shows the PIN only when set.
  Unlisted(b.Byte("ShowPinOnRecord", 0x1B1, "PIN shown on the printed record"));
  Unlisted(b.Add("ServerPort", 0x1B2, 2, E::kWord16, "Kemb server port"));
  Unlisted(b.Flag("ServerEnable", 0x1B4, "Registration with the Kemb server"));
  Advanced(b.Flag("ContactIdCallback", 0x1B8, "Contact ID callback"), 38);
  Advanced(b.Flag("LedForRadioInterference", 0x1B9, "LED for radio interference"), 39);
  Advanced(b.Add("StdbMessageTimeout", 0x1BA, 2, E::kWord16, "STDB message timeout"), 7);
  Advanced(b.Byte("StdbToneDuration", 0x1BC, "STDB Tone duration"), 6, true);
  Advanced(b.Byte("StdbLevel", 0x1BD, "STDB level"), 12, true);
  b.Text("GprsApn", 0x1C0, 32, "GPRS APN address");
  Unlisted(b.Text("FtpPassword", 0x1E0, 16, "FTP password"));
  Product(b.Add("MacAddress", 0x1F0, 6, E::kMac, "MAC"));
  Unlisted(b.Byte("LinkSpeedApplication", 0x1F6, "Link speed, application"));
  Unlisted(b.Byte("UpgradeRequest.2", 0x1F7, "Upgrade request 2"));
  b.Flag("WebServiceEnable", 0x1F8, "Kemb web service enable");
  Unlisted(b.Byte("LinkSpeedBoot", 0x1F9, "Link speed, boot"));
  b.Flag("WanEnable", 0x1FA, "WAN enable");
  Unlisted(b.Flag("StaticIpEnable", 0x1FB, "Static IP enable"));
  Unlisted(b.Add("StaticIp", 0x1FC, 4, E::kIpv4, "Static IP address"));
}

void AddServersNetworkSip(Builder& b) {
  b.Text("NtpServer", 0x200, 64, "NTP server").keep_spaces = true;
  b.Text("StunServer", 0x240, 64, "STUN server").keep_spaces = true;
  b.Text("PingServer", 0x280, 64, "PING server").keep_spaces = true;
  Unlisted(b.Text("ServerAddress", 0x2C0, 64, "Kemb server address"));
  b.Text("WebServiceServer", 0x300, 64, "Kemb web service server");
  b.Byte("NetworkFailureDelay", 0x340, "Time to network failure");
  b.Flag("NetworkEnable", 0x341, "Network enable");
  Unlisted(b.Flag("DebugEnable", 0x342, "Debug enable"));
  Unlisted(b.Flag("ForceTestAlarm", 0x343, "Force test alarm"));
  Unlisted(b.Add("WebServicePort", 0x344, 2, E::kWord16, "Kemb web service port"));
  Unlisted(b.Add("GatewayIp", 0x350, 4, E::kIpv4, "Gateway address"));
  Unlisted(b.Add("DnsServerIp", 0x354, 4, E::kIpv4, "DNS server address"));
  Unlisted(b.Add("NetworkMask", 0x358, 4, E::kIpv4, "Network mask"));
  Unlisted(b.Flag("UpdateEnable", 0x35E, "Firmware update enable"));
  b.Text("Sip2Server", 0x360, 64, "SIP 2 server");
  b.Text("Sip2UserName", 0x3A0, 48, "SIP 2 username");
  b.Text("Sip2Password", 0x3D0, 64, "SIP 2 password").keep_spaces = true;
  b.Text("AccessPassword", 0x440, 16, "Password").max_chars = 8;
  Unlisted(b.Byte("UpgradeRequest.3", 0x450, "Upgrade request 3"));
  Unlisted(Product(b.Byte("AssemblyDate.Hour", 0x451, "Production hour")));
  Unlisted(Product(b.Byte("AssemblyDate.Minute", 0x452, "Production minute")));
  Unlisted(Product(b.Byte("AssemblyDate.CheckByte", 0x453, "Production check byte")));
  b.Flag("Sip2Enable", 0x460, "SIP 2 number enable");
  Unlisted(b.Add("Sip2ServerPort", 0x461, 2, E::kWord16, "SIP 2 server port"));
  Unlisted(b.Add("Sip2Expire", 0x463, 4, E::kWord32, "SIP 2 expire (s)"));
  for (int i = 0; i < 6; ++i) {
    b.List("AccountToUse." + Letter(i), 0x467 + i, "AccountToUse", "Account " + Letter(i))
        .list_reported = false;
  }
  b.Text("Sip2Number", 0x470, 32, "SIP 2 number");
  b.Flag("Sip1Enable", 0x490, "SIP 1 number enable");
  b.Add("Sip1ServerPort", 0x491, 2, E::kWord16, "SIP 1 server port");
  b.Add("Sip1Expire", 0x493, 4, E::kWord32, "SIP 1 expire (s)");
  b.Add("LocalSipPort", 0x497, 2, E::kWord16, "VYN IP port");
  b.Add("RtpPort", 0x499, 2, E::kWord16, "RTP port");
  b.Text("Sip1Number", 0x4A0, 64, "SIP 1 number");
  Unlisted(Advanced(b.Flag("Advanced.47", 0x4E2, "Advanced parameter, row 47"), 47));
  Unlisted(Advanced(b.Flag("Advanced.48", 0x4E3, "Advanced parameter, row 48"), 48));
  Unlisted(Advanced(b.Flag("Advanced.54", 0x4EE, "Advanced parameter, row 54"), 54));
  Unlisted(Advanced(b.Flag("Advanced.53", 0x4EF, "Advanced parameter, row 53"), 53));
  for (int n = 1; n <= 8; ++n) {
    Unlisted(b.Byte("LocationCode." + std::to_string(n), 0x4EF + n,
                    "Location code, transmitter " + std::to_string(n)));
  }
  FieldInfo& dialling = b.List("DiallingInSpeaker", 0x4F8, "YesNo", "Dialling in speaker");
  dialling.list_mode = ListMode::kNonZeroIsYes;
  dialling.list_reported = false;
  Unlisted(Advanced(b.Flag("Advanced.46", 0x4F9, "Advanced parameter, row 46"), 46));
  Unlisted(Advanced(b.Flag("Advanced.49", 0x4FA, "Advanced parameter, row 49"), 49));
  b.Byte("RedialMaxTime", 0x4FB, "Redial max time");
  b.Byte("RedialInterval", 0x4FC, "Redial interval");
  Unlisted(b.Byte("GsmNetworksToUse", 0x4FD, "GSM networks used for alarms"));
  Unlisted(b.Flag("GsmNetworkReset", 0x4FE, "Reload GSM networks at start-up"));
  Unlisted(Advanced(b.Flag("Advanced.52", 0x4FF, "Advanced parameter, row 52"), 52));
  b.Text("Sip1Server", 0x500, 64, "SIP 1 server");
  b.Text("Sip1UserName", 0x540, 21, "SIP 1 username");
  Unlisted(b.Text("FtpUserName", 0x555, 16, "FTP user name"));
  Unlisted(b.Text("FtpFileName", 0x565, 27, "FTP file name"));
  b.Text("Sip1Password", 0x580, 32, "SIP 1 password").keep_spaces = true;
  Unlisted(b.Definition("NetworkFailure", 0x5A0, "Network failure"));
  Unlisted(b.Definition("NetworkReturn", 0x5A1, "Network return"));
  Unlisted(b.Definition("RoamingAlarm", 0x5A3, "Roaming alarm"));
  b.Definition("Network", 0x5B0, "Network");
  Advanced(b.Byte("ResendMessageTimeout", 0x5B1, "Resend message timeout"), 40);
  Advanced(b.Flag("BatteryDischargeDisable", 0x5B3, "Battery discharge disable"), 41);
  Advanced(b.Flag("DtmfEnhancedAudioMode", 0x5B4, "DTMF enhanced audio mode enabled"), 37);
  Advanced(
      b.Add("DtmfMessageHoldBeforeSend", 0x5B5, 2, E::kWord16, "DTMF message hold before send"), 4);
  Advanced(b.Flag("DtmfDirectDecode", 0x5B7, "DTMF direct decode enabled"), 5);
  Unlisted(
      b.Add("CallBackFlags", 0x5B8, 1, E::kBits, "Call back after an alarm call (bit 0 A .. 5 V)"));
  FieldInfo& mic = b.Add("DuplexMicThreshold", 0x5B9, 4, E::kDuplex, "Duplex mic threshold");
  mic.duplex_form = DuplexForm::kThreshold;
  Advanced(mic, 25);
  Unlisted(Advanced(b.Byte("Advanced.50", 0x5BE, "Advanced parameter, row 50"), 50));
  Unlisted(Advanced(b.Flag("Advanced.51", 0x5BF, "Advanced parameter, row 51"), 51));
  b.Text("GsmOwnNumber", 0x5C0, 32, "GSM number");
  b.Text("GsmNumberFromSim", 0x5E0, 32, "GSM number from SIM").never_written = true;
  Unlisted(b.Add("NumberPool", kNumberPoolRange.first, kNumberPoolRange.size(), E::kNumberPool,
                 "Number pool"));
  Unlisted(b.Text("FtpServer", 0x770, 48, "FTP server"));
  Unlisted(b.Flag("OutboundProxyEnable", 0x7A0, "Outbound proxy enable"));
  Unlisted(b.Text("OutboundProxy", 0x7A1, 63, "Outbound proxy"));
  Unlisted(Advanced(b.Flag("Advanced.55", 0x7E0, "Advanced parameter, row 55"), 55));
  Unlisted(Advanced(b.Byte("Advanced.56", 0x7E1, "Advanced parameter, row 56"), 56));
}

std::vector<FieldInfo> BuildCatalogue() {
  Builder b;
  AddAlarmSources(b);
  AddAudioTimeProductNetwork(b);
  AddServersNetworkSip(b);
  return b.Take();
}

}  // namespace

const std::vector<FieldInfo>& FieldCatalogue() {
  static const std::vector<FieldInfo> catalogue = BuildCatalogue();
  return catalogue;
}

const FieldInfo* FindField(std::string_view name) {
  static const std::unordered_map<std::string_view, const FieldInfo*> by_name = [] {
    std::unordered_map<std::string_view, const FieldInfo*> map;
    for (const FieldInfo& field : FieldCatalogue()) map.emplace(field.name, &field);
    return map;
  }();
  auto it = by_name.find(name);
  return it == by_name.end() ? nullptr : it->second;
}

const FieldInfo* FieldAt(int address) {
  static const std::vector<const FieldInfo*> by_address = [] {
    std::vector<const FieldInfo*> map(kImageSize, nullptr);
    for (const FieldInfo& field : FieldCatalogue()) {
      if (field.alternate) continue;
      for (int a = field.address; a <= field.last() && a < static_cast<int>(kImageSize); ++a)
        map[a] = &field;
    }
    return map;
  }();
  if (address < 0 || address >= static_cast<int>(by_address.size())) return nullptr;
  return by_address[address];
}

std::vector<const FieldInfo*> AdvancedRows() {
  std::vector<const FieldInfo*> rows;
  for (const FieldInfo& field : FieldCatalogue()) {
    if (field.advanced_row > 0) rows.push_back(&field);
  }
  std::sort(rows.begin(), rows.end(), [](const FieldInfo* a, const FieldInfo* b) {
    return a->advanced_row < b->advanced_row;
  });
  return rows;
}

const std::string& FieldLabel(const FieldInfo& field, std::string_view edition_name) {
  if (field.label_other.empty() || IsKembEdition(edition_name)) return field.label;
  return field.label_other;
}

}  // namespace vyn
