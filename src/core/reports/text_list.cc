#include "core/reports/text_list.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

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

// How a line shows its field's value.
enum class Form {
  kDecimal,           // the byte in decimal
  kHex,               // the byte as 0x and two hex digits
  kBox,               // the text of the editor's box for the field
  kFlagBox,           // a check box: 1 when the byte is 1, else 0
  kAdvanced,          // the text of the field's row in the advanced table
  kTimer,             // KEMB: the timer code as hours, days or minutes; others: hours
  kCallSequence,      // the four steps of a sequence as letters
  kCallAttempts,      // the attempts; Velkstrom units call back for 101-200
  kRadioCalibration,  // the byte, and its negative reading when bit 7 is set
};

// The byte at 0x0B0 has one of three readings, by edition and build.
enum class When { kAlways, kKemb, kAutoAnswer, kReserved };

// Legends the list repeats.
constexpr std::string_view kNoYes = " (0=No, 1=Yes)";
constexpr std::string_view kYesNo = " (1=Yes, 0=No)";
// Text values and a few numbers are followed by a blank.
constexpr std::string_view kBlankAfter = " ";

enum class RowKind {
  kText,             // a fixed line
  kBlank,            // `count` empty lines
  kColumn,           // labels and their underscores fill the first `count` characters
  kField,            // the line of a catalogue field
  kFamily,           // a line for each field of a family
  kFileName,         // the configuration file's name in angle brackets
  kSequenceLetters,  // the legend of the call-sequence letters
};

// How a line names its addresses: the field's first address, its whole range, or `span` bytes
// from its first address where the list names an area of its own (the SIP texts by 64 bytes,
// the PIN with the two bytes after it, some texts by their first address twice).
constexpr int kFirstAddress = 0;
constexpr int kWholeField = -1;

struct Row {
  RowKind kind;
  // kText: the line. kField: a catalogue field. kFamily: the name before the dot of its members
  // ("Protocol"), whose lines follow in catalogue order, leaving out the members the catalogue
  // marks as not in the list.
  std::string_view name = {};
  Form form = Form::kDecimal;
  std::string_view legend = {};
  int count = 0;  // kBlank, kColumn
  int span = kFirstAddress;
  // The list's own wording where it is not the field's catalogue label ("Number" under
  // "9.2 SIP"), and what follows the label.
  std::string_view label = {};
  std::string_view after_label = ":";
  // Underscores past the section's column that a few lines of the format have.
  int overrun = 0;
  When when = When::kAlways;

  constexpr Row Whole() const { return Span(kWholeField); }
  constexpr Row Span(int bytes) const {
    Row row = *this;
    row.span = bytes;
    return row;
  }
  constexpr Row Label(std::string_view text, std::string_view after = ":") const {
    Row row = *this;
    row.label = text;
    row.after_label = after;
    return row;
  }
  constexpr Row NoColon() const { return Label(label, ""); }
  constexpr Row Overrun(int underscores) const {
    Row row = *this;
    row.overrun = underscores;
    return row;
  }
  constexpr Row Only(When readings) const {
    Row row = *this;
    row.when = readings;
    return row;
  }
};

constexpr Row Text(std::string_view line) { return {RowKind::kText, line}; }
constexpr Row Blank(int lines = 1) { return {.kind = RowKind::kBlank, .count = lines}; }
constexpr Row Column(int column) { return {.kind = RowKind::kColumn, .count = column}; }
constexpr Row Field(std::string_view name, Form form, std::string_view legend = {}) {
  return {RowKind::kField, name, form, legend};
}
constexpr Row Dec(std::string_view name, std::string_view legend = {}) {
  return Field(name, Form::kDecimal, legend);
}
constexpr Row Box(std::string_view name, std::string_view legend = {}) {
  return Field(name, Form::kBox, legend);
}
constexpr Row Advanced(std::string_view name, std::string_view legend = {}) {
  return Field(name, Form::kAdvanced, legend);
}
constexpr Row Family(std::string_view name, Form form, std::string_view legend = {}) {
  return {RowKind::kFamily, name, form, legend};
}

