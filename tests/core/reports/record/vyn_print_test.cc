#include "core/reports/record/vyn_print.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/reports/record/record_fixture.h"

namespace vyn::testing {
namespace {

namespace fs = std::filesystem;

using RecordTest = RecordFixture;

const StringTable& Edition(const char* name) {
  static std::map<std::string, StringTable> tables;
  auto it = tables.find(name);
  if (it == tables.end()) {
    it = tables.emplace(name, StringTable::Builtin().WithText(15555, name)).first;
  }
  return it->second;
}

// Millimetres on the recording canvas's page.
int Px(double mm) { return static_cast<int>(std::lround(mm * RecordingCanvas::kA4Width / 210.0)); }
int Py(double mm) { return static_cast<int>(std::lround(mm * RecordingCanvas::kA4Height / 297.0)); }

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// Every page starts with the frame's texts: the title, the footer and six labels with their
// values.
constexpr int kFrameTexts = 14;

std::vector<std::string> BodyTexts(const RecordingCanvas& canvas, int page) {
  const std::vector<std::string> texts = canvas.PageTexts(page);
  return {texts.begin() + std::min<std::size_t>(kFrameTexts, texts.size()), texts.end()};
}

// The text drawn right after `caption` in the body of `page` (the row's value), or "<none>".
std::string After(const RecordingCanvas& canvas, int page, const std::string& caption) {
  const std::vector<std::string> texts = BodyTexts(canvas, page);
  const auto it = std::find(texts.begin(), texts.end(), caption);
  if (it == texts.end() || it + 1 == texts.end()) return "<none>";
  return *(it + 1);
}

// The value after a label of the frame on `page`.
std::string FrameValue(const RecordingCanvas& canvas, int page, const std::string& label) {
  const std::vector<std::string> texts = canvas.PageTexts(page);
  const auto it = std::find(texts.begin(), texts.begin() + kFrameTexts, label);
  if (it == texts.begin() + kFrameTexts) return "<none>";
  return *(it + 1);
}

// Compares with the kept recording; VYN_UPDATE_GOLDEN=1 writes the recording there instead.
void ExpectGolden(const std::string& name, const std::string& actual) {
  const std::string path =
      std::string(VYN_SOURCE_DIR) + "/tests/core/reports/record/golden/" + name;
  if (std::getenv("VYN_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  const std::string expected = TempFolder::Read(path);
  if (expected == actual) return;
  const std::string written = (fs::temp_directory_path() / ("actual-" + name)).string();
  std::ofstream(written, std::ios::binary) << actual;
  std::size_t line = 1;
  for (std::size_t i = 0; i < std::min(expected.size(), actual.size()) && expected[i] == actual[i];
       ++i) {
    if (expected[i] == '\n') ++line;
  }
  ADD_FAILURE() << name << " differs from line " << line << "; the recording is in " << written;
}

TEST_F(RecordTest, DefaultConfigurationMatchesItsKeptRecording) {
  inputs_ = EditorRecordInputs(data_, StringTable::Builtin(), dates_);
  ExpectGolden("default.txt", Print().Recording());
}

TEST_F(RecordTest, FullConfigurationMatchesItsKeptRecording) {
  data_.WorkingImage = FullImage();
  inputs_ = {1, "VYN IP/GSM Programmierdaten (1234)", "1234", "[kunde.Rodid]", "02.05.2024"};
  ExpectGolden("full.txt", Print().Recording());
}

TEST_F(RecordTest, FourPagesWithTheirFootersAndTheHeaderWhateverTheImageHolds) {
  for (const ParameterImage& image : {DefaultImage(), FullImage(), ParameterImage{}}) {
    data_.WorkingImage = image;
    const RecordingCanvas canvas = Print();
    ASSERT_EQ(canvas.Pages(), 4);
    for (int page = 1; page <= 4; ++page) {
      const std::vector<std::string> texts = canvas.PageTexts(page);
      EXPECT_EQ(texts.front(), "VYN IP/GSM Programmierdaten");
      EXPECT_TRUE(Contains(texts, "Seite " + std::to_string(page) + " von 4")) << page;
    }
    EXPECT_NE(canvas.Recording().find("bitmap-load \"vyn_logo.png\"\nbegin"), std::string::npos);
    EXPECT_EQ(canvas.Recording().substr(canvas.Recording().size() - 19), "end\nbitmap-release\n");
  }
}

TEST_F(RecordTest, JobTitleAndSourceByOrigin) {
  const std::string file = folder_.Write("kunde.Rodid", "");
  fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
  const std::optional<CalendarDate> file_day = FileModificationDate(file);
  ASSERT_TRUE(file_day);
  const std::string file_date = dates_.ShortDate(*file_day);
  const struct {
    ImageOrigin origin;
    std::string id;
    bool changed;
    std::string title, source, date;
  } cases[] = {
      {ImageOrigin::OpenedFile, "1234", true, "VYN IP/GSM Programmierdaten (1234)", "[kunde.Rodid]",
       file_date},
      {ImageOrigin::SavedFile, "", false, "VYN IP/GSM Programmierdaten", "kunde.Rodid", file_date},
      {ImageOrigin::ReadFromUnit, "1234", false, "VYN IP/GSM Programmierdaten (1234)",
       "aus VYN IP/GSM ausgelesen", ""},
      {ImageOrigin::FromDefault, "", true, "VYN IP/GSM Programmierdaten", "[Standard]", ""},
      {ImageOrigin::FromDefault, "", false, "VYN IP/GSM Programmierdaten", "Standard", ""},
  };
  for (const auto& c : cases) {
    data_ = {};
    data_.Origin = c.origin;
    data_.FileName = file;
    data_.WorkingImage = DefaultImage();
    StoreAlarmCodes(data_.WorkingImage, {c.id, "", "", "", "", ""});
    data_.ReferenceImage = data_.WorkingImage;
    if (c.changed) data_.WorkingImage[0x0C0] ^= 1;
    inputs_ = EditorRecordInputs(data_, StringTable::Builtin(), dates_);
    EXPECT_EQ(inputs_.IdNumber, c.id);
    EXPECT_EQ(inputs_.RecordTitle, c.title);
    EXPECT_EQ(inputs_.SourceText, c.source);
    EXPECT_EQ(inputs_.FileDate, c.date);
    const RecordingCanvas canvas = Print();
    EXPECT_EQ(canvas.Title(), c.title);
    EXPECT_EQ(FrameValue(canvas, 1, "Dateiname "), c.source);
    EXPECT_EQ(FrameValue(canvas, 1, "Dateidatum "), c.date);
    EXPECT_EQ(FrameValue(canvas, 4, "Teilnehmernummer "), c.id);
  }
  const RecordInputs unit = UnitRecordInputs(FullImage(), StringTable::Builtin());
  EXPECT_EQ(unit.RecordTitle, "VYN IP/GSM Programmierdaten (1234)");
  EXPECT_EQ(unit.SourceText, "aus VYN IP/GSM ausgelesen");
  EXPECT_EQ(unit.FileDate, "");
}

TEST_F(RecordTest, FrameShowsTheUnitAndFolderlessSourceTexts) {
  data_.WorkingImage = FullImage();
  const struct {
    std::string source;
    std::string shown;
  } cases[] = {
      {"aus VYN IP/GSM ausgelesen", "aus VYN IP/GSM ausgelesen"},
      {"/home/technik/kunden/kunde.Rodid", "kunde.Rodid"},
      {"[kunde.Rodid]", "[kunde.Rodid]"},
  };
  for (const auto& c : cases) {
    inputs_.SourceText = c.source;
    const RecordingCanvas canvas = Print();
    EXPECT_EQ(FrameValue(canvas, 2, "Dateiname "), c.shown);
    EXPECT_EQ(FrameValue(canvas, 2, "VYN IP/GSM Seriennummer "), "123456");
    EXPECT_EQ(FrameValue(canvas, 2, "Druckdatum "), "03.06.2024");
  }
}

TEST_F(RecordTest, ProductionDate) {
  const struct {
    std::uint8_t year, month;
    std::string text;
  } cases[] = {
      {0x24, 0x05, "Mai/2024"}, {0x24, 0x00, ""},         {0x24, 0x13, ""},
      {0x09, 0x12, "Dez/2009"}, {0x24, 0x0A, "Okt/2024"},  // no tens, ten ones
      {0xFF, 0x01, "Jan/2165"},
  };
  for (const auto& c : cases) {
    SetBytes(data_.WorkingImage, "AssemblyDate.Year", {c.year});
    SetBytes(data_.WorkingImage, "AssemblyDate.Month", {c.month});
    const RecordingCanvas canvas = Print();
    EXPECT_EQ(FrameValue(canvas, 1, "Herstellungsdatum "), c.text) << int{c.month};
  }
}

TEST_F(RecordTest, ValuesOfTheBody) {
  const struct {
    const char* edition;
    std::function<void(ParameterImage&)> change;
    int page;
    std::string caption;
    std::string value;
  } cases[] = {
      {"KEMB GmbH", [](ParameterImage& i) { SetField(i, "PassiveAlarmInterval", "150"); }, 2,
       "Passivalarmintervall", "50 Tage"},
      {"Velkstrom", [](ParameterImage& i) { SetField(i, "PassiveAlarmInterval", "150"); }, 2,
       "Passivalarmintervall", "150 Std"},
      {"KEMB UK", [](ParameterImage& i) { SetField(i, "TestAlarmInterval", "205"); }, 2,
       "Testalarmintervall", "5 Min"},
      {"Velkstrom", [](ParameterImage& i) { SetField(i, "TestAlarmInterval", "205"); }, 2,
       "Testalarmintervall", "105 Tage"},
      {"Velkstrom", [](ParameterImage& i) { SetField(i, "TestAlarmInterval", "24"); }, 2,
       "Testalarmintervall", "24 Std"},
      {"KEMB GmbH", [](ParameterImage& i) { SetField(i, "MainsFailureDelay", "0"); }, 2,
       "Zeit bis Stromausfallmeldung", "0 (AUS)"},
      {"KEMB GmbH", [](ParameterImage& i) { SetField(i, "MainsFailureDelay", "150"); }, 2,
       "Zeit bis Stromausfallmeldung", "150 Std"},
      {"KEMB GmbH", [](ParameterImage& i) { SetField(i, "MainsFailureDelay", "215"); }, 2,
       "Zeit bis Stromausfallmeldung", "15 Min"},
      {"Velkstrom", [](ParameterImage& i) { SetField(i, "MainsFailureDelay", "215"); }, 2,
       "Zeit bis Stromausfallmeldung", "215 Std"},
      {"KEMB GmbH", [](ParameterImage& i) { SetField(i, "TimeZoneGroup", "0"); }, 2, "Zeitzone",
       "GMT +/-00:00"},
      {"KEMB GmbH", [](ParameterImage& i) { SetField(i, "TimeZoneGroup", "1"); }, 2, "Zeitzone",
       "GMT +01:00"},
      {"KEMB GmbH", [](ParameterImage& i) { SetField(i, "TimeZoneGroup", "10"); }, 2, "Zeitzone",
       "GMT +10:00"},
      {"KEMB GmbH", [](ParameterImage& i) { SetField(i, "TimeZoneGroup", "-5"); }, 2, "Zeitzone",
       "GMT -05:00"},
      {"KEMB GmbH", [](ParameterImage& i) { SetField(i, "TimeZoneGroup", "-12"); }, 2, "Zeitzone",
       "GMT -12:00"},
      {"KEMB GmbH", [](ParameterImage& i) { SetField(i, "MaxConversationTime", "120"); }, 2,
       "Max Kommunikationszeit", "120 Sek"},
      {"KEMB GmbH", [](ParameterImage& i) { SetField(i, "AlarmButtonIllumination", "1"); }, 2,
       "Alarmknopf ist beleuchtet", "Ja"},
      {"KEMB GmbH", [](ParameterImage& i) { SetBytes(i, "DiallingInSpeaker", {2}); }, 2,
       "Wähltöne über Lautsprecher", "Ja"},
      {"KEMB GmbH", [](ParameterImage& i) { SetBytes(i, "WarningFunctions", {9}); }, 2,
       "Warnfunktionen", ""},
      {"KEMB GmbH",
       [](ParameterImage& i) { SetBytes(i, "AlarmTypeDefinition.UserAlarmFromButton", {0x7F}); }, 2,
       "Rote Taste im Gerät", "Nein"},
      {"Velkstrom", [](ParameterImage& i) { SetField(i, "AutoAnswerDuration", "0"); }, 2, "",
       "0 Sek"},
      {"Velkstrom", [](ParameterImage& i) { SetField(i, "AutoAnswerDuration", "30"); }, 2, "",
       "30 Sek"},
      {"KEMB GmbH",
       [](ParameterImage& i) {
         SetField(i, "GsmEnable", "1");
         SetField(i, "GsmPin", "12");
         SetField(i, "ShowPinOnRecord", "1");
       },
       3, "PIN Code", "0012"},
      {"KEMB GmbH",
       [](ParameterImage& i) {
         SetField(i, "GsmEnable", "1");
         SetField(i, "GsmPin", "12");
         SetField(i, "ShowPinOnRecord", "0");
       },
       3, "PIN Code", "-"},
      {"KEMB GmbH",
       [](ParameterImage& i) {
         SetField(i, "GsmEnable", "1");
         SetBytes(i, "GsmPin", {0x30, 0x39});  // 12345
         SetField(i, "ShowPinOnRecord", "1");
       },
       3, "PIN Code", "12345"},
      {"KEMB GmbH",
       [](ParameterImage& i) {
         SetBytes(i, "MacAddress", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E});
       },
       4, "MAC Nummer", "00:1A:2B:3C:4D:5E"},
      {"KEMB GmbH", [](ParameterImage& i) { SetField(i, "TransmitterCode.1", "0000"); }, 1, "1",
       "----"},
  };
  for (const auto& c : cases) {
    data_.WorkingImage = DefaultImage();
    c.change(data_.WorkingImage);
    const RecordingCanvas canvas = Print(Edition(c.edition));
    EXPECT_EQ(After(canvas, c.page, c.caption), c.value) << c.edition << ": " << c.caption;
  }
}

TEST_F(RecordTest, CallSequenceStepsAndNumberSlots) {
  data_.WorkingImage = FullImage();
  const RecordingCanvas canvas = Print();
  const std::vector<std::string> texts = canvas.PageTexts(1);
  const auto sequence = std::find(texts.begin(), texts.end(), "Sequenz 4:");
  ASSERT_NE(sequence, texts.end());
  EXPECT_EQ(std::vector<std::string>(sequence + 1, sequence + 5),
            (std::vector<std::string>{"U", "?", "-", "-"}));
  // The slot letters are characters 2-7 of "-ABCDNU": the sixth slot shows "U".
  EXPECT_EQ(After(canvas, 1, "U:"), "07111234");
  EXPECT_EQ(After(canvas, 1, "D:"), "0049891234567890123");
  EXPECT_EQ(After(canvas, 1, "8"), "----");
}

TEST_F(RecordTest, TransmitterSupervisionColumnOnlyInTheKembEditions) {
  data_.WorkingImage = FullImage();
  for (const char* edition : {"KEMB GmbH", "KEMB UK", "Velkstrom", "Other"}) {
    const RecordingCanvas canvas = Print(Edition(edition));
    const bool kemb = std::string(edition).starts_with("KEMB");
    const std::vector<std::string> texts = canvas.PageTexts(1);
    EXPECT_EQ(Contains(texts, "Überwachung"), kemb) << edition;
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "AN"), kemb ? 3 : 0) << edition;
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "AUS"), kemb ? 5 : 0) << edition;
  }
}

