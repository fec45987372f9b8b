#pragma once

// The printed record: four pages of one parameter image that the installer files with the
// unit. A framed header names the unit and where the image came from; the body shows the
// programmed values grouped as the editor groups them (transmitters and call numbers, times and
// signals, alarm types and further functions, network). Captions come from the string table,
// list values from the settings file, values through the field catalogue and its codec table.
//
// The caller prepares the texts that describe the image's origin (RecordInputs) and runs its
// print dialog; VynPrint lays out and draws the pages on a Canvas.

#include <map>
#include <string>
#include <string_view>

#include "core/image/field_catalogue.h"
#include "core/image/vyn_data.h"
#include "core/reports/record/canvas.h"
#include "core/reports/record/record_dates.h"
#include "core/settings/choice_list.h"
#include "core/settings/vyn_ini.h"
#include "core/strings/string_table.h"

namespace vyn {

// What a caller sets before every printout.
struct RecordInputs {
  int Copies = 1;
  std::string RecordTitle;  // the print job's title
  std::string IdNumber;     // the unit's ID number
  std::string SourceText;   // where the image came from
  std::string FileDate;     // the configuration file's date, or empty
};

// "VYN IP/GSM Programmierdaten (1234)", or the text alone for an empty ID number.
std::string RecordTitleFor(const std::string& id_number, const StringTable& strings);

// The inputs of the editor's print command for its (already stored) `data`: the ID number is
// alarm code A; the source is the file's name and the file date its modification day for an
// opened or saved file, "aus VYN IP/GSM ausgelesen" for an image read from the unit and
// "Standard" for the default configuration, in square brackets when the working image differs
// from the reference image.
RecordInputs EditorRecordInputs(const VynData& data, const StringTable& strings,
                                const DateTexts& dates);

// The inputs of a read-and-print command for the image it has just read from the unit.
RecordInputs UnitRecordInputs(const ParameterImage& image, const StringTable& strings);

// The picture that "Values.ini" may name when it has no LogoName of its own.
inline constexpr char kFallbackLogoName[] = "Duduvuza.raz";

class VynPrint {
 public:
  // `settings_file` is the program data folder's "Values.ini"; `logo_folder` the folder of the
  // delivered files, which LogoName is relative to.
  VynPrint(const StringTable& strings, std::string settings_file, std::string logo_folder,
           const DateTexts& dates);

  // The caller's five inputs.
  int Copies = 1;
  std::string RecordTitle;
  std::string IdNumber;
  std::string SourceText;
  std::string FileDate;
  void SetInputs(const RecordInputs& inputs);

  // Prints the record of data.WorkingImage on `canvas`: exactly four pages, drawn once or, where
  // the canvas cannot make copies itself, once for every copy. Nothing of an earlier printout
  // carries over except the five inputs. Returns true; failures of the device are its own.
  bool PrintRecord(VynData data, Canvas& canvas);

 private:
  // ---- preparation
  void Prepare();
  std::string ProductionDate() const;
  std::string LogoPath(const std::string& logo_name) const;
  void ReadLayout(const PrintLayout& layout);

  // ---- units and the layout operations; positions in millimetres
  int X(double mm) const;
  int Y(double mm) const;
  void SetFont(int points, bool bold);
  int LineHeight() const;
  int Width(std::string_view text) const;
  void Draw(int x, int y, std::string_view text, const Font& font, int clip_right = -1);
  void Line(int x1, int y1, int x2, int y2, int pen);
  void TextAt(int x, int y, std::string_view text);
  void TextAtX(int x, std::string_view text);
  void TextNext(std::string_view text);
  // As TextAtX / TextNext, in a smaller font down to 6 points where the text would reach
  // `right`, and cut at `right` where even that is too wide.
  void FitAtX(int x, std::string_view text, int right);
  void FitNext(std::string_view text, int right);
  void NewLine();
  void Gap();
  void LeaderTo(int x);
  void MoveToX(int x);
  void CheckBox(bool ticked);
  void Heading(int id);
  void Heading(int id, int x, int y);
  void EndSection();

  // ---- rows
  // Caption at the margin, value at `value_x`, NewLine.
  void Row(int caption_id, std::string_view value, int value_x = 100);
  // Caption at the margin, a check box at 100, NewLine.
  void CheckRow(int caption_id, bool ticked);
  // Caption at the margin and a check box at 100, ticked when `field` is not 0; whether it is.
  bool Switch(int caption_id, std::string_view field);
  void Caption(int caption_id, int right);

  // ---- texts and values
  std::string LoadText(int id) const;
  std::string ListValue(std::string_view section, int code);
  std::string YesNo(bool yes);
  const ParameterImage& Image() const { return data_->WorkingImage; }
  std::uint8_t Byte(std::string_view field) const;
  bool On(std::string_view field) const { return Byte(field) != 0; }
  std::string Value(std::string_view field) const;
  std::string FieldList(std::string_view field);
  std::string Amount(std::string_view field, int unit_id) const;
  std::string TimerText(std::string_view field, bool days_elsewhere) const;
  std::string TimeZoneText() const;

  // ---- pages
  void DrawPage(int page);
  void Frame(int page);
  void Body(int page);
  void Page1();
  void Page2();
  void Page3();
  void Page4();
  void AlarmTypeColumn(int first_row, int x, int leader_x);
  void SipAccount(int caption_id, std::string_view prefix);

  const StringTable& strings_;
  const DateTexts& dates_;
  const std::string logo_folder_;

  // In the order the record's description lists them.
  int left_margin_ = 25;  // mm
  double horizontal_unit_ = 1.0;
  double vertical_unit_ = 1.0;
  int current_x_ = 0;
  int current_y_ = 0;
  int logo_left_ = 0;
  int logo_top_ = 0;
  int logo_right_ = 0;
  int logo_bottom_ = 0;
  int header_center_x_ = 105;
  int header_pos_x_ = -1;
  int header_pos_y_ = 23;
  int header_text_size_ = 18;
  std::string production_date_;
  std::string print_date_;
  std::string serial_number_;
  VynIni settings_;
  std::string logo_path_;

  // One printout.
  Canvas* canvas_ = nullptr;
  const VynData* data_ = nullptr;
  Font font_;
  bool kemb_ = false;
  bool velkstrom_ = false;
  std::map<std::string, ChoiceList, std::less<>> lists_;
  // Fitting the body into the frame: a measuring run draws nothing and notes the lowest point
  // drawn; where that lies below the frame, lines come closer and, if need be, fonts smaller.
  bool measuring_ = false;
  int lowest_ = 0;
  double line_pitch_ = 1.0;
  double font_scale_ = 1.0;
};

}  // namespace vyn
