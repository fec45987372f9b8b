#include "core/settings/vyn_ini.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace vyn {
namespace {

using testing::TempFolder;

std::vector<std::string> Texts(const ChoiceList& list) {
  std::vector<std::string> texts;
  for (const ChoiceList::Item& item : list.Items()) texts.push_back(item.text);
  return texts;
}

std::vector<int> Codes(const ChoiceList& list) {
  std::vector<int> codes;
  for (const ChoiceList::Item& item : list.Items()) codes.push_back(item.code);
  return codes;
}

// Twelve alarm types, a separator at key 12, one more type after it.
constexpr char kAlarmTypes[] =
    "[AlarmType]\n"
    "0=T0\n1=T1\n2=T2\n3=T3\n4=T4\n5=T5\n6=T6\n7=T7\n8=T8\n9=T9\n10=T10\n11=T11\n"
    "12=--- radio only ---\n"
    "13=T13\n"
    "14=<END>\n";

TEST(VynIniFillListTest, FillsEntriesAndValueTableAsTheSectionSays) {
  struct Case {
    const char* name;
    const char* section;
    std::string file;
    int capacity;
    bool stop_at_separator;
    std::vector<std::string> texts;
    std::vector<int> table;
  };
  const Case cases[] = {
      {"no and yes",
       "YesNo",
       "[YesNo]\n0=Nein\n1=Ja\n2=<END>\n",
       5,
       false,
       {"Nein", "Ja"},
       {0, 1, 999}},
      {"gaps are skipped",
       "L",
       "[L]\n0=a\n2=b\n5=c\n6=<END>\n7=after the end\n",
       10,
       false,
       {"a", "b", "c"},
       {0, 2, 5, 999}},
      {"an explicit <EMPTY> is a gap",
       "L",
       "[L]\n0=a\n1=<EMPTY>\n2=b\n3=<END>\n",
       10,
       false,
       {"a", "b"},
       {0, 2, 999}},
      {"capacity bounds the list",
       "L",
       "[L]\n0=a\n1=b\n2=c\n3=d\n4=e\n5=f\n6=g\n7=<END>\n",
       5,
       false,
       {"a", "b", "c", "d", "e"},
       {0, 1, 2, 3, 4, 999}},
      {"without <END> the keys below the end mark are read",
       "L",
       "[L]\n0=a\n1=b\n998=last key\n999=end mark\n",
       10,
       false,
       {"a", "b", "last key"},
       {0, 1, 998, 999}},
      {"separator ends the list with the flag",
       "AlarmType",
       kAlarmTypes,
       100,
       true,
       {"T0", "T1", "T2", "T3", "T4", "T5", "T6", "T7", "T8", "T9", "T10", "T11"},
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 999}},
      {"separator is an entry without the flag",
       "AlarmType",
       kAlarmTypes,
       100,
       false,
       {"T0", "T1", "T2", "T3", "T4", "T5", "T6", "T7", "T8", "T9", "T10", "T11",
        "--- radio only ---", "T13"},
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 999}},
      {"section names ignore case",
       "YesNo",
       "[yesno]\n0=Nein\n1=<END>\n",
       5,
       false,
       {"Nein"},
       {0, 999}},
      {"missing section", "YesNo", "[Other]\n0=a\n", 5, false, {}, {999}},
      {"empty section", "L", "[L]\n", 5, false, {}, {999}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const VynIni ini(folder.Write("Values.ini", c.file));
    ChoiceList list;
    list.Add("stale", 42);
    std::vector<int> table = {42, 999};
    EXPECT_EQ(ini.FillList(list, c.section, table, c.capacity, c.stop_at_separator),
              static_cast<int>(c.texts.size()));
    EXPECT_EQ(Texts(list), c.texts);
    EXPECT_EQ(table, c.table);
    std::vector<int> codes = c.table;
    codes.pop_back();
    EXPECT_EQ(Codes(list), codes);
    EXPECT_EQ(list.ItemIndex(), c.texts.empty() ? -1 : 0);
  }
}

TEST(VynIniFillListTest, MissingFileLeavesTheListEmpty) {
  TempFolder folder;
  const VynIni ini(folder.File("absent.ini"));
  EXPECT_FALSE(ini.Exists());
  ChoiceList list;
  std::vector<int> table;
  EXPECT_EQ(ini.FillList(list, "YesNo", table, 5, false), 0);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.SelectedCode(), std::nullopt);
  EXPECT_EQ(table, std::vector<int>{999});
}

TEST(VynIniValueTableTest, LooksUpPositionsAndValuesUpToTheEndMark) {
  const std::vector<int> table = {0, 2, 5, 999, 7};
  EXPECT_EQ(VynIni::PositionOfValue(table, 0), 0);
  EXPECT_EQ(VynIni::PositionOfValue(table, 2), 1);
  EXPECT_EQ(VynIni::PositionOfValue(table, 5), 2);
  EXPECT_EQ(VynIni::PositionOfValue(table, 3), -1);
  EXPECT_EQ(VynIni::PositionOfValue(table, 7), -1);  // behind the end mark
  EXPECT_EQ(VynIni::PositionOfValue({4}, 5), -1);    // no end mark: the table's end stops it

  EXPECT_EQ(VynIni::ValueAtPosition(table, 1), 2);
  EXPECT_EQ(VynIni::ValueAtPosition(table, -1), std::nullopt);
  EXPECT_EQ(VynIni::ValueAtPosition(table, 3), std::nullopt);
  EXPECT_EQ(VynIni::ValueAtPosition(table, 4), std::nullopt);
  EXPECT_EQ(VynIni::ValueAtPosition(table, 100), std::nullopt);
}