TEST_F(RecordTest, VelkstromCallBackColumnTicksAttemptsFrom101To200) {
  data_.WorkingImage = FullImage();
  const RecordingCanvas velkstrom = Print(Edition("Velkstrom"));
  const RecordingCanvas kemb = Print();
  // Lines drawn on page 1: only the ticks of check boxes.
  const auto ticks = [](const RecordingCanvas& canvas) {
    const std::string& r = canvas.Recording();
    const std::size_t end = r.find("page 2");
    std::size_t count = 0;
    for (std::size_t at = r.find("\nline"); at < end; at = r.find("\nline", at + 1)) ++count;
    return count;
  };
  // CallAttempts.C is 105: one tick, two lines.
  EXPECT_EQ(ticks(velkstrom) - ticks(kemb), 2u);
}

TEST_F(RecordTest, PageFourWithTheNetworkOff) {
  data_.WorkingImage = FullImage();
  SetField(data_.WorkingImage, "NetworkEnable", "0");
  const RecordingCanvas canvas = Print();
  EXPECT_EQ(BodyTexts(canvas, 4),
            (std::vector<std::string>{
                "Ethernet", "MAC Nummer", "00:1A:2B:3C:4D:5E", "Netzwerk aktivieren", "KEMB Server",
                "KEMB Server aktivieren", "KEMB Server", "service.kemb.example"}));
}