// The list, top to bottom.
constexpr Row kList[] = {
    Text("Parameters in"),
    {RowKind::kFileName},
    Text("Values with prefix '0x' is hexadecimal, all other is decimal."),
    Blank(),
    Text("1. Alarm sources"),
    Text("1.1.1 Radio alarms"),
    Text("No code, empty slot = 0x0000"),
    Column(35),
    Family("TransmitterCode", Form::kBox).Whole(),
    Blank(),
    Text("1.1.2 Alarm types to send"),
    Family("TransmitterAlarmType", Form::kHex),
    Blank(),
    Text("1.3 Buttons"),
    Field("ExtraButtonAlarmType", Form::kHex),
    Blank(2),

    Text("2. Sequences"),
    Text("2.1 Sequence numbers"),
    Column(42),
    Family("SequenceNumber", Form::kDecimal),
    Blank(),
    Text("2.2 Sequences definitions"),
    {RowKind::kSequenceLetters},
    Column(34),
    Family("CallSequence", Form::kCallSequence).Span(4),
    Blank(),
    Text("2.3 Cycles"),
    Dec("RepeatSequence"),
    Dec("MaxCallAttempts"),
    Blank(2),

    Text("3 Call numbers"),
    Text("3.1.1 Call information"),
    Text("W=B wait 500ms, T=D Wait for dial tone, *=E, #=F, Stop dial=A"),
    Text("No number = 0xAAAAAAAAAAAAAAAA"),
    Family("TelephoneNumber", Form::kBox).Whole(),
    Blank(),
    Text("3.1.2 SIP account to use"),
    Family("AccountToUse", Form::kDecimal),
    Blank(),
    Text("3.1.3 Alarm codes"),
    Text("End of alarm code = A"),
    Family("AlarmCode", Form::kBox).Whole(),
    Blank(),
    Text("3.1.4 Protocols"),
    Text("0=Undefined, 1=KEMB TALK, 2=CPC Antenna, 3=Tunstall New, 4=Home phone, 8=Auto answer"),
    Text(
        "9=CPC Attendo, 16=MV, 17=TT92, 18=Multi, 21=KEMB TALK ST, 22=BS8521, 23=Verklizan UMO IP"),
    Text("24=CIP, 25=MPTP, 26=KEMB TALK GSM."),
    Family("Protocol", Form::kDecimal),
    Blank(),
    Text("3.1.5 Call attempts"),
    Family("CallAttempts", Form::kCallAttempts),
    Blank(2),

    Text("4 Timers and indications"),
    Text("4.1 Alarm activation and timers"),
    Column(46),
    Dec("ReminderTime", " (minutes)"),
    Dec("MaxReminderAlarms"),
    Field("PassiveAlarmInterval", Form::kTimer),
    Field("MainsFailureDelay", Form::kTimer),
    Field("TestAlarmInterval", Form::kTimer),
    Dec("BlockTime", " (0=No, 1-255=No of minutes)"),
    Dec("BatteryCheckInterval", " (h)"),
    Dec("MaxTimeInPresence", " (0=Unlimited, (h))"),
    Dec("ResetTestAlarmTimer", kNoYes),
    Dec("InterferenceAlarmGap", " (minutes)"),
    Dec("RadioTestAlarmPeriod", " (h)"),
    Dec("NetworkFailureDelay", " (h)"),
    Blank(),
    Text("4.2 Indications"),
    Dec("WarningFunctions", " (0=No, 1=Visual, 2=Acoustical, 3=Visual and Acoustical)"),
    Dec("SignalLevel", " (1=Low, 2=Medium, 3=High)"),
    Dec("ConversationLevel", " (1=Lowest, 2=Low, 3=High)"),
    Dec("PrecallSignalType", " (1=Short, 2=Tone seq. 3=Happy, 4=Distinct)"),
    Dec("PrecallSignalDelay", " (s)"),
    Dec("RingingSignalInSpeaker", kNoYes),
    Dec("DiallingInSpeaker", kNoYes).Overrun(1),
    Dec("AlarmButtonIllumination", " (0=LED off, 1-255=Yes)"),
    Dec("IndicationInBatteryMode", kNoYes),
    Blank(),
    Text("4.3 Date and time"),
    Dec("TimeZoneIndex"),
    Field("DaylightSaving", Form::kFlagBox, kNoYes),
    Blank(2),

    Text("5 Call parameters"),
    Text("5.1 Outgoing call"),
    Dec("TimeToWaitForAnswer", " (s)"),
    Dec("TimeBetweenCalls", " (s)"),
    Dec("MaxConversationTime", " (*10s)"),
    Field("RequireDisconnection", Form::kFlagBox, kNoYes),
    Field("RadioTestBits", Form::kHex).Only(When::kKemb),
    Dec("AutoAnswerDuration", " (*10s)").Only(When::kAutoAnswer),
    Field("RadioTestBits", Form::kHex).Label("Reserved").Only(When::kReserved),
    Dec("RedialMaxTime", " (s)").Overrun(4),
    Dec("RedialInterval", " (s)").Overrun(4),
    Blank(),
    Text("5.2 GSM"),
    Field("GsmEnable", Form::kFlagBox, kNoYes),
    Box("GsmPin").Span(4),
    Box("SmsServiceCenter").Span(1),
    Box("GsmOwnNumber").Span(1),
    Box("GsmNumberFromSim").Span(1),
    Field("GprsEnable", Form::kFlagBox, kNoYes),
    Box("GprsApn").Span(1),
    Blank(),
    Text("5.3 Incoming call"),
    Dec("RingsBeforeAnswer", " (0=No, 1-255=No of ringing signals)"),
    Dec("TransmitterAnswer", kNoYes),
    Blank(2),

    Text("6 Extended functions"),
    Text("6.1 Other functions"),
    Dec("TransmitterBeep", kNoYes),
    Dec("ReplaceLastDigit", " (0=Off, 1=Last digit in phone ID is transmitter ID)"),
    Field("UserDefinedAlarmTypeId", Form::kHex),
    Dec("AnswerRadioMessageWithAck", kNoYes),
    Dec("PassiveAlarmOnceOnly", kNoYes),
    // The same byte as in section 4, under a shorter label.
    Dec("ResetTestAlarmTimer", kNoYes).Label("Reset test alarm timer"),
    Dec("ServiceCallType"),
    Dec("ServiceCallInterval", " (days)"),
    Blank(),
    Text("6.2 Product information (read-only)"),
    Dec("ProductModel"),
    Dec("HwVersion"),
    Box("AssemblyDate.Year"),
    Box("AssemblyDate.Month"),
    Box("AssemblyDate.Day"),
    Box("SerialNumber").Whole(),
    Box("BootVersion").Whole(),
    Box("ApplicationVersion").Whole(),
    Blank(2),

    Text("7. Advanced"),
    Text("7.1"),
    Advanced("DtmfToneDuration", " (ms)"),
    Advanced("DtmfPauseDuration", " (ms)"),
    Advanced("DtmfMessageTimeout", " (ms)").Whole(),
    Advanced("DtmfMessageHoldBeforeSend", " (ms)").Whole().Overrun(2),
    Advanced("DtmfDirectDecode", kYesNo),
    // The list's own spelling.
    Advanced("DtmfEnhancedAudioMode", kYesNo).Label("DTMF enhanded audio mode enabled"),
    Advanced("StdbToneDuration", " (ms)").Overrun(1),
    Advanced("StdbMessageTimeout", " (ms)").Whole().Overrun(2),
    Advanced("NimhChargingTime", " (h)"),
    Advanced("BatteryThreshold", "(V)"),
    Advanced("RadioInterferenceThreshold"),
    Advanced("DtmfLevel", " (-dB)"),
    Advanced("StdbLevel", " (-dB)"),
    Advanced("ModelIdTunstall.1"),
    Advanced("ModelIdTunstall.2"),
    Advanced("ModelIdCpc.1"),
    Advanced("ModelIdCpc.2"),
    Advanced("BatteryThresholdInBatteryMode", " (V)"),
    Advanced("DuplexSignalAttack", " (dB/ms)").Whole(),
    Advanced("DuplexSignalRelease", " (dB/ms)").Whole(),
    Advanced("DuplexNoiseAttack", " (dB/ms)").Whole(),
    Advanced("DuplexNoiseRelease", " (dB/ms)").Whole(),
    Advanced("DuplexSignalDetect", " (ms)").Whole(),
    Advanced("DuplexSignalHold", " (ms)").Whole(),
    Advanced("DuplexSpeechThreshold", " (dB)").Whole(),
    Advanced("DuplexMicThreshold", " (dB)").Whole(),
    // "percent, 0 = standard", written as the percent sign and the text that follow it.
    Family("SignalVolume", Form::kAdvanced, " (% 0=Standard)"),
    Advanced("ResetPassiveTimerExtraButton", kNoYes).NoColon(),
    Advanced("MicrophoneGain", " (dB 0 - +20)"),
    Advanced("GsmDtmfOutOfBand", kYesNo),
    Advanced("DtmfFillTones", kYesNo),
    Advanced("GsmHalfRateAllowed", kYesNo),
    Advanced("GsmAmrAllowed", kYesNo),
    Advanced("Rfc2833Allowed", kYesNo),
    Advanced("ContactIdCallback", kYesNo),
    Advanced("LedForRadioInterference", kYesNo),
    Advanced("ResendMessageTimeout", kYesNo),
    Advanced("BatteryDischargeDisable", kYesNo),
    Blank(),
    Text("7.2 Advanced"),
    Family("LineVolume", Form::kDecimal),
    Blank(),
    Text("7.3 Hardware control"),
    Field("RadioCalibration", Form::kRadioCalibration),
    Box("RadioClass1Calibration", " (read-only)").Whole(),
    Blank(2),

    Text("8. Configuration"),
    Text("8.1 Configuration"),
    Text("0=Swedish, 1=Deutch, 2=Dutch"),
    Dec("UnitConfiguration", kBlankAfter),
    Blank(),
    Text("8.2 Security (read only)"),
    Box("AccessPassword", kBlankAfter),
    Blank(2),

    Text("9. IP"),
    Text("9.1 Ethernet"),
    Box("MacAddress").Whole(),
    Dec("NetworkEnable", kNoYes).NoColon(),
    Dec("WanEnable", kNoYes).NoColon(),
    Box("NtpServer", kBlankAfter),
    Box("StunServer", kBlankAfter),
    Box("PingServer", kBlankAfter),
    Blank(),
    Text("9.2 SIP"),
    Dec("Sip1Enable", kNoYes).NoColon(),
    Box("Sip1Number", kBlankAfter).Span(64).Label("Number"),
    Box("Sip1Server", kBlankAfter).Span(64).Label("Server"),
    Box("Sip1UserName", kBlankAfter).Span(64).Label("Username"),
    Box("Sip1Password", kBlankAfter).Span(64).Label("Password"),
    Dec("CipPingEnable.1", kNoYes).Label("CIP PING enable", ""),
    Blank(),
    Dec("Sip2Enable", kNoYes).NoColon(),
    Box("Sip2Number", kBlankAfter).Span(64).Label("Number"),
    Box("Sip2Server", kBlankAfter).Span(64).Label("Server"),
    Box("Sip2UserName", kBlankAfter).Span(64).Label("Username"),
    Box("Sip2Password", kBlankAfter).Span(64).Label("Password"),
    Dec("CipPingEnable.2", kNoYes).Label("CIP PING enable", ""),
    Blank(),
    Box("Sip1Expire").Span(2).Label("Expire", ""),
    Box("Sip1ServerPort").Whole().Label("Server port", ""),
    Box("LocalSipPort").Whole().NoColon(),
    Box("RtpPort").Whole().NoColon(),
    Blank(),
    Text("9.3 Kemb Web Service"),
    Dec("WebServiceEnable", kNoYes).Label("Enable", ""),
    Box("WebServiceServer", kBlankAfter).Whole().Label("Server"),
    Blank(3),

    Text("11 Alarm type definitions"),
    Blank(),
    Text("Bit 7: (most significant bit)"),
    Text("   0=Not active"),
    Text("   1=Active"),
    Text("Bit 6:"),
    Text("   0=Place in queue"),
    Text("   1=Send directly"),
    Text("Bit 5:"),
    Text("   0=Not allowed to activate mic."),
    Text("   1=Allowed to activate mic."),
    Text("Bit 4:"),
    Text("   0=Not allowed to activate speaker"),
    Text("   1=Allowed to activate speaker"),
    Text("Bit 3:"),
    Text("   0=Not allowed to cancel alarm between call attempts"),
    Text("   1=Allowed to cancel alarm between call attempts"),
    Text("Bit 2:"),
    Text("   0=Not allowed to activate speaker during dialling"),
    Text("   1=Allowed to activate speaker during dialling"),
    Text("Bit 1:"),
    Text("   0=Low priority"),
    Text("   1=High priority"),
    Text("Bit 0:"),
    Text("   0=Reserved for future use (default)"),
    Blank(),
    Column(36),
    Family("AlarmTypeDefinition", Form::kHex),
};

