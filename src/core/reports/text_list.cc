#include "core/reports/text_list.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/files/replace_file.h"
#include "core/image/codecs.h"
#include "core/image/field_catalogue.h"
#include "core/image/field_values.h"
#include "core/image/number_pool.h"
#include "core/settings/text_encoding.h"
#include "core/strings/edition.h"

namespace vyn {
namespace {

// The letters of the call-sequence steps, "-ABCDNU" in this build: position 0 is "no step",
// 1-6 the numbers A, B, C, D, N and V.
constexpr int kCallSequenceLettersStringId = 15039;
// The caption of the auto-answer duration box; present only in builds that use 0x0B0 for it.
constexpr int kAutoAnswerDurationStringId = 13227;

constexpr std::string_view kLineEnd = "\r\n";

// How a line's value is formed from its field.
enum class Value {
  kDecimal,   // the byte in decimal
  kHex,       // the byte as 0x and two hex digits
  kBox,       // the text of the editor's box for the field
  kFlagBox,   // a check box: 1 when the byte is 1, else 0
  kAdvanced,  // the text of the field's row in the advanced table
};

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
  char text[64];
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (length < 0) return {};
  return std::string(text,
                     std::min<std::size_t>(static_cast<std::size_t>(length), sizeof text - 1));
}

std::string HexByte(std::uint8_t value) { return "0x" + HexPairText(value); }

// "%.0f" of a table value, rounded half away from zero as the table's own numbers are.
std::string WholeNumberText(double value) {
  return Printf("%.0f", std::round(value) + 0.0);  // + 0.0 turns -0 into 0
}

class ListWriter {
 public:
  ListWriter(const VynData& data, const StringTable& strings)
      : image_(data.WorkingImage),
        short_layout_(data.ShortLayout),
        kemb_(IsKembEdition(strings)),
        velkstrom_(IsVelkstrom(strings)),
        auto_answer_(strings.Has(kAutoAnswerDurationStringId)),
        letters_(Utf8ToWindows1252(strings.Text(kCallSequenceLettersStringId))) {
    text_.reserve(24 * 1024);
  }

  bool kemb() const { return kemb_; }
  bool velkstrom() const { return velkstrom_; }
  bool auto_answer() const { return auto_answer_; }
  const ParameterImage& image() const { return image_; }

  std::string Take() { return std::move(text_); }

  void Line(std::string_view text) {
    text_ += text;
    text_ += kLineEnd;
  }
  void Blank(int count = 1) {
    for (int i = 0; i < count; ++i) text_ += kLineEnd;
  }

  // "[0xFIRST] LABEL VALUELEGEND", or "[0xFIRST-0xLAST] ..." when `last` is not negative.
  // Addresses print with at least two upper-case hex digits.
  void Entry(int first, int last, std::string_view label, std::string_view value,
             std::string_view legend = {}) {
    text_ += Printf("[0x%02X", static_cast<unsigned>(first));
    if (last >= 0) text_ += Printf("-0x%02X", static_cast<unsigned>(last));
    text_ += "] ";
    text_ += label;
    text_ += ' ';
    text_ += value;
    text_ += legend;
    text_ += kLineEnd;
  }

  // One address, the field's first.
  void One(std::string_view name, std::string_view label, Value value,
           std::string_view legend = {}) {
    const FieldInfo& field = Field(name);
    Entry(field.address, -1, label, ValueText(field, value), legend);
  }
  // The field's whole range.
  void Whole(std::string_view name, std::string_view label, Value value,
             std::string_view legend = {}) {
    const FieldInfo& field = Field(name);
    Entry(field.address, field.last(), label, ValueText(field, value), legend);
  }
  // The field's first address and `last`, which the list names for some fields instead of
  // the field's own end (the PIN names 0x191-0x194, some texts their whole area, some the
  // first address twice).
  void Span(std::string_view name, int last, std::string_view label, Value value,
            std::string_view legend = {}) {
    const FieldInfo& field = Field(name);
    Entry(field.address, last, label, ValueText(field, value), legend);
  }
  void Twice(std::string_view name, std::string_view label, Value value) {
    Span(name, Field(name).address, label, value);
  }

  // The character of the call-sequence letters at `position`; "?" where the build's text is
  // too short to have one.
  char Letter(std::size_t position) const {
    return position < letters_.size() ? letters_[position] : '?';
  }

  static const FieldInfo& Field(std::string_view name) {
    // Every name used here is in the catalogue; the fallback only keeps a slip from reading
    // out of bounds.
    static const FieldInfo kMissing{};
    const FieldInfo* field = FindField(name);
    return field != nullptr ? *field : kMissing;
  }