TEST_F(RecordTest, AmpersandsOfCaptionsAreReducedAndFrameTextsUsedAsStored) {
  const StringTable strings =
      StringTable::Builtin().WithText(13902, "Teilnehmer && Nr ").WithText(13306, "A &&&& B");
  const RecordingCanvas canvas = Print(strings);
  const std::vector<std::string> page3 = canvas.PageTexts(3);
  EXPECT_TRUE(Contains(page3, "Anwender/Handsender & Batterie"));
  EXPECT_TRUE(Contains(page3, "A & B"));
  EXPECT_EQ(canvas.PageTexts(3)[2], "Teilnehmer && Nr ");
}

class WriteSettings {
 public:
  explicit WriteSettings(const std::string& path) : path_(path) {}
  void Print(const std::string& lines) {
    std::ofstream(path_, std::ios::binary) << "[Print]\n" << lines;
  }

 private:
  std::string path_;
};

// The position of the first drawing call of `kind` ("bitmap", "text ...").
std::string FirstCall(const RecordingCanvas& canvas, const std::string& prefix) {
  const std::string& r = canvas.Recording();
  const std::size_t at = r.find("\n" + prefix);
  if (at == std::string::npos) return "<none>";
  return r.substr(at + 1, r.find('\n', at + 1) - at - 1);
}