// A line with the catalogue fields it shows: one field, or the steps of a call sequence.
struct FieldLine {
  const Row* row;
  std::vector<const FieldInfo*> fields;  // empty when the row names no catalogue field
  int column;
};

// The rows with their names looked up in the catalogue, once.
struct ResolvedRow {
  const Row* row;
  std::vector<FieldLine> lines;  // kField and kFamily
};

std::vector<FieldLine> FieldLines(const Row& row, int column) {
  std::vector<FieldLine> lines;
  if (row.kind == RowKind::kField) {
    const FieldInfo* field = FindField(row.name);
    lines.push_back({&row, {}, column});
    if (field) lines.back().fields.push_back(field);
    return lines;
  }
  const std::string prefix = std::string(row.name) + ".";
  // A call sequence's line shows its four steps.
  const std::size_t per_line = row.form == Form::kCallSequence ? 4 : 1;
  for (const FieldInfo& field : FieldCatalogue()) {
    if (!field.name.starts_with(prefix) || !field.in_text_list) continue;
    if (lines.empty() || lines.back().fields.size() == per_line) {
      lines.push_back({&row, {}, column});
    }
    lines.back().fields.push_back(&field);
  }
  if (lines.empty()) lines.push_back({&row, {}, column});
  return lines;
}

const std::vector<ResolvedRow>& ResolvedList() {
  static const std::vector<ResolvedRow> resolved = [] {
    std::vector<ResolvedRow> rows;
    int column = 0;
    for (const Row& row : kList) {
      if (row.kind == RowKind::kColumn) column = row.count;
      ResolvedRow entry{&row, {}};
      if (row.kind == RowKind::kField || row.kind == RowKind::kFamily) {
        entry.lines = FieldLines(row, column);
      }
      rows.push_back(std::move(entry));
    }
    return rows;
  }();
  return resolved;
}

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