TEST(ChoiceListTest, SelectsByCodeAndReportsNoValueWithoutSelection) {
  ChoiceList list;
  EXPECT_EQ(list.ItemIndex(), -1);
  list.Add("Nein", 0);
  list.Add("Ja", 1);
  list.Add("Ja again", 1);
  EXPECT_EQ(list.PositionOfCode(1), 1);
  EXPECT_TRUE(list.SelectCode(1));
  EXPECT_EQ(list.ItemIndex(), 1);
  EXPECT_EQ(list.SelectedCode(), 1);
  EXPECT_FALSE(list.SelectCode(7));
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(list.SelectedCode(), std::nullopt);
  list.SetItemIndex(3);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(list.Text(3), "");
  EXPECT_EQ(list.Code(-1), -1);
  list.SetItemIndex(0);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.SelectedCode(), std::nullopt);
}

TEST(VynIniTest, ReadsAndWritesTexts) {
  TempFolder folder;
  const VynIni ini(folder.Write("Values.ini", "[Setup]\nConfigDirectory=\nAppVersion=1.0.0\n"));
  EXPECT_EQ(ini.ReadText("Setup", "AppVersion"), "1.0.0");
  EXPECT_EQ(ini.ReadText("Setup", "ConfigDirectory"), "");
  EXPECT_EQ(ini.ReadText("Setup", "Missing"), "");
  ASSERT_TRUE(ini.WriteText("Setup", "ConfigDirectory", "/home/u/VYN Konfigurationen"));
  EXPECT_EQ(ini.ReadText("setup", "configdirectory"), "/home/u/VYN Konfigurationen");
  EXPECT_EQ(TempFolder::Read(ini.FileName()),
            "[Setup]\nConfigDirectory=/home/u/VYN Konfigurationen\nAppVersion=1.0.0\n");

  VynIni elsewhere(folder.File("absent.ini"));
  elsewhere.SetFileName(folder.File("missing folder/Values.ini"));
  EXPECT_FALSE(elsewhere.WriteText("Setup", "AppVersion", "1"));
}

TEST(VynIniTest, AdvancedTableSkipsEntriesWithoutAddress) {
  TempFolder folder;
  const VynIni ini(folder.Write("Values.ini",
                                "[ValueAdvanced]\n"
                                "Addr=Adr\nDesc=Beschreibung\nValue=Wert\nUnit=Einheit\n"
                                "Addr_1=224\nDesc_1=DTMF Tondauer\nUnit_1=ms\n"
                                "Addr_2=225\nDesc_2=DTMF Pausendauer\n"
                                "Addr_3=\nDesc_3=not shown\nUnit_3=ms\n"
                                "Desc_5=no address key at all\n"
                                "Addr_4=227\nDesc_4=DTMF Meldungs-Timeout\nUnit_4=ms\n"
                                "Addr_511=2017\nDesc_511=last\n"
                                "Addr_512=1\nDesc_512=beyond the table\n"));
  const AdvancedTable table = ini.ValueAdvanced();
  EXPECT_EQ(table.headings, (std::array<std::string, 4>{"Adr", "Beschreibung", "Wert", "Einheit"}));
  ASSERT_EQ(table.rows.size(), 4u);
  const auto row = [&](std::size_t i) {
    const AdvancedRow& r = table.rows[i];
    return std::vector<std::string>{r.addr, r.desc, r.value, r.unit};
  };
  EXPECT_EQ(row(0), (std::vector<std::string>{"224", "DTMF Tondauer", "0", "ms"}));
  EXPECT_EQ(row(1), (std::vector<std::string>{"225", "DTMF Pausendauer", "0", ""}));
  EXPECT_EQ(row(2), (std::vector<std::string>{"227", "DTMF Meldungs-Timeout", "0", "ms"}));
  EXPECT_EQ(row(3), (std::vector<std::string>{"2017", "last", "0", ""}));

  const AdvancedTable none = VynIni(folder.File("absent.ini")).ValueAdvanced();
  EXPECT_EQ(none.headings, (std::array<std::string, 4>{}));
  EXPECT_TRUE(none.rows.empty());
}