// "text X,Y" of a header drawn from `x` mm, `y` mm.
std::string HeaderAt(int x, int y) {
  return "text " + std::to_string(Px(x)) + "," + std::to_string(Py(y)) + " ";
}

// "bitmap L,T R,B" of a logo at `x`, `y` mm of `width` by `height` mm.
std::string LogoAt(int x, int y, int width, int height) {
  return "bitmap " + std::to_string(Px(x)) + "," + std::to_string(Py(y)) + " " +
         std::to_string(Px(x) + Px(width)) + "," + std::to_string(Py(y) + Py(height));
}

TEST_F(RecordTest, PrintSectionPlacesTheHeaderAndTheLogo) {
  // The title is 94 mm wide on the recording canvas: centred on 105 mm it starts at 58 mm.
  const struct {
    std::string lines;
    std::string header;
    std::string logo;
  } cases[] = {
      {"LogoName=vyn_logo.png\n", HeaderAt(58, 23), LogoAt(20, 15, 22, 22)},
      {"LogoName=vyn_logo.png\nHeaderPosX=30\nLogoPosY=100\n", HeaderAt(30, 23),
       LogoAt(20, 100, 22, 22)},
      {"LogoName=vyn_logo.png\nHeaderCenterX=abc\nHeaderPosY=x\nLogoPosX=1.5\nLogoSizeX=-1\n",
       HeaderAt(58, 23), LogoAt(20, 15, 22, 22)},
      {"LogoName=vyn_logo.png\nLogoPosX=30\nLogoSizeX=40\nHeaderPosY=10\nHeaderCenterX=80\n",
       HeaderAt(33, 10), LogoAt(30, 15, 40, 22)},
      {"LogoName=vyn_logo.png\nHeaderCenterX=-1\nHeaderPosX=-1\n", HeaderAt(58, 23),
       LogoAt(20, 15, 22, 22)},
      {"LogoName=missing.png\n", HeaderAt(58, 23), "<none>"},
      // Far beyond the page: kept within 1000 mm, and nothing breaks.
      {"LogoName=vyn_logo.png\nLogoPosX=2147483647\nLogoSizeY=2147483647\n"
       "HeaderTextSize=2147483647\nHeaderPosX=-2147483648\n",
       HeaderAt(-1000, 23), LogoAt(1000, 15, 22, 1000)},
  };
  for (const auto& c : cases) {
    WriteSettings(settings_file_).Print(c.lines);
    const RecordingCanvas canvas = Print();
    EXPECT_EQ(FirstCall(canvas, "text").substr(0, c.header.size()), c.header) << c.lines;
    EXPECT_EQ(FirstCall(canvas, "bitmap "), c.logo) << c.lines;
  }
}