// "%.0f" of a table value, rounded half away from zero as the table's own numbers are.
std::string WholeNumberText(double value) {
  return Printf("%.0f", std::round(value) + 0.0);  // + 0.0 turns -0 into 0
}

std::string Number(int value) { return std::to_string(value); }

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

std::string FileNameText(const std::string& name) {
  // File names on this system are UTF-8; the list is 8-bit text.
  return WithoutControlCharacters(IsValidUtf8(name) ? Utf8ToWindows1252(name) : name);
}

// What of the list depends on the edition and the build's texts.
struct Build {
  explicit Build(const StringTable& strings)
      : edition(EditionName(strings)),
        kemb(IsKembEdition(strings)),
        velkstrom(IsVelkstrom(strings)),
        auto_answer(strings.Has(kAutoAnswerDurationStringId)),
        letters(Utf8ToWindows1252(strings.Text(kCallSequenceLettersStringId))) {}

  // Whether the line of `row` is written for this edition and build.
  bool Shows(const Row& row) const {
    switch (row.when) {
      case When::kAlways:
        return true;
      case When::kKemb:
        return kemb;
      case When::kAutoAnswer:
        return !kemb && auto_answer;
      case When::kReserved:
        return !kemb && !auto_answer;
    }
    return false;
  }

  const std::string edition;
  const bool kemb;
  const bool velkstrom;
  const bool auto_answer;
  const std::string letters;
};