TEST(VynIniTest, PrintLayoutTakesWholeNumbersOverItsDefaults) {
  const PrintLayout defaults;
  struct Case {
    const char* name;
    std::string print;
    PrintLayout expected;
  };
  const auto with = [&](auto change) {
    PrintLayout layout = defaults;
    change(layout);
    return layout;
  };
  const Case cases[] = {
      {"header from 30 mm", "HeaderPosX=30\n", with([](PrintLayout& l) { l.header_pos_x = 30; })},
      {"every key",
       "LogoName=logo.bmp\nLogoPosX=5\nLogoPosY=6\nLogoSizeX=30\nLogoSizeY=31\n"
       "HeaderCenterX=100\nHeaderPosY=40\nHeaderTextSize=14\n",
       with([](PrintLayout& l) {
         l.logo_name = "logo.bmp";
         l.logo_pos_x = 5, l.logo_pos_y = 6, l.logo_size_x = 30, l.logo_size_y = 31;
         l.header_center_x = 100, l.header_pos_y = 40, l.header_text_size = 14;
       })},
      {"signs and blanks", "LogoPosX= +7 \nLogoPosY=-3\n",
       with([](PrintLayout& l) { l.logo_pos_x = 7, l.logo_pos_y = -3; })},
      {"bad values keep the defaults",
       "LogoPosX=abc\nLogoPosY=12mm\nLogoSizeX=\nLogoSizeY=0\nHeaderCenterX=99999999999\n"
       "HeaderPosX=-1\nHeaderPosY=2.5\nHeaderTextSize=-4\n",
       defaults},
      {"empty section", "", defaults},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const PrintLayout got =
        VynIni(folder.Write("Values.ini", "[Print]\n" + c.print)).ReadPrintLayout();
    EXPECT_EQ(got.logo_name, c.expected.logo_name);
    EXPECT_EQ(got.logo_pos_x, c.expected.logo_pos_x);
    EXPECT_EQ(got.logo_pos_y, c.expected.logo_pos_y);
    EXPECT_EQ(got.logo_size_x, c.expected.logo_size_x);
    EXPECT_EQ(got.logo_size_y, c.expected.logo_size_y);
    EXPECT_EQ(got.header_center_x, c.expected.header_center_x);
    EXPECT_EQ(got.header_pos_x, c.expected.header_pos_x);
    EXPECT_EQ(got.header_pos_y, c.expected.header_pos_y);
    EXPECT_EQ(got.header_text_size, c.expected.header_text_size);
  }
}

TEST(VynIniTest, LocationCodesListTheCodesWithAMeaning) {
  TempFolder folder;
  const VynIni ini(folder.Write("Values.ini",
                                "[LocationCodesTT92]\n"
                                "256=Last\n0=First\n5=Kitchen\n7=<END>\n8=\n9=After the end\n"
                                "257=Beyond\n"));
  const std::vector<LocationCodeEntry> codes = ini.LocationCodes(kLocationCodesTT92Section);
  std::vector<std::pair<int, std::string>> got;
  for (const LocationCodeEntry& e : codes) got.emplace_back(e.code, e.meaning);
  EXPECT_EQ(got, (std::vector<std::pair<int, std::string>>{
                     {0, "First"}, {5, "Kitchen"}, {9, "After the end"}, {256, "Last"}}));
  EXPECT_TRUE(ini.LocationCodes(kLocationCodesBS8521Section).empty());
}

TEST(VynIniTest, ListCapacityFindsSectionsWithoutRegardToCase) {
  EXPECT_EQ(ListCapacity("LineVolume"), 20);
  EXPECT_EQ(ListCapacity("servicecalltype"), 7);
  EXPECT_EQ(ListCapacity("Print"), 0);
}

}  // namespace
}  // namespace vyn

namespace vyn {
namespace {

// A settings file that cannot serve the program says why, so the invalid bytes a missing list
// would cause are not blamed on the configuration.
TEST(VynIniTest, SaysWhatIsWrongWithTheSettingsFile) {
  TempFolder folder;
  struct Case {
    std::string content;
    std::string problem;
  };
  const Case cases[] = {
      {"", "holds none of the program's lists"},
      {std::string("\x7F"
                   "ELF\x02\x01\x01\0\0garbage",
                   16),
       "holds none of the program's lists"},
      {"[Setup]\nConfigDirectory=/x\n", "holds none of the program's lists"},
      {"[YesNo]\n0=No\n1=Yes\n2=<END>\n", ""},
  };
  for (const Case& c : cases) {
    const VynIni ini(folder.Write("Values.ini", c.content));
    EXPECT_EQ(ini.Problem(), c.problem) << c.content;
  }
  EXPECT_EQ(VynIni(folder.File("missing.ini")).Problem(), "not found");
  EXPECT_EQ(VynIni(folder.Path().string()).Problem(), "a folder, not a file");
  const std::string large =
      folder.Write("large.ini", std::string(ProfileFile::kMaxFileSize + 1, ';'));
  EXPECT_EQ(VynIni(large).Problem(), "larger than 4 MiB");

  const VynIni partial(folder.Write("partial.ini", "[YesNo]\n0=No\n[AlarmType]\n0=A\n"));
  const std::vector<std::string_view> missing = partial.MissingListSections();
  EXPECT_EQ(missing.size(), std::size(kListSections) - 2);
  EXPECT_EQ(missing.front(), kProtocolSection);
}

}  // namespace
}  // namespace vyn