  std::uint8_t Byte(std::string_view name) const { return image_[Field(name).address]; }

 private:
  std::string ValueText(const FieldInfo& field, Value value) const {
    const std::uint8_t byte = image_[field.address];
    switch (value) {
      case Value::kDecimal:
        return ByteText(byte);
      case Value::kHex:
        return HexByte(byte);
      case Value::kBox:
        return BoxText(field);
      case Value::kFlagBox:
        return byte == 1 ? "1" : "0";
      case Value::kAdvanced:
        return AdvancedText(field);
    }
    return {};
  }

  // The box texts come from the image as the editor's load forms them. A control character
  // inside an image text (a line break would split the line, a NUL or ESC garble a viewer)
  // shows as "?" like any character the file cannot hold.
  std::string BoxText(const FieldInfo& field) const {
    return WithoutControlCharacters(FieldValueText(image_, field, short_layout_));
  }

  // Flag rows show 1 only for a byte of 1; the tenth-volt rows the real number with six
  // decimals; the duplex rows their table value, with six decimals or as a whole number.
  std::string AdvancedText(const FieldInfo& field) const {
    const std::uint8_t byte = image_[field.address];
    switch (field.encoding) {
      case FieldEncoding::kFlag:
        return byte == 1 ? "1" : "0";
      case FieldEncoding::kTenthVolt:
        return Printf("%f", DecodeTenthVolt(byte));
      case FieldEncoding::kDuplex: {
        const double table_value = std::strtod(BoxText(field).c_str(), nullptr);
        if (field.duplex_form == DuplexForm::kAttack || field.duplex_form == DuplexForm::kRelease) {
          return Printf("%.6f", table_value);
        }
        return WholeNumberText(table_value);
      }
      default:
        return BoxText(field);
    }
  }