class ListWriter {
 public:
  ListWriter(const VynData& data, const StringTable& strings)
      : data_(data), image_(data.WorkingImage), build_(strings) {
    text_.reserve(24 * 1024);
  }

  std::string Write() {
    for (const ResolvedRow& entry : ResolvedList()) {
      const Row& row = *entry.row;
      switch (row.kind) {
        case RowKind::kText:
          Line(row.name);
          break;
        case RowKind::kBlank:
          for (int i = 0; i < row.count; ++i) text_ += kLineEnd;
          break;
        case RowKind::kColumn:
          break;
        case RowKind::kFileName:
          Line(data_.Origin == ImageOrigin::FromDefault ? "<Default.bin>"
                                                        : "<" + FileNameText(data_.FileName) + ">");
          break;
        case RowKind::kSequenceLetters:
          SequenceLetters();
          break;
        case RowKind::kField:
        case RowKind::kFamily:
          for (std::size_t i = 0; i < entry.lines.size(); ++i) FieldLineText(entry.lines[i], i);
          break;
      }
    }
    return std::move(text_);
  }

 private:
  void Line(std::string_view text) {
    text_ += text;
    text_ += kLineEnd;
  }

  // The character of the call-sequence letters at `position`; "?" where the build's text is
  // too short to have one.
  char Letter(std::size_t position) const {
    return position < build_.letters.size() ? build_.letters[position] : '?';
  }