TEST_F(RecordTest, MissingSettingsFilePrintsEmptyListValuesWithTheDefaults) {
  fs::remove(settings_file_);
  data_.WorkingImage = FullImage();
  const RecordingCanvas canvas = Print();
  EXPECT_EQ(After(canvas, 1, "2"), "0C3D");
  EXPECT_EQ(After(canvas, 1, "0C3D"), "");  // the alarm type
  EXPECT_EQ(After(canvas, 2, "Warnfunktionen"), "");
  EXPECT_EQ(After(canvas, 2, "Klingeln über Lautsprecher"), "");
  EXPECT_EQ(After(canvas, 2, "Passivalarmintervall"), "50 Tage");
  // Without LogoName the record has no logo; the header sits where it does by default.
  EXPECT_EQ(FirstCall(canvas, "bitmap"), "<none>");
  EXPECT_EQ(FirstCall(canvas, "text").substr(0, HeaderAt(58, 23).size()), HeaderAt(58, 23));
}

TEST_F(RecordTest, CodesOutsideTheirListsPrintEmpty) {
  data_.WorkingImage = FullImage();
  const RecordingCanvas canvas = Print();
  EXPECT_EQ(After(canvas, 1, "FFFE"), "Rauchmelderalarm");
  EXPECT_EQ(After(canvas, 1, "1A2B"), "Benutzeralarm");
  const std::vector<std::string> page1 = canvas.PageTexts(1);
  const auto eighth = std::find(page1.begin(), page1.end(), "8");
  ASSERT_NE(eighth, page1.end());
  EXPECT_EQ(*(eighth + 2), "");                // alarm type 99
  EXPECT_TRUE(Contains(page1, "No account"));  // AccountToUse 7 and 0
  EXPECT_TRUE(Contains(page1, "BS8521"));
  EXPECT_TRUE(Contains(page1, "Verklizan UMO IP"));
  // Protocol.D is 30: the row holds the alarm code, an empty protocol and the attempts.
  const auto numbers_d = std::find(page1.begin(), page1.end(), "D:");
  ASSERT_NE(numbers_d, page1.end());
  const auto d_row = std::find(numbers_d + 1, page1.end(), "D:");
  ASSERT_NE(d_row, page1.end());
  EXPECT_EQ(std::vector<std::string>(d_row + 1, d_row + 5),
            (std::vector<std::string>{"", "", "3", "No account"}));
}