  const ParameterImage& image_;
  const bool short_layout_;
  const bool kemb_;
  const bool velkstrom_;
  const bool auto_answer_;
  const std::string letters_;
  std::string text_;
};

std::string Number(int value) { return std::to_string(value); }

std::string FileNameText(const std::string& name) {
  // File names on this system are UTF-8; the list is 8-bit text.
  return WithoutControlCharacters(IsValidUtf8(name) ? Utf8ToWindows1252(name) : name);
}

void WriteHeaderAndAlarmSources(ListWriter& w, const VynData& data) {
  w.Line("Parameters in");
  w.Line(data.Origin == ImageOrigin::FromDefault ? "<Default.bin>"
                                                 : "<" + FileNameText(data.FileName) + ">");
  w.Line("Values with prefix '0x' is hexadecimal, all other is decimal.");
  w.Blank();
  w.Line("1. Alarm sources");
  w.Line("1.1.1 Radio alarms");
  w.Line("No code, empty slot = 0x0000");
  for (int n = 1; n <= 8; ++n) {
    w.Whole("TransmitterCode." + Number(n), "ID code, transmitter " + Number(n) + ":", Value::kBox);
  }
  w.Blank();
  w.Line("1.1.2 Alarm types to send");
  for (int n = 1; n <= 8; ++n) {
    w.One("TransmitterAlarmType." + Number(n), "Transmitter " + Number(n) + ":______________",
          Value::kHex);
  }
  w.Blank();
  w.Line("1.3 Buttons");
  w.One("ExtraButtonAlarmType", "Extra button:_______________", Value::kHex);
  w.Blank(2);
}

void WriteSequences(ListWriter& w) {
  struct Group {
    const char* field;
    const char* kemb;
    const char* other;
  };
  static constexpr Group kGroups[] = {
      {"SequenceNumber.User", "User alarms:__________", "Medical alarms:_______"},
      {"SequenceNumber.External", "External alarms:______", "External alarms:______"},
      {"SequenceNumber.Technical", "Technical alarms:_____", "Power alarms:_________"},
      {"SequenceNumber.SmokeDetector", "Smoke detector alarms:", "Smoke detector alarms:"},
      {"SequenceNumber.Burglar", "Burglar alarms:_______", "Assault alarms:_______"},
      {"SequenceNumber.Staff", "Staff alarms:_________", "Presence alarms:______"},
      {"SequenceNumber.Test", "Test alarms:__________", "Test alarms:__________"},
      {"SequenceNumber.UserActivity", "User activity alarms:_", "Emergency alarms:_____"},
      {"SequenceNumber.Assistance", "Assistance alarms:____", "Assistance alarms:____"},
      {"SequenceNumber.UserDefined", "User defined alarms:__", "User defined alarms:__"},
  };
  w.Line("2. Sequences");
  w.Line("2.1 Sequence numbers");
  for (const Group& group : kGroups) {
    w.One(group.field, std::string("Sequence for ") + (w.kemb() ? group.kemb : group.other),
          Value::kDecimal);
  }
  w.Blank();
  w.Line("2.2 Sequences definitions");
  std::string legend;
  for (int i = 0; i <= 6; ++i) {
    if (i) legend += ", ";
    legend += w.Letter(i);
    legend += "=" + Number(i);
  }
  w.Line(legend);
  for (int s = 1; s <= 4; ++s) {
    const FieldInfo& first = ListWriter::Field("CallSequence." + Number(s) + ".1");
    std::string line =
        Printf("[0x%02X-0x%02X] Call sequence %d:______ ", first.address, first.address + 3, s);
    for (int t = 0; t < 4; ++t) {
      const std::uint8_t step = w.image()[first.address + t];
      line += step <= 6 ? w.Letter(step) : '?';
      line += ' ';
    }
    w.Line(line);
  }
  w.Blank();
  w.Line("2.3 Cycles");
  w.One("RepeatSequence", "Cycles of sequence:________", Value::kDecimal);
  w.One("MaxCallAttempts", "Max no of call attempts:___", Value::kDecimal);
  w.Blank(2);
}

void WriteCallAttempts(ListWriter& w) {
  for (int i = 0; i < 6; ++i) {
    const std::string name = std::string("CallAttempts.") + kNumberLetters[i];
    const int address = ListWriter::Field(name).address;
    const int value = w.Byte(name);
    if (!w.velkstrom()) {
      // The sixth line names the redirection number R.
      const char letter = i == 5 ? 'R' : kNumberLetters[i];
      w.Entry(address, -1, std::string("No of attempts ") + letter + ":__________", Number(value));
      continue;
    }
    // Velkstrom units call back after 101-200: the attempts are the value minus 100.
    const std::string label = std::string("No of attempts ") + w.Letter(i + 1) + ":__________";
    if (value <= 100) {
      w.Entry(address, -1, label, Number(value), " (Call back=No)");
    } else if (value <= 200) {
      w.Entry(address, -1, label, Number(value - 100), " (Call back=Yes)");
    } else {
      w.Entry(address, -1, label, Number(value), " (Illegal value)");
    }
  }
}

void WriteCallNumbers(ListWriter& w) {
  w.Line("3 Call numbers");
  w.Line("3.1.1 Call information");
  w.Line("W=B wait 500ms, T=D Wait for dial tone, *=E, #=F, Stop dial=A");
  w.Line("No number = 0xAAAAAAAAAAAAAAAA");
  for (char letter : kNumberLetters) {
    w.Whole(std::string("TelephoneNumber.") + letter,
            std::string("Telephone number ") + letter + ":___", Value::kBox);
  }
  w.Blank();
  w.Line("3.1.2 SIP account to use");
  for (char letter : kNumberLetters) {
    w.One(std::string("AccountToUse.") + letter,
          std::string("Account ") + letter + ":________________", Value::kDecimal);
  }
  w.Blank();
  w.Line("3.1.3 Alarm codes");
  w.Line("End of alarm code = A");
  for (char letter : kNumberLetters) {
    w.Whole(std::string("AlarmCode.") + letter, std::string("Alarm code ") + letter + ":_________",
            Value::kBox);
  }
  w.Blank();
  w.Line("3.1.4 Protocols");
  w.Line("0=Undefined, 1=KEMB TALK, 2=CPC Antenna, 3=Tunstall New, 4=Home phone, 8=Auto answer");
  w.Line(
      "9=CPC Attendo, 16=MV, 17=TT92, 18=Multi, 21=KEMB TALK ST, 22=BS8521, 23=Verklizan UMO IP");
  w.Line("24=CIP, 25=MPTP, 26=KEMB TALK GSM.");
  for (char letter : kNumberLetters) {
    w.One(std::string("Protocol.") + letter,
          std::string("Protocol ") + letter + ":________________", Value::kDecimal);
  }
  w.Blank();
  w.Line("3.1.5 Call attempts");
  WriteCallAttempts(w);
  w.Blank(2);
}

const char* TimerUnitText(TimerUnit unit) {
  switch (unit) {
    case TimerUnit::kHours:
      return " (h)";
    case TimerUnit::kDays:
      return " (days)";
    case TimerUnit::kMinutes:
      return " (minutes)";
  }
  return "";
}

// The KEMB editions read the interval bytes as timer codes; the others print them as hours.
void Timer(ListWriter& w, std::string_view name, std::string_view label) {
  const FieldInfo& field = ListWriter::Field(name);
  const std::uint8_t code = w.image()[field.address];
  const TimerReading reading =
      w.kemb() ? TimerCodeText(code, field.timer_kind) : TimerReading{code, TimerUnit::kHours};
  w.Entry(field.address, -1, label, Number(reading.value), TimerUnitText(reading.unit));
}

void WriteTimersAndIndications(ListWriter& w) {
  w.Line("4 Timers and indications");
  w.Line("4.1 Alarm activation and timers");
  w.One("ReminderTime", "Reminder alarm:________________________", Value::kDecimal, " (minutes)");
  w.One("MaxReminderAlarms", "Max reminder alarms:___________________", Value::kDecimal);
  Timer(w, "PassiveAlarmInterval", "Passive alarm:_________________________");
  Timer(w, "MainsFailureDelay", "Mains failure alarm:___________________");
  Timer(w, "TestAlarmInterval", "Test alarm interval:___________________");
  w.One("BlockTime", "Dementia function:_____________________", Value::kDecimal,
        " (0=No, 1-255=No of minutes)");
  w.One("BatteryCheckInterval", "Battery check interval:________________", Value::kDecimal, " (h)");
  w.One("MaxTimeInPresence", "Max time in presence mode:_____________", Value::kDecimal,
        " (0=Unlimited, (h))");
  w.One("ResetTestAlarmTimer", "Reset test alarm timer for all alarms:_", Value::kDecimal,
        " (0=No, 1=Yes)");
  w.One("InterferenceAlarmGap", "Min time between interference alarms:__", Value::kDecimal,
        " (minutes)");
  w.One("RadioTestAlarmPeriod", "Radio test alarm period:_______________", Value::kDecimal, " (h)");
  w.One("NetworkFailureDelay", "Time to network failure:______________", Value::kDecimal, " (h)");
  w.Blank();
  w.Line("4.2 Indications");
  w.One("WarningFunctions", "Warning functions:_____________________", Value::kDecimal,
        " (0=No, 1=Visual, 2=Acoustical, 3=Visual and Acoustical)");
  w.One("SignalLevel", "Signal level:__________________________", Value::kDecimal,
        " (1=Low, 2=Medium, 3=High)");
  w.One("ConversationLevel", "Conversation level:____________________", Value::kDecimal,
        " (1=Lowest, 2=Low, 3=High)");
  w.One("PrecallSignalType", "Pre-call signal type:__________________", Value::kDecimal,
        " (1=Short, 2=Tone seq. 3=Happy, 4=Distinct)");
  w.One("PrecallSignalDelay", "Pre-call Signal delay:_________________", Value::kDecimal, " (s)");
  w.One("RingingSignalInSpeaker", "Ringing signal in speaker:_____________", Value::kDecimal,
        " (0=No, 1=Yes)");
  w.One("DiallingInSpeaker", "Dialling in speaker:___________________", Value::kDecimal,
        " (0=No, 1=Yes)");
  w.One("AlarmButtonIllumination", "Alarm button illumination:_____________", Value::kDecimal,
        " (0=LED off, 1-255=Yes)");
  w.One("IndicationInBatteryMode", "Indication during call in battery mode:", Value::kDecimal,
        " (0=No, 1=Yes)");
  w.Blank();
  w.Line("4.3 Date and time");
  w.One("TimeZoneIndex", "Time zone:____________________________", Value::kDecimal);
  w.One("DaylightSaving", "DST:__________________________________", Value::kFlagBox,
        " (0=No, 1=Yes)");
  w.Blank(2);
}

// The byte at 0x0B0 in the one meaning the edition and the build give it.
void WriteRadioTestOrAutoAnswer(ListWriter& w) {
  if (w.kemb()) {
    w.One("RadioTestBits", "Radio test alarm on/off:_______________", Value::kHex);
  } else if (w.auto_answer()) {
    w.One("AutoAnswerDuration", "Auto answer duration, Paging:__________", Value::kDecimal,
          " (*10s)");
  } else {
    w.One("RadioTestBits", "Reserved:______________________________", Value::kHex);
  }
}

void WriteCallParameters(ListWriter& w) {
  w.Line("5 Call parameters");
  w.Line("5.1 Outgoing call");
  w.One("TimeToWaitForAnswer", "Time to wait for answer:_______________", Value::kDecimal, " (s)");
  w.One("TimeBetweenCalls", "Time in between call attempts:_________", Value::kDecimal, " (s)");
  w.One("MaxConversationTime", "Max conversation time:_________________", Value::kDecimal,
        " (*10s)");
  w.One("RequireDisconnection", "Require disconnection:_________________", Value::kFlagBox,
        " (0=No, 1=Yes)");
  WriteRadioTestOrAutoAnswer(w);
  w.One("RedialMaxTime", "Redial max time:__________________________", Value::kDecimal, " (s)");
  w.One("RedialInterval", "Redial interval:__________________________", Value::kDecimal, " (s)");
  w.Blank();
  w.Line("5.2 GSM");
  w.One("GsmEnable", "GSM enable:___________________________", Value::kFlagBox, " (0=No, 1=Yes)");
  w.Span("GsmPin", 0x194, "PIN code:_______________________", Value::kBox);
  w.Twice("SmsServiceCenter", "SMS service center:_____________", Value::kBox);
  w.Twice("GsmOwnNumber", "GSM number:_____________________", Value::kBox);
  w.Twice("GsmNumberFromSim", "GSM number from SIM:____________", Value::kBox);
  w.One("GprsEnable", "GPRS enable:__________________________", Value::kFlagBox, " (0=No, 1=Yes)");
  w.Twice("GprsApn", "GPRS APN address:_______________", Value::kBox);
  w.Blank();
  w.Line("5.3 Incoming call");
  w.One("RingsBeforeAnswer", "Signals before answer in home phone:___", Value::kDecimal,
        " (0=No, 1-255=No of ringing signals)");
  w.One("TransmitterAnswer", "Transmitter answer:____________________", Value::kDecimal,
        " (0=No, 1=Yes)");
  w.Blank(2);
}

void WriteExtendedFunctions(ListWriter& w) {
  w.Line("6 Extended functions");
  w.Line("6.1 Other functions");
  w.One("TransmitterBeep", "Transmitter beep during conversation:_", Value::kDecimal,
        " (0=No, 1=Yes)");
  w.One("ReplaceLastDigit", "Replace digit:_________________________", Value::kDecimal,
        " (0=Off, 1=Last digit in phone ID is transmitter ID)");
  w.One("UserDefinedAlarmTypeId", "User defined alarm type ID:____________", Value::kHex);
  w.One("AnswerRadioMessageWithAck", "Answer radio message with ACK:_________", Value::kDecimal,
        " (0=No, 1=Yes)");
  w.One("PassiveAlarmOnceOnly", "Passive alarm once only:______________", Value::kDecimal,
        " (0=No, 1=Yes)");
  w.One("ResetTestAlarmTimer", "Reset test alarm timer:________________", Value::kDecimal,
        " (0=No, 1=Yes)");
  w.One("ServiceCallType", "Service call type:____________________", Value::kDecimal);
  w.One("ServiceCallInterval", "Service call interval:________________", Value::kDecimal,
        " (days)");
  w.Blank();
  w.Line("6.2 Product information (read-only)");
  w.One("ProductModel", "Product model:_________________________", Value::kDecimal);
  w.One("HwVersion", "HW Version:___________________________", Value::kDecimal);
  w.One("AssemblyDate.Year", "Production year:_______________________", Value::kBox);
  w.One("AssemblyDate.Month", "Production month:______________________", Value::kBox);
  w.One("AssemblyDate.Day", "Production day:________________________", Value::kBox);
  w.Whole("SerialNumber", "Serial number:____________________", Value::kBox);
  w.Whole("BootVersion", "Boot s/w version:_______________", Value::kBox);
  w.Whole("ApplicationVersion", "Appl s/w version:_______________", Value::kBox);
  w.Blank(2);
}

void WriteAdvanced(ListWriter& w) {
  w.Line("7. Advanced");
  w.Line("7.1");
  struct Row {
    const char* field;
    const char* label;
    const char* legend;
    bool whole;  // the line names the field's range
  };
  // The legend of the signal volumes is "percent, 0 = standard", written as the percent sign
  // and the text that follow it.
  static constexpr Row kRows[] = {
      {"DtmfToneDuration", "DTMF Tone duration:____________________", " (ms)", false},
      {"DtmfPauseDuration", "DTMF Pause duration:___________________", " (ms)", false},
      {"DtmfMessageTimeout", "DTMF message timeout:_____________", " (ms)", true},
      {"DtmfMessageHoldBeforeSend", "DTMF message hold before send:____", " (ms)", true},
      {"DtmfDirectDecode", "DTMF direct decode enabled:___________", " (1=Yes, 0=No)", false},
      {"DtmfEnhancedAudioMode", "DTMF enhanded audio mode enabled:_____", " (1=Yes, 0=No)", false},
      {"StdbToneDuration", "STDB Tone duration:____________________", " (ms)", false},
      {"StdbMessageTimeout", "STDB message timeout:_____________", " (ms)", true},
      {"NimhChargingTime", "NiMH-battery charging time:____________", " (h)", false},
      {"BatteryThreshold", "Battery threshold value:_______________", "(V)", false},
      {"RadioInterferenceThreshold", "Radio interference threshold value:____", "", false},
      {"DtmfLevel", "DTMF level:___________________________", " (-dB)", false},
      {"StdbLevel", "STDB level:___________________________", " (-dB)", false},
      {"ModelIdTunstall.1", "Model identification Tunstall, byte 1:", "", false},
      {"ModelIdTunstall.2", "Model identification Tunstall, byte 2:", "", false},
      {"ModelIdCpc.1", "Model identification CPC, byte 1:_____", "", false},
      {"ModelIdCpc.2", "Model identification CPC, byte 2:_____", "", false},
      {"BatteryThresholdInBatteryMode", "Battery threshold in battery mode:____", " (V)", false},
      {"DuplexSignalAttack", "Duplex signal attack:___________", " (dB/ms)", true},
      {"DuplexSignalRelease", "Duplex signal release:__________", " (dB/ms)", true},
      {"DuplexNoiseAttack", "Duplex noise attack:____________", " (dB/ms)", true},
      {"DuplexNoiseRelease", "Duplex noise release:___________", " (dB/ms)", true},
      {"DuplexSignalDetect", "Duplex signal detect:___________", " (ms)", true},
      {"DuplexSignalHold", "Duplex signal hold:_____________", " (ms)", true},
      {"DuplexSpeechThreshold", "Duplex speech threshold:________", " (dB)", true},
      {"DuplexMicThreshold", "Duplex mic threshold:___________", " (dB)", true},
      {"SignalVolume.1", "Signal volume, speaker level 1:_______", " (% 0=Standard)", false},
      {"SignalVolume.2", "Signal volume, speaker level 2:_______", " (% 0=Standard)", false},
      {"SignalVolume.3", "Signal volume, speaker level 3:_______", " (% 0=Standard)", false},
      {"SignalVolume.Line", "Signal volume, line:__________________", " (% 0=Standard)", false},
      {"ResetPassiveTimerExtraButton", "Reset passive timer, extra button_____", " (0=No, 1=Yes)",
       false},
      {"MicrophoneGain", "Microphone gain:______________________", " (dB 0 - +20)", false},
      {"GsmDtmfOutOfBand", "GSM DTMF out-of-band:_________________", " (1=Yes, 0=No)", false},
      {"DtmfFillTones", "DTMF fill-tones:______________________", " (1=Yes, 0=No)", false},
      {"GsmHalfRateAllowed", "GSM half-rate allowed:________________", " (1=Yes, 0=No)", false},
      {"GsmAmrAllowed", "GSM AMR allowed:______________________", " (1=Yes, 0=No)", false},
      {"Rfc2833Allowed", "RFC2833 allowed:______________________", " (1=Yes, 0=No)", false},
      {"ContactIdCallback", "Contact ID callback:__________________", " (1=Yes, 0=No)", false},
      {"LedForRadioInterference", "LED for radio interference:___________", " (1=Yes, 0=No)",
       false},
      {"ResendMessageTimeout", "Resend message timeout:_______________", " (1=Yes, 0=No)", false},
      {"BatteryDischargeDisable", "Battery discharge disable:____________", " (1=Yes, 0=No)",
       false},
  };
  for (const Row& row : kRows) {
    if (row.whole) {
      w.Whole(row.field, row.label, Value::kAdvanced, row.legend);
    } else {
      w.One(row.field, row.label, Value::kAdvanced, row.legend);
    }
  }
  w.Blank();
  w.Line("7.2 Advanced");
  w.One("LineVolume.1", "Line volume, speaker level 1:_________", Value::kDecimal);
  w.One("LineVolume.2", "Line volume, speaker level 2:_________", Value::kDecimal);
  w.One("LineVolume.3", "Line volume, speaker level 3:_________", Value::kDecimal);
  w.One("LineVolume.Extra", "Line volume, speaker level Extra:_____", Value::kDecimal);
  w.Blank();
  w.Line("7.3 Hardware control");
  const std::uint8_t calibration = w.Byte("RadioCalibration");
  const std::string calibration_label = "Radio calibration:_____________________";
  const int calibration_address = ListWriter::Field("RadioCalibration").address;
  if (calibration & 0x80) {
    w.Entry(calibration_address, -1, calibration_label, Number(256 - calibration),
            " (-" + Number(calibration) + ")(read-only)");
  } else {
    w.Entry(calibration_address, -1, calibration_label, Number(calibration), " (read-only)");
  }
  w.Whole("RadioClass1Calibration", "Radio Class 1 calibration:______", Value::kBox,
          " (read-only)");
  w.Blank(2);
}

void WriteConfigurationAndIp(ListWriter& w) {
  w.Line("8. Configuration");
  w.Line("8.1 Configuration");
  w.Line("0=Swedish, 1=Deutch, 2=Dutch");
  w.One("UnitConfiguration", "Configuration:________________________", Value::kDecimal, " ");
  w.Blank();
  w.Line("8.2 Security (read only)");
  w.One("AccessPassword", "Password:_____________________________", Value::kBox, " ");
  w.Blank(2);
  w.Line("9. IP");
  w.Line("9.1 Ethernet");
  w.Whole("MacAddress", "MAC:____________________________", Value::kBox);
  w.One("NetworkEnable", "Network enable________________________", Value::kDecimal,
        " (0=No, 1=Yes)");
  w.One("WanEnable", "WAN enable____________________________", Value::kDecimal, " (0=No, 1=Yes)");
  w.One("NtpServer", "NTP server:___________________________", Value::kBox, " ");
  w.One("StunServer", "STUN server:__________________________", Value::kBox, " ");
  w.One("PingServer", "PING server:__________________________", Value::kBox, " ");
  w.Blank();
  w.Line("9.2 SIP");
  // Some SIP lines name an area wider than the text's room.
  w.One("Sip1Enable", "SIP 1 number enable___________________", Value::kDecimal, " (0=No, 1=Yes)");
  w.Whole("Sip1Number", "Number:_________________________", Value::kBox, " ");
  w.Whole("Sip1Server", "Server:_________________________", Value::kBox, " ");
  w.Span("Sip1UserName", 0x57F, "Username:_______________________", Value::kBox, " ");
  w.Span("Sip1Password", 0x5BF, "Password:_______________________", Value::kBox, " ");
  w.One("CipPingEnable.1", "CIP PING enable_______________________", Value::kDecimal,
        " (0=No, 1=Yes)");
  w.Blank();
  w.One("Sip2Enable", "SIP 2 number enable___________________", Value::kDecimal, " (0=No, 1=Yes)");
  w.Span("Sip2Number", 0x4AF, "Number:_________________________", Value::kBox, " ");
  w.Whole("Sip2Server", "Server:_________________________", Value::kBox, " ");
  w.Span("Sip2UserName", 0x3DF, "Username:_______________________", Value::kBox, " ");
  w.Whole("Sip2Password", "Password:_______________________", Value::kBox, " ");
  w.One("CipPingEnable.2", "CIP PING enable_______________________", Value::kDecimal,
        " (0=No, 1=Yes)");
  w.Blank();
  w.Span("Sip1Expire", 0x494, "Expire__________________________", Value::kBox);
  w.Whole("Sip1ServerPort", "Server port_____________________", Value::kBox);
  w.Whole("LocalSipPort", "VYN IP port_____________________", Value::kBox);
  w.Whole("RtpPort", "RTP port________________________", Value::kBox);
  w.Blank();
  w.Line("9.3 Kemb Web Service");
  w.One("WebServiceEnable", "Enable________________________________", Value::kDecimal,
        " (0=No, 1=Yes)");
  w.Whole("WebServiceServer", "Server:_________________________", Value::kBox, " ");
  w.Blank(3);
}

void WriteAlarmTypeDefinitions(ListWriter& w) {
  w.Line("11 Alarm type definitions");
  w.Blank();
  static constexpr const char* kLegend[] = {
      "Bit 7: (most significant bit)",
      "   0=Not active",
      "   1=Active",
      "Bit 6:",
      "   0=Place in queue",
      "   1=Send directly",
      "Bit 5:",
      "   0=Not allowed to activate mic.",
      "   1=Allowed to activate mic.",
      "Bit 4:",
      "   0=Not allowed to activate speaker",
      "   1=Allowed to activate speaker",
      "Bit 3:",
      "   0=Not allowed to cancel alarm between call attempts",
      "   1=Allowed to cancel alarm between call attempts",
      "Bit 2:",
      "   0=Not allowed to activate speaker during dialling",
      "   1=Allowed to activate speaker during dialling",
      "Bit 1:",
      "   0=Low priority",
      "   1=High priority",
      "Bit 0:",
      "   0=Reserved for future use (default)",
  };
  for (const char* line : kLegend) w.Line(line);
  w.Blank();
  struct Source {
    const char* field;  // after "AlarmTypeDefinition."
    const char* kemb;
    const char* other;  // nullptr: as in the KEMB editions
  };
  static constexpr Source kSources[] = {
      {"UserAlarmFromTrigger", "User alarm from trigger:_____", nullptr},
      {"UserAlarmFromButton", "User alarm from button:______", nullptr},
      {"ReminderAlarm", "Reminder alarm:______________", nullptr},
      {"PassiveAlarm", "Passive alarm:_______________", nullptr},
      {"DoorAlarm", "Door alarm:__________________", nullptr},
      {"BedAlarm", "Bed alarm:___________________", nullptr},
      {"HomeIndication", "Home indication:_____________", "Carpet alarm:________________"},
      {"MainsFailureAlarm", "Mains failure alarm:_________", nullptr},
      {"MainsOkIndication", "Mains OK indication:_________", nullptr},
      {"AccumulatorAlarm", "Accumulator alarm:___________", nullptr},
      {"BatteryAlarm", "Battery alarm:_______________", nullptr},
      {"SmokeDetectorAlarm", "Smoke detector alarm:________", nullptr},
      {"BurglarAlarm", "Burglar alarm:_______________", "Assault alarm:_______________"},
      {"PresenceIndication", "Presence indication:_________", nullptr},
      {"ReadyIndication", "Ready indication:____________", nullptr},
      {"AutoReadyIndication", "Auto ready indication:_______", nullptr},
      {"ActionIndication", "Action indication:___________", nullptr},
      {"TestAlarm", "Test alarm:__________________", nullptr},
      {"AccumulatorFull", "Accumulator full:____________", "Emergency alarm:_____________"},
      {"AssistanceAlarm", "Assistance alarm:____________", nullptr},
      {"UserDefinedAlarmType", "User defined alarm type:_____", nullptr},
      {"UserAlarmTriggerLowBattery", "User alarm, trigger low batt:", nullptr},
      {"RadioInterferenceAlarm", "Radio interference alarm:____", nullptr},
      {"LogCall", "Log call:____________________", nullptr},
      {"RadioOutOfRange", "Radio out of range:__________", nullptr},
      {"RadioWithinRange", "Radio within range:__________", nullptr},
      {"AwayIndication", "Away indication:_____________", "Inactivity:__________________"},
      {"Network", "Network:____________________", nullptr},
  };
  for (const Source& source : kSources) {
    const char* label = w.kemb() || source.other == nullptr ? source.kemb : source.other;
    w.One(std::string("AlarmTypeDefinition.") + source.field, label, Value::kHex);
  }
}

}  // namespace