  void SequenceLetters() {
    std::string legend;
    for (int i = 0; i <= 6; ++i) {
      if (i) legend += ", ";
      legend += Letter(static_cast<std::size_t>(i));
      legend += "=" + Number(i);
    }
    Line(legend);
  }

  // "[0xFIRST] LABEL___ VALUELEGEND", or "[0xFIRST-0xLAST] ...". Addresses print with at least
  // two upper-case hex digits.
  void FieldLineText(const FieldLine& line, std::size_t index) {
    const Row& row = *line.row;
    // A name the catalogue does not know has no line; the list's test names it.
    if (line.fields.empty() || !build_.Shows(row)) return;
    const FieldInfo& field = *line.fields.front();
    std::string own_label;  // the forms that word the label by the line's position
    std::string value;
    std::string legend(row.legend);
    FormValue(row.form, field, index, own_label, value, legend);
    const std::string_view label = !own_label.empty()   ? std::string_view(own_label)
                                   : !row.label.empty() ? row.label
                                                        : FieldLabel(field, build_.edition);

    const std::size_t start = text_.size();
    text_ += Printf("[0x%02X", static_cast<unsigned>(field.address));
    const int last = row.span == kWholeField ? field.last() : field.address + row.span - 1;
    if (row.span != kFirstAddress) text_ += Printf("-0x%02X", static_cast<unsigned>(last));
    text_ += "] ";
    text_ += label;
    text_ += row.after_label;
    const int padding = line.column - static_cast<int>(text_.size() - start);
    text_.append(static_cast<std::size_t>(std::max(padding, 0) + row.overrun), '_');
    text_ += ' ';
    text_ += value;
    text_ += legend;
    text_ += kLineEnd;
  }

