#include "core/reports/record/vyn_print.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <system_error>
#include <utility>

#include "core/image/codecs.h"
#include "core/image/field_values.h"
#include "core/image/number_pool.h"
#include "core/strings/edition.h"

namespace vyn {
namespace {

// String-table texts of the record.
constexpr int kRecordTitleId = 13901;
constexpr int kIdNumberLabelId = 13902;
constexpr int kSerialNumberLabelId = 13903;
constexpr int kProductionDateLabelId = 13904;
constexpr int kPrintDateLabelId = 13905;
constexpr int kFileNameLabelId = 13906;
constexpr int kFileDateLabelId = 13907;
constexpr int kPageFooterId = 13908;  // "Seite %d von %d"
constexpr int kReadFromUnitId = 13909;
constexpr int kDefaultSourceId = 15020;
constexpr int kSequenceLettersId = 15039;  // "-ABCDNU": no step, then the numbers A-D, N, U
constexpr int kOnId = 13925;
constexpr int kOffId = 13926;
constexpr int kSecondsId = 13200;
constexpr int kMinutesId = 13201;
constexpr int kHoursId = 13202;
constexpr int kDaysId = 13932;

constexpr int kPageCount = 4;

// The page in millimetres: the frame and where the body may draw.
constexpr int kFrameLeft = 20;
constexpr int kFrameRight = 195;
constexpr int kBodyTop = 73;      // the first heading of every page
constexpr int kBodyBottom = 265;  // texts end 2 mm above the frame line at 267
constexpr int kTextRight = 194;   // texts end 1 mm inside the frame
constexpr int kValueX = 100;

// A text too wide for its place is set in a smaller font down to this size before it is cut.
constexpr int kSmallestFitPoints = 6;
// Below this line pitch (a share of the line height) the fonts shrink along with it.
constexpr double kClosestLinePitch = 0.9;
constexpr int kFittingRuns = 4;

// Print settings beyond these stay on the page's scale (and within int arithmetic).
constexpr int kLargestPosition = 1000;  // mm
constexpr int kLargestHeaderPoints = 200;

// Replaces each "%d", "%s" or "%c" of `pattern` in turn with the next text; a conversion
// without a text becomes empty.
std::string Insert(std::string_view pattern, std::initializer_list<std::string_view> texts) {
  std::string out;
  auto next = texts.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '%' && i + 1 < pattern.size() &&
        (pattern[i + 1] == 'd' || pattern[i + 1] == 's' || pattern[i + 1] == 'c')) {
      if (next != texts.end()) out += *next++;
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

// Every "&&" becomes "&", as long as there is one.
std::string ReduceAmpersands(std::string text) {
  for (std::size_t at = text.find("&&"); at != std::string::npos; at = text.find("&&")) {
    text.erase(at, 1);
  }
  return text;
}

const FieldInfo& Field(std::string_view name) {
  // Every name used here is in the catalogue; the fallback only keeps a slip from reading out
  // of bounds.
  static const FieldInfo kMissing{};
  const FieldInfo* field = FindField(name);
  return field != nullptr ? *field : kMissing;
}

int Clamped(double value, int limit) {
  return static_cast<int>(std::lround(std::clamp(value, -1.0 * limit, 1.0 * limit)));
}

// The text a folder-less name shows: an absolute path is cut to its last part. Other texts keep
// their slashes ("aus VYN IP/GSM ausgelesen").
std::string FileNamePart(const std::string& source) {
  if (!source.starts_with('/')) return source;
  return source.substr(source.find_last_of('/') + 1);
}

// ---- the tables of the body

enum class Cell {
  kHeading,       // a section heading
  kTimer,         // a timer code in the edition's reading
  kTestTimer,     // as kTimer; outside the KEMB editions the codes from 101 on are days
  kAmount,        // "%d %s": the value and a unit word (tens of seconds in seconds)
  kDecimal,       // the value in decimal
  kList,          // the field's list value
  kNonZeroYesNo,  // yes when the byte is not 0
  kBit7YesNo,     // yes when bit 7 of the byte is set
  kTimeZone,      // the time-zone group as "GMT +01:00"
  kCheckBox,      // a check box at the value's place, ticked when the byte is not 0
};

struct TableRow {
  Cell cell;
  int caption;
  const char* field = nullptr;
  int unit = 0;  // the unit word of amounts
  bool velkstrom_only = false;
  bool extra_line = false;  // a blank line follows
};

constexpr TableRow kTimesAndSignals[] = {
    {Cell::kHeading, 13123},
    {Cell::kTimer, 13180, "PassiveAlarmInterval"},
    {Cell::kAmount, 13182, "ReminderTime", kMinutesId},
    {Cell::kDecimal, 13183, "MaxReminderAlarms"},
    {Cell::kTimer, 13184, "MainsFailureDelay"},
    {Cell::kTestTimer, 13186, "TestAlarmInterval"},
    {Cell::kAmount, 13188, "BlockTime", kMinutesId},
    {Cell::kAmount, 13189, "BatteryCheckInterval", kHoursId},
    {Cell::kAmount, 13190, "MaxTimeInPresence", kHoursId},
    {Cell::kAmount, 13191, "InterferenceAlarmGap", kMinutesId},
    {Cell::kAmount, 13193, "RadioTestAlarmPeriod", kHoursId},
    {Cell::kAmount, 21000, "NetworkFailureDelay", kHoursId},
    {Cell::kHeading, 13124},
    {Cell::kList, 13205, "WarningFunctions"},
    {Cell::kList, 13206, "SignalLevel"},
    {Cell::kList, 13207, "ConversationLevel"},
    {Cell::kList, 13208, "PrecallSignalType"},
    {Cell::kAmount, 13209, "PrecallSignalDelay", kSecondsId},
    {Cell::kList, 13210, "RingingSignalInSpeaker"},
    {Cell::kList, 13211, "DiallingInSpeaker"},
    {Cell::kList, 13212, "IndicationInBatteryMode"},
    {Cell::kNonZeroYesNo, 13213, "AlarmButtonIllumination", 0, false, true},
    {Cell::kBit7YesNo, 13607, "AlarmTypeDefinition.UserAlarmFromButton"},
    {Cell::kList, 13142, "ExtraButtonAlarmType"},
    {Cell::kHeading, 13105},
    {Cell::kAmount, 13219, "TimeToWaitForAnswer", kSecondsId},
    {Cell::kAmount, 13222, "TimeBetweenCalls", kSecondsId},
    {Cell::kAmount, 13223, "MaxConversationTime", kSecondsId},
    {Cell::kList, 13226, "RequireDisconnection"},
    {Cell::kAmount, 13227, "AutoAnswerDuration", kSecondsId, true},
    {Cell::kList, 13228, "TransmitterAnswer"},
    {Cell::kDecimal, 13229, "RingsBeforeAnswer"},
    {Cell::kHeading, 13125},
    {Cell::kTimeZone, 13214, "TimeZoneGroup"},
    {Cell::kCheckBox, 13299, "DaylightSaving"},
};

constexpr TableRow kFurtherFunctions[] = {
    {Cell::kHeading, 13128},
    {Cell::kList, 13247, "TransmitterBeep"},
    {Cell::kList, 13232, "ReplaceLastDigit"},
    {Cell::kDecimal, 13233, "UserDefinedAlarmTypeId"},
    {Cell::kList, 13234, "AnswerRadioMessageWithAck"},
    {Cell::kList, 13248, "PassiveAlarmOnceOnly"},
    {Cell::kList, 13192, "ResetTestAlarmTimer"},
};

// The alarm types in the record's order, 14 to a column; each is on when bit 7 of its byte is
// set.
struct AlarmTypeRow {
  int caption;
  const char* field;
};
constexpr AlarmTypeRow kAlarmTypes[] = {
    {13303, "AlarmTypeDefinition.UserAlarmFromTrigger"},
    {13324, "AlarmTypeDefinition.UserAlarmTriggerLowBattery"},
    {13304, "AlarmTypeDefinition.UserAlarmFromButton"},
    {13305, "AlarmTypeDefinition.ReminderAlarm"},
    {13306, "AlarmTypeDefinition.PassiveAlarm"},
    {13307, "AlarmTypeDefinition.DoorAlarm"},
    {13308, "AlarmTypeDefinition.BedAlarm"},
    {13309, "AlarmTypeDefinition.HomeIndication"},
    {13310, "AlarmTypeDefinition.MainsFailureAlarm"},
    {13311, "AlarmTypeDefinition.MainsOkIndication"},
    {13312, "AlarmTypeDefinition.AccumulatorAlarm"},
    {13313, "AlarmTypeDefinition.BatteryAlarm"},
    {13314, "AlarmTypeDefinition.SmokeDetectorAlarm"},
    {13315, "AlarmTypeDefinition.BurglarAlarm"},
    {13316, "AlarmTypeDefinition.PresenceIndication"},
    {13317, "AlarmTypeDefinition.ReadyIndication"},
    {13318, "AlarmTypeDefinition.AutoReadyIndication"},
    {13319, "AlarmTypeDefinition.ActionIndication"},
    {13320, "AlarmTypeDefinition.TestAlarm"},
    {13321, "AlarmTypeDefinition.AccumulatorFull"},
    {13322, "AlarmTypeDefinition.AssistanceAlarm"},
    {13323, "AlarmTypeDefinition.UserDefinedAlarmType"},
    {13326, "AlarmTypeDefinition.LogCall"},
    {13325, "AlarmTypeDefinition.RadioInterferenceAlarm"},
    {13327, "AlarmTypeDefinition.RadioOutOfRange"},
    {13328, "AlarmTypeDefinition.RadioWithinRange"},
    {13329, "AlarmTypeDefinition.AwayIndication"},
    {13339, "AlarmTypeDefinition.Network"},
};
constexpr int kAlarmTypesPerColumn = 14;

// The captions of the sequence numbers of the ten alarm-type groups.
constexpr int kSequenceGroupCaptions[] = {13143, 13144, 13145, 13146, 13147,
                                          13148, 13149, 13150, 13151, 13152};
constexpr const char* kSequenceGroupFields[] = {
    "SequenceNumber.User",          "SequenceNumber.External",     "SequenceNumber.Technical",
    "SequenceNumber.SmokeDetector", "SequenceNumber.Burglar",      "SequenceNumber.Staff",
    "SequenceNumber.Test",          "SequenceNumber.UserActivity", "SequenceNumber.Assistance",
    "SequenceNumber.UserDefined"};

}  // namespace

std::string RecordTitleFor(const std::string& id_number, const StringTable& strings) {
  const std::string title = strings.Text(kRecordTitleId);
  return id_number.empty() ? title : title + " (" + id_number + ")";
}

RecordInputs EditorRecordInputs(const VynData& data, const StringTable& strings,
                                const DateTexts& dates) {
  RecordInputs inputs;
  inputs.IdNumber = FetchAlarmCodes(data.WorkingImage)[0];
  inputs.RecordTitle = RecordTitleFor(inputs.IdNumber, strings);
  switch (data.Origin) {
    case ImageOrigin::OpenedFile:
    case ImageOrigin::SavedFile: {
      inputs.SourceText = std::filesystem::path(data.FileName).filename().string();
      if (const std::optional<CalendarDate> date = FileModificationDate(data.FileName)) {
        inputs.FileDate = dates.ShortDate(*date);
      }
      break;
    }
    case ImageOrigin::ReadFromUnit:
      inputs.SourceText = strings.Text(kReadFromUnitId);
      break;
    case ImageOrigin::FromDefault:
      inputs.SourceText = strings.Text(kDefaultSourceId);
      break;
  }
  if (data.WorkingImage != data.ReferenceImage) {
    inputs.SourceText = Insert("[%s]", {inputs.SourceText});
  }
  return inputs;
}

RecordInputs UnitRecordInputs(const ParameterImage& image, const StringTable& strings) {
  RecordInputs inputs;
  inputs.IdNumber = FetchAlarmCodes(image)[0];
  inputs.RecordTitle = RecordTitleFor(inputs.IdNumber, strings);
  inputs.SourceText = strings.Text(kReadFromUnitId);
  return inputs;
}

VynPrint::VynPrint(const StringTable& strings, std::string settings_file, std::string logo_folder,
                   const DateTexts& dates)
    : strings_(strings),
      dates_(dates),
      logo_folder_(std::move(logo_folder)),
      settings_(std::move(settings_file)) {}

void VynPrint::SetInputs(const RecordInputs& inputs) {
  Copies = inputs.Copies;
  RecordTitle = inputs.RecordTitle;
  IdNumber = inputs.IdNumber;
  SourceText = inputs.SourceText;
  FileDate = inputs.FileDate;
}

bool VynPrint::PrintRecord(VynData data, Canvas& canvas) {
  canvas_ = &canvas;
  data_ = &data;
  Prepare();
  const PrintLayout layout = settings_.ReadPrintLayout();
  logo_path_ = LogoPath(layout.logo_name);
  const bool logo = !logo_path_.empty() && canvas.LoadBitmap(logo_path_);
  const int passes = canvas.BeginDocument(RecordTitle, std::max(1, Copies));
  horizontal_unit_ = canvas.PageWidth() / 210.0;
  vertical_unit_ = canvas.PageHeight() / 297.0;
  left_margin_ = 25;
  ReadLayout(layout);
  // A device without a page (a printer that reports none) gets an empty job.
  const bool has_page = canvas.PageWidth() > 0 && canvas.PageHeight() > 0;
  for (int pass = 0; has_page && pass < std::max(1, passes); ++pass) {
    for (int page = 1; page <= kPageCount; ++page) {
      if (pass > 0 || page > 1) canvas.NewPage();
      DrawPage(page);
    }
  }
  canvas.EndDocument();
  if (logo) canvas.ReleaseBitmap();
  lists_.clear();
  data_ = nullptr;
  canvas_ = nullptr;
  return true;
}

// ---- preparation

void VynPrint::Prepare() {
  kemb_ = IsKembEdition(strings_);
  velkstrom_ = IsVelkstrom(strings_);
  lists_.clear();
  serial_number_ = Value("SerialNumber");
  print_date_ = dates_.ShortDate(dates_.Today());
  production_date_ = ProductionDate();
}

// Both bytes are read as two decimal digits, one to a nibble: 0x24 0x05 is May 2024.
std::string VynPrint::ProductionDate() const {
  const auto decimal = [](std::uint8_t byte) { return 10 * (byte >> 4) + (byte & 0x0F); };
  const int year = 2000 + decimal(Byte("AssemblyDate.Year"));
  const int month = decimal(Byte("AssemblyDate.Month"));
  if (month < 1 || month > 12) return {};
  return dates_.ShortMonthName(month) + "/" + std::to_string(year);
}

std::string VynPrint::LogoPath(const std::string& logo_name) const {
  std::error_code error;
  const std::filesystem::path folder(logo_folder_);
  if (!logo_name.empty() && std::filesystem::is_regular_file(folder / logo_name, error)) {
    return (folder / logo_name).string();
  }
  if (std::filesystem::is_regular_file(folder / kFallbackLogoName, error)) {
    return (folder / kFallbackLogoName).string();
  }
  return {};
}

void VynPrint::ReadLayout(const PrintLayout& layout) {
  const auto position = [](int mm) { return std::clamp(mm, -kLargestPosition, kLargestPosition); };
  // A size is added to the position known at that moment: a moved logo keeps its size.
  logo_left_ = X(position(layout.logo_pos_x));
  logo_top_ = Y(position(layout.logo_pos_y));
  logo_right_ = logo_left_ + X(position(layout.logo_size_x));
  logo_bottom_ = logo_top_ + Y(position(layout.logo_size_y));
  header_center_x_ = layout.header_pos_x ? -1 : position(layout.header_center_x);
  header_pos_x_ = layout.header_pos_x ? position(*layout.header_pos_x) : -1;
  header_pos_y_ = position(layout.header_pos_y);
  header_text_size_ = std::clamp(layout.header_text_size, 1, kLargestHeaderPoints);
}

// ---- units and layout operations

int VynPrint::X(double mm) const { return Clamped(mm * horizontal_unit_, 1 << 24); }
int VynPrint::Y(double mm) const { return Clamped(mm * vertical_unit_, 1 << 24); }

void VynPrint::SetFont(int points, bool bold) {
  if (font_scale_ < 1.0) points = std::max(4, static_cast<int>(std::lround(points * font_scale_)));
  font_ = {points, bold};
}

int VynPrint::LineHeight() const { return canvas_->TextHeight(" ", font_); }

int VynPrint::Width(std::string_view text) const { return canvas_->TextWidth(text, font_); }

void VynPrint::Draw(int x, int y, std::string_view text, const Font& font, int clip_right) {
  if (!measuring_) canvas_->DrawText(x, y, text, font, clip_right);
  lowest_ = std::max(lowest_, y + canvas_->TextHeight(text, font));
}

void VynPrint::Line(int x1, int y1, int x2, int y2, int pen) {
  if (!measuring_) canvas_->DrawLine(x1, y1, x2, y2, pen);
  lowest_ = std::max({lowest_, y1, y2});
}

void VynPrint::TextAt(int x, int y, std::string_view text) {
  current_x_ = X(x);
  current_y_ = Y(y);
  TextNext(text);
}

void VynPrint::TextAtX(int x, std::string_view text) {
  current_x_ = X(x);
  TextNext(text);
}

void VynPrint::TextNext(std::string_view text) {
  Draw(current_x_, current_y_, text, font_);
  current_x_ += Width(text);
}

void VynPrint::FitAtX(int x, std::string_view text, int right) {
  current_x_ = X(x);
  FitNext(text, right);
}

void VynPrint::FitNext(std::string_view text, int right) {
  const int room = X(right) - current_x_;
  if (Width(text) <= room) {
    TextNext(text);
    return;
  }
  if (room <= 0) return;
  Font font = font_;
  while (font.points > kSmallestFitPoints && canvas_->TextWidth(text, font) > room) --font.points;
  const int width = canvas_->TextWidth(text, font);
  // The smaller text keeps roughly the line's baseline.
  const int lower = (canvas_->TextHeight(text, font_) - canvas_->TextHeight(text, font)) * 4 / 5;
  Draw(current_x_, current_y_ + lower, text, font, width > room ? X(right) : -1);
  current_x_ += std::min(width, room);
}

void VynPrint::NewLine() {
  current_y_ += static_cast<int>(std::lround(LineHeight() * line_pitch_));
  current_x_ = X(left_margin_);
}

void VynPrint::Gap() {
  const bool bold = font_.bold;
  SetFont(4, bold);
  NewLine();
  SetFont(9, bold);
}

void VynPrint::LeaderTo(int x) {
  const int h = LineHeight();
  const int y = current_y_ + static_cast<int>(std::lround(0.9 * h));
  Line(current_x_, y, X(x), y, h / 24);
  current_x_ = X(x);
}

void VynPrint::MoveToX(int x) { current_x_ = X(x); }

void VynPrint::CheckBox(bool ticked) {
  const int h = LineHeight();
  const int side = static_cast<int>(std::lround(0.75 * h));
  const int left = current_x_ + h / 4;
  const int top = current_y_ + h / 6;
  if (!measuring_)
    canvas_->DrawRectangle(left, top, left + side, top + side, h / 16, RectangleFill::kNone);
  lowest_ = std::max(lowest_, top + side);
  if (!ticked) return;
  Line(left, top + side / 2, left + side / 3, top + side, h / 10);
  Line(left + side / 3, top + side, left + side, top, h / 10);
}

void VynPrint::Heading(int id) {
  SetFont(11, true);
  TextNext(LoadText(id));
  SetFont(9, false);
  NewLine();
  NewLine();
}

void VynPrint::Heading(int id, int x, int y) {
  SetFont(11, true);
  TextAt(x, y, LoadText(id));
  SetFont(9, false);
  NewLine();
  NewLine();
}

void VynPrint::EndSection() {
  NewLine();
  NewLine();
}

// ---- rows

void VynPrint::Caption(int caption_id, int right) { FitNext(LoadText(caption_id), right); }

void VynPrint::Row(int caption_id, std::string_view value, int value_x) {
  Caption(caption_id, value_x - 2);
  FitAtX(value_x, value, kTextRight);
  NewLine();
}

bool VynPrint::Switch(int caption_id, std::string_view field) {
  Caption(caption_id, kValueX - 2);
  MoveToX(kValueX);
  CheckBox(On(field));
  return On(field);
}

void VynPrint::CheckRow(int caption_id, bool ticked) {
  Caption(caption_id, kValueX - 2);
  MoveToX(kValueX);
  CheckBox(ticked);
  NewLine();
}

// ---- texts and values

std::string VynPrint::LoadText(int id) const { return ReduceAmpersands(strings_.Text(id)); }

std::string VynPrint::ListValue(std::string_view section, int code) {
  auto list = lists_.find(section);
  if (list == lists_.end()) {
    ChoiceList entries;
    std::vector<int> codes;
    const int capacity = ListCapacity(section);
    settings_.FillList(entries, section, codes, capacity > 0 ? capacity : kValueTableEnd, false);
    list = lists_.emplace(std::string(section), std::move(entries)).first;
  }
  const int position = list->second.PositionOfCode(code);
  return position < 0 ? std::string() : ReduceAmpersands(list->second.Text(position));
}

std::string VynPrint::YesNo(bool yes) { return ListValue(kYesNoSection, yes ? 1 : 0); }

std::uint8_t VynPrint::Byte(std::string_view field) const { return Image()[Field(field).address]; }

std::string VynPrint::Value(std::string_view field) const {
  return FieldValueText(Image(), Field(field), data_->ShortLayout);
}

std::string VynPrint::FieldList(std::string_view name) {
  const FieldInfo& field = Field(name);
  const std::uint8_t code = Image()[field.address];
  if (field.list_mode == ListMode::kNonZeroIsYes) return YesNo(code != 0);
  return ListValue(field.list_section, code);
}

std::string VynPrint::Amount(std::string_view field, int unit_id) const {
  return Insert("%d %s", {Value(field), LoadText(unit_id)});
}

// The KEMB editions read the interval bytes as timer codes. The others read them as hours, and
// where `days_elsewhere` the codes from 101 on as days.
std::string VynPrint::TimerText(std::string_view name, bool days_elsewhere) const {
  const FieldInfo& field = Field(name);
  const std::uint8_t code = Image()[field.address];
  if (code == 0) return Insert("0 (%s)", {LoadText(kOffId)});
  TimerReading reading{code, TimerUnit::kHours};
  if (kemb_) {
    reading = TimerCodeText(code, field.timer_kind);
  } else if (days_elsewhere && code > 100) {
    reading = {code - 100, TimerUnit::kDays};
  }
  int unit = kHoursId;
  if (reading.unit == TimerUnit::kDays) unit = kDaysId;
  if (reading.unit == TimerUnit::kMinutes) unit = kMinutesId;
  return Insert("%d %s", {std::to_string(reading.value), LoadText(unit)});
}

std::string VynPrint::TimeZoneText() const {
  const int group = static_cast<std::int8_t>(Byte("TimeZoneGroup"));
  if (group == 0) return "GMT +/-00:00";
  const int hours = std::abs(group);
  return std::string("GMT ") + (group > 0 ? "+" : "-") + (hours < 10 ? "0" : "") +
         std::to_string(hours) + ":00";
}

// ---- pages

void VynPrint::DrawPage(int page) {
  Frame(page);
  if (!measuring_) canvas_->DrawBitmap(logo_left_, logo_top_, logo_right_, logo_bottom_);
  Body(page);
}

void VynPrint::Frame(int page) {
  font_scale_ = 1.0;
  line_pitch_ = 1.0;
  left_margin_ = 25;

  const std::string title = strings_.Text(kRecordTitleId);
  SetFont(header_text_size_, true);
  const int width = static_cast<int>(std::lround(Width(title) / horizontal_unit_));
  if (header_center_x_ == -1) {
    TextAt(header_pos_x_, header_pos_y_, title);
  } else {
    TextAt(header_center_x_ - width / 2, header_pos_y_, title);
  }

  SetFont(header_text_size_, false);
  const int pen = LineHeight() / 24;
  canvas_->DrawRectangle(X(kFrameLeft), Y(45), X(kFrameRight), Y(63), pen,
                         RectangleFill::kLightGrey);
  canvas_->DrawRectangle(X(kFrameLeft), Y(68), X(kFrameRight), Y(267), pen, RectangleFill::kNone);
  canvas_->DrawRectangle(X(kFrameLeft), Y(272), X(kFrameRight), Y(282), pen,
                         RectangleFill::kLightGrey);

  SetFont(10, false);
  const std::string footer =
      Insert(strings_.Text(kPageFooterId), {std::to_string(page), std::to_string(kPageCount)});
  // Centred between the frame's sides: 35 mm of the page's 210 lie outside them.
  const int offset = (canvas_->PageWidth() - X(35) - Width(footer)) / 2;
  TextAt(kFrameLeft + static_cast<int>(std::lround(offset / horizontal_unit_)), 275, footer);

  const auto label = [this](int id) {
    SetFont(10, true);
    TextNext(strings_.Text(id));
    SetFont(10, false);
  };
  current_x_ = X(25);
  current_y_ = Y(48);
  label(kIdNumberLabelId);
  FitNext(IdNumber, kValueX - 2);
  MoveToX(kValueX);
  label(kPrintDateLabelId);
  FitNext(print_date_, kTextRight);
  NewLine();
  label(kSerialNumberLabelId);
  FitNext(serial_number_, kValueX - 2);
  MoveToX(kValueX);
  label(kFileNameLabelId);
  FitNext(FileNamePart(SourceText), kTextRight);
  NewLine();
  label(kProductionDateLabelId);
  FitNext(production_date_, kValueX - 2);
  MoveToX(kValueX);
  label(kFileDateLabelId);
  FitNext(FileDate, kTextRight);
}

void VynPrint::Body(int page) {
  const auto run = [this, page] {
    left_margin_ = 25;
    switch (page) {
      case 1:
        Page1();
        break;
      case 2:
        Page2();
        break;
      case 3:
        Page3();
        break;
      default:
        Page4();
        break;
    }
  };
  // The body is laid out without drawing first; where it would reach below the frame, the
  // lines come closer (and the fonts smaller) until it fits.
  line_pitch_ = 1.0;
  font_scale_ = 1.0;
  for (int attempt = 0; attempt < kFittingRuns; ++attempt) {
    measuring_ = true;
    lowest_ = 0;
    run();
    measuring_ = false;
    const int top = Y(kBodyTop);
    const int limit = Y(kBodyBottom);
    if (lowest_ <= limit || lowest_ <= top) break;
    line_pitch_ *= static_cast<double>(limit - top) / (lowest_ - top);
    if (line_pitch_ < kClosestLinePitch) font_scale_ = line_pitch_ / kClosestLinePitch;
  }
  run();
  line_pitch_ = 1.0;
  font_scale_ = 1.0;
}

void VynPrint::Page1() {
  const std::string letters = strings_.Text(kSequenceLettersId);
  // The character at `index` (from 0) of the letters; "?" past their end.
  const auto letter = [&letters](std::size_t index) {
    return index < letters.size() ? std::string(1, letters[index]) : std::string("?");
  };

  // Transmitters.
  Heading(13111, 25, kBodyTop);
  TextAtX(left_margin_, LoadText(13921));
  TextAtX(38, LoadText(13922));
  TextAtX(53, LoadText(13923));
  if (kemb_) TextAtX(105, LoadText(13924));
  NewLine();
  Gap();
  const std::uint8_t radio_test = Byte("RadioTestBits");
  for (int n = 1; n <= 8; ++n) {
    const std::string number = std::to_string(n);
    const std::string code_text = Value("TransmitterCode." + number);
    TextAtX(left_margin_, number);
    TextAtX(38, code_text.empty() ? "----" : code_text);
    FitAtX(53, FieldList("TransmitterAlarmType." + number), kemb_ ? 103 : kTextRight);
    if (kemb_) TextAtX(105, LoadText((radio_test >> (n - 1)) & 1 ? kOnId : kOffId));
    NewLine();
  }
  EndSection();

  // Call numbers: the slot letters are characters 2-7 of the sequence letters.
  Heading(13122);
  TextAtX(30, LoadText(13927));
  NewLine();
  Gap();
  const NumberTexts numbers = FetchNumbers(Image(), data_->ShortLayout);
  for (int i = 0; i < 6; ++i) {
    TextAtX(left_margin_, Insert("%c:", {letter(i + 1)}));
    FitAtX(30, numbers[i], kTextRight);
    NewLine();
  }
  NewLine();
  NewLine();
  TextAtX(30, LoadText(13928));
  TextAtX(75, LoadText(13929));
  TextAtX(110, LoadText(13930));
  TextAtX(140, LoadText(13934));
  if (velkstrom_) TextAtX(160, LoadText(13179));
  NewLine();
  Gap();
  const NumberTexts alarm_codes = FetchAlarmCodes(Image());
  for (int i = 0; i < 6; ++i) {
    const std::string slot(1, kNumberLetters[i]);
    const int attempts = Byte("CallAttempts." + slot);
    const int account = Byte("AccountToUse." + slot);
    TextAtX(left_margin_, Insert("%c:", {letter(i + 1)}));
    FitAtX(30, alarm_codes[i], 73);
    FitAtX(75, FieldList("Protocol." + slot), 108);
    TextAtX(110, std::to_string(attempts));
    FitAtX(140,
           account == 1   ? "SIP 1"
           : account == 2 ? "SIP 2"
           : account == 3 ? "GSM"
                          : "No account",
           velkstrom_ ? 158 : kTextRight);
    if (velkstrom_) {
      TextAtX(160, "");
      CheckBox(attempts >= 101 && attempts <= 200);  // call-back
    }
    NewLine();
  }
  EndSection();

  // Sequences of the alarm-type groups, and beside them the sequences' steps.
  const int y0 = static_cast<int>(std::lround(current_y_ / vertical_unit_));
  Heading(13115, 25, y0);
  for (int g = 0; g < 10; ++g) {
    Row(kSequenceGroupCaptions[g], std::to_string(Byte(kSequenceGroupFields[g])), 80);
  }
  EndSection();
  left_margin_ = 100;
  Heading(13116, 100, y0);
  for (int s = 1; s <= 4; ++s) {
    FitNext(Insert("%s %d:", {LoadText(13931), std::to_string(s)}), 128);
    for (int t = 1; t <= 4; ++t) {
      const int step = Byte("CallSequence." + std::to_string(s) + "." + std::to_string(t));
      // The step's character is at position step + 1 of the letters, counted from 1.
      TextAtX(125 + 5 * t, step > 6 ? "?" : Insert("%c", {letter(step)}));
    }
    NewLine();
  }
  NewLine();
  Row(13153, Value("RepeatSequence"), 170);
  Row(13154, Value("MaxCallAttempts"), 170);
}

void VynPrint::Page2() {
  bool first = true;
  for (const TableRow& row : kTimesAndSignals) {
    if (row.velkstrom_only && !velkstrom_) continue;
    if (row.cell == Cell::kHeading) {
      if (first) {
        Heading(row.caption, 25, kBodyTop);
      } else {
        EndSection();
        Heading(row.caption);
      }
      first = false;
      continue;
    }
    const std::uint8_t byte = row.field ? Byte(row.field) : 0;
    switch (row.cell) {
      case Cell::kTimer:
      case Cell::kTestTimer:
        Row(row.caption, TimerText(row.field, row.cell == Cell::kTestTimer));
        break;
      case Cell::kAmount:
        Row(row.caption, Amount(row.field, row.unit));
        break;
      case Cell::kDecimal:
        Row(row.caption, Value(row.field));
        break;
      case Cell::kList:
        Row(row.caption, FieldList(row.field));
        break;
      case Cell::kNonZeroYesNo:
        Row(row.caption, YesNo(byte != 0));
        break;
      case Cell::kBit7YesNo:
        Row(row.caption, YesNo((byte & 0x80) != 0));
        break;
      case Cell::kTimeZone:
        Row(row.caption, TimeZoneText());
        break;
      case Cell::kCheckBox:
        CheckRow(row.caption, byte != 0);
        break;
      case Cell::kHeading:
        break;
    }
    if (row.extra_line) NewLine();
  }
  EndSection();
}

void VynPrint::AlarmTypeColumn(int first_row, int x, int leader_x) {
  left_margin_ = x;
  SetFont(11, true);
  TextAt(x, kBodyTop, LoadText(13302));
  TextAtX(leader_x - 5, LoadText(13933));
  SetFont(9, false);
  NewLine();
  NewLine();
  for (int i = 0; i < kAlarmTypesPerColumn; ++i) {
    const AlarmTypeRow& row = kAlarmTypes[first_row + i];
    if (i > 0) NewLine();
    Caption(row.caption, leader_x - 2);
    LeaderTo(leader_x);
    CheckBox((Byte(row.field) & 0x80) != 0);
  }
}

void VynPrint::Page3() {
  AlarmTypeColumn(0, 25, 90);
  AlarmTypeColumn(kAlarmTypesPerColumn, 110, 180);
  left_margin_ = 25;
  NewLine();
  NewLine();
  NewLine();

  Heading(kFurtherFunctions[0].caption);
  for (const TableRow& row : std::span(kFurtherFunctions).subspan(1)) {
    Row(row.caption, row.cell == Cell::kDecimal ? Value(row.field) : FieldList(row.field));
  }
  EndSection();

  Heading(13138);
  if (!Switch(13194, "GsmEnable")) return;
  NewLine();
  Gap();
  // The PIN is shown only where the unit was told to (byte 0x1B1).
  Row(13195, On("ShowPinOnRecord") ? Value("GsmPin") : "-");
  Row(13199, Value("SmsServiceCenter"));
  Row(30100, Value("GsmOwnNumber"));
  Row(30101, Value("GsmNumberFromSim"));
}

void VynPrint::SipAccount(int caption_id, std::string_view prefix) {
  const std::string name(prefix);
  const bool enabled = Switch(caption_id, name + "Enable");
  NewLine();
  Gap();
  if (enabled) {
    Row(13290, Value(name + "Number"));
    Row(13291, Value(name + "Server"));
    Row(13292, Value(name + "UserName"));
    Row(13293, Value(name + "Password"));  // printed as stored
    Row(13294, Value(name + "Expire"));
    Row(13296, Value(name + "ServerPort"));
  }
  NewLine();
  NewLine();
}

void VynPrint::Page4() {
  Heading(13136, 25, kBodyTop);
  const FieldInfo& mac = Field("MacAddress");
  std::string mac_text;
  for (int i = 0; i < 6; ++i) {
    if (i > 0) mac_text += ':';
    mac_text += HexPairText(Image()[mac.address + i]);
  }
  Row(13273, mac_text);
  NewLine();

  if (Switch(20100, "NetworkEnable")) {
    NewLine();
    Gap();
    if (Switch(13274, "WanEnable")) {
      NewLine();
      Gap();
      Row(13275, Value("NtpServer"));
      Row(13276, Value("StunServer"));
      Row(13277, Value("PingServer"));
    }
    NewLine();
    NewLine();
    const bool static_ip = On("StaticIpEnable");
    CheckRow(13284, !static_ip);
    CheckRow(13283, static_ip);
    if (static_ip) {
      Gap();
      Row(13285, Value("StaticIp"));
      Row(13286, Value("GatewayIp"));
      Row(13287, Value("DnsServerIp"));
      Row(13288, Value("NetworkMask"));
    }
    EndSection();

    Heading(13137);
    SipAccount(13289, "Sip1");
    SipAccount(30010, "Sip2");
    Row(13297, Value("LocalSipPort"));
    Row(13300, Value("RtpPort"));
  } else {
    // The network box's line ends the section.
    NewLine();
  }
  EndSection();

  Heading(13139);
  if (!Switch(13278, "WebServiceEnable")) return;
  NewLine();
  Gap();
  Row(13279, Value("WebServiceServer"));
}

}  // namespace vyn