std::string TextListContent(const VynData& data, const StringTable& strings) {
  ListWriter w(data, strings);
  WriteHeaderAndAlarmSources(w, data);
  WriteSequences(w);
  WriteCallNumbers(w);
  WriteTimersAndIndications(w);
  WriteCallParameters(w);
  WriteExtendedFunctions(w);
  WriteAdvanced(w);
  WriteConfigurationAndIp(w);
  WriteAlarmTypeDefinitions(w);
  return w.Take();
}

std::string TextListFileName(const VynData& data, const std::string& program_data_folder) {
  switch (data.Origin) {
    case ImageOrigin::FromDefault: {
      std::string folder = program_data_folder;
      if (!folder.empty() && folder.back() != '/') folder += '/';
      return folder + "Default.txt";
    }
    case ImageOrigin::OpenedFile:
    case ImageOrigin::SavedFile:
      return data.FileName + ".txt";
    case ImageOrigin::ReadFromUnit: {
      const std::string code = FetchAlarmCodes(data.WorkingImage)[0];
      return data.FileName + "(" + (code.empty() ? "null" : code) + ").txt";
    }
  }
  return data.FileName + ".txt";
}

TextListStatus WriteTextListTo(const VynData& data, const StringTable& strings,
                               const std::string& path) {
  return ReplaceFileContent(path, TextListContent(data, strings)) == ReplaceFileResult::kOk
             ? TextListStatus::kWritten
             : TextListStatus::kCannotCreate;
}

TextListResult WriteTextList(const VynData& data, const StringTable& strings,
                             const std::string& program_data_folder) {
  const std::string path = TextListFileName(data, program_data_folder);
  return {WriteTextListTo(data, strings, path), path};
}

}  // namespace vyn