  void FormValue(Form form, const FieldInfo& field, std::size_t index, std::string& label,
                 std::string& value, std::string& legend) const {
    const std::uint8_t byte = image_[field.address];
    switch (form) {
      case Form::kDecimal:
        value = ByteText(byte);
        return;
      case Form::kHex:
        value = "0x" + HexPairText(byte);
        return;
      case Form::kBox:
        value = BoxText(field);
        return;
      case Form::kFlagBox:
        value = byte == 1 ? "1" : "0";
        return;
      case Form::kAdvanced:
        value = AdvancedText(field);
        return;
      case Form::kTimer: {
        // The KEMB editions read the interval bytes as timer codes; the others as hours.
        const TimerReading reading = build_.kemb ? TimerCodeText(byte, field.timer_kind)
                                                 : TimerReading{byte, TimerUnit::kHours};
        value = Number(reading.value);
        legend = TimerUnitText(reading.unit);
        return;
      }
      case Form::kCallSequence:
        label = "Call sequence " + Number(static_cast<int>(index) + 1);
        for (int t = 0; t < 4; ++t) {
          const std::uint8_t step = image_[field.address + t];
          value += step <= 6 ? Letter(step) : '?';
          value += ' ';
        }
        return;
      case Form::kCallAttempts:
        CallAttempts(byte, index, label, value, legend);
        return;
      case Form::kRadioCalibration:
        if (byte & 0x80) {
          value = Number(256 - byte);
          legend = " (-" + Number(byte) + ")(read-only)";
        } else {
          value = Number(byte);
          legend = " (read-only)";
        }
        return;
    }
  }

  void CallAttempts(std::uint8_t byte, std::size_t index, std::string& label, std::string& value,
                    std::string& legend) const {
    if (!build_.velkstrom) {
      // The sixth line names the redirection number R.
      label = std::string("No of attempts ") + (index == 5 ? 'R' : kNumberLetters[index]);
      value = Number(byte);
      return;
    }
    // Velkstrom units call back after 101-200: the attempts are the value minus 100.
    label = std::string("No of attempts ") + Letter(index + 1);
    value = Number(byte > 100 && byte <= 200 ? byte - 100 : byte);
    legend = byte <= 100   ? " (Call back=No)"
             : byte <= 200 ? " (Call back=Yes)"
                           : " (Illegal value)";
  }

  // The box texts come from the image as the editor's load forms them. A control character
  // inside an image text (a line break would split the line, a NUL or ESC garble a viewer)
  // shows as "?" like any character the file cannot hold.
  std::string BoxText(const FieldInfo& field) const {
    return WithoutControlCharacters(FieldValueText(image_, field, data_.ShortLayout));
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

  const VynData& data_;
  const ParameterImage& image_;
  const Build build_;
  std::string text_;
};

}  // namespace

std::string TextListContent(const VynData& data, const StringTable& strings) {
  return ListWriter(data, strings).Write();
}

std::vector<TextListLine> TextListLineFields(const StringTable& strings) {
  const Build build(strings);
  std::vector<TextListLine> fields;
  for (const ResolvedRow& entry : ResolvedList()) {
    for (const FieldLine& line : entry.lines) {
      if (build.Shows(*line.row)) fields.push_back({line.row->name, line.fields});
    }
  }
  return fields;
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