TEST_F(RecordTest, FallbackLogoIsUsedWithoutTheNamedOne) {
  WriteSettings(settings_file_).Print("LogoName=other.png\n");
  folder_.Write(kFallbackLogoName, "picture");
  EXPECT_NE(Print().Recording().find("bitmap-load \"Duduvuza.raz\"\n"), std::string::npos);
}

// A canvas whose device prints one copy at a time.
class CopyByCopyCanvas : public RecordingCanvas {
 public:
  int BeginDocument(const std::string& title, int copies) override {
    RecordingCanvas::BeginDocument(title, copies);
    return copies;
  }
};

TEST_F(RecordTest, CopiesAreDrawnWhereTheDeviceCannotMakeThem) {
  inputs_.Copies = 3;
  const RecordingCanvas copies_by_device = Print();
  EXPECT_EQ(copies_by_device.Pages(), 4);
  EXPECT_EQ(copies_by_device.Copies(), 3);
  CopyByCopyCanvas canvas;
  Print(canvas);
  EXPECT_EQ(canvas.Pages(), 12);
  EXPECT_EQ(canvas.PageTexts(9), copies_by_device.PageTexts(1));
  EXPECT_TRUE(Contains(canvas.PageTexts(12), "Seite 4 von 4"));
}

TEST_F(RecordTest, NothingCrossesTheFrameWhateverTheFontMetrics) {
  data_.WorkingImage = FullImage();
  // Larger and smaller fonts than the page's own scale: a printer's metrics.
  for (int dots_per_inch : {600, 750, 900, 450}) {
    RecordingCanvas canvas(RecordingCanvas::kA4Width, RecordingCanvas::kA4Height, dots_per_inch);
    Print(canvas);
    for (const RecordingCanvas::TextCall& text : canvas.TextCalls()) {
      if (text.y < Py(68) || text.y > Py(267)) continue;  // the frame's header and footer
      EXPECT_LE(text.bottom, Py(267))
          << dots_per_inch << " page " << text.page << ": " << text.text;
      EXPECT_LE(text.right, Px(195)) << dots_per_inch << " page " << text.page << ": " << text.text;
      EXPECT_GE(text.font.points, 4) << text.text;
    }
  }
}

TEST_F(RecordTest, ADeviceWithoutAPageGetsAnEmptyJob) {
  RecordingCanvas canvas(0, 0);
  Print(canvas);
  EXPECT_TRUE(canvas.TextCalls().empty());
  EXPECT_NE(canvas.Recording().find("begin"), std::string::npos);
  EXPECT_NE(canvas.Recording().find("end\n"), std::string::npos);
}

TEST_F(RecordTest, EachPrintoutStartsFromTheDefaults) {
  data_.WorkingImage = FullImage();
  VynPrint print(StringTable::Builtin(), settings_file_, folder_.Path().string(), dates_);
  print.SetInputs(inputs_);
  RecordingCanvas first;
  print.PrintRecord(data_, first);
  RecordingCanvas large(RecordingCanvas::kA4Width, RecordingCanvas::kA4Height, 900);
  print.PrintRecord(data_, large);
  RecordingCanvas again;
  print.PrintRecord(data_, again);
  EXPECT_EQ(again.Recording(), first.Recording());
}

}  // namespace
}  // namespace vyn::testing
