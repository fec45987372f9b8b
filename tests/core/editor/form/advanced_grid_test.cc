// The advanced grid: built from the settings file, the row number deciding the conversion,
// range failures 2 and 3, conversion errors, the in-place editor's rules.

#include "core/editor/form/advanced_grid.h"
#include "core/image/codecs.h"
#include "core/editor/form/editor_fixture.h"

namespace vyn::testing {
namespace {

class AdvancedGridTest : public EditorFixture {
 protected:
  std::uint32_t Word32At(int address) {
    return ReadWord32(std::span<const std::uint8_t, 4>(data_.WorkingImage.data() + address, 4));
  }
};

TEST_F(AdvancedGridTest, BuiltFromTheSettingsFile) {
  const Control& grid = Get("sgAdvanced");
  EXPECT_EQ(grid.row_count(), 57);
  EXPECT_EQ(grid.column_count(), 4);
  EXPECT_EQ(grid.column_widths(), (std::vector<int>{50, 245, 47, 140}));
  EXPECT_EQ(grid.cell(0, 2), "Wert");
  EXPECT_EQ(grid.cell(1, 0), "224");
  EXPECT_EQ(grid.cell(9, 3), "V");
}

TEST_F(AdvancedGridTest, RowsShowAndStoreByTheirConversion) {
  ParameterImage image = DeliveredDefault();
  image[0x0E0] = 80;  // row 1, byte at the row's address 224
  image[0x0F0] = 35;  // row 9, tenths of a volt
  WriteWord32(std::span<std::uint8_t, 4>(image.data() + 0x120, 4), 0);    // row 18
  WriteWord32(std::span<std::uint8_t, 4>(image.data() + 0x130, 4), 801);  // row 22
  Load(image);
  EXPECT_EQ(Cell(1), "80");
  EXPECT_EQ(Cell(9), "3.5");
  EXPECT_EQ(Cell(18), "0");
  EXPECT_EQ(Cell(22), "100");

  const struct {
    int row;
    const char* text;
    int address;
    int stored;
    StoreResult result;
  } cases[] = {
      {1, "300", 0x0E0, 0, StoreResult::kAdvancedRange},
      {1, "", 0x0E0, 0, StoreResult::kOk},
      {1, " 17 ", 0x0E0, 17, StoreResult::kOk},
      {9, "3.5", 0x0F0, 35, StoreResult::kOk},
      {9, "7.5", 0x0F0, 75, StoreResult::kOk},
      {9, "7.6", 0x0F0, 0, StoreResult::kDecimalRange},
      {9, "-0.1", 0x0F0, 0, StoreResult::kDecimalRange},
      {9, "", 0x0F0, 0, StoreResult::kOk},
      {5, "257", 0x5B7, 1, StoreResult::kOk},  // a flag row stores the low 8 bits
  };
  for (const auto& c : cases) {
    Load(image);
    EditCell(c.row, c.text);
    const StoreOutcome outcome = Store();
    EXPECT_EQ(outcome.result, c.result) << c.row << " " << c.text;
    EXPECT_EQ(data_.WorkingImage[c.address], c.stored) << c.row << " " << c.text;
    if (c.result != StoreResult::kOk) {
      EXPECT_EQ(outcome.grid_row, c.row);
    }
  }

  // Row 22: 100 ms stores 800; 801 shows 100 and, untouched, stays 801.
  Load(image);
  EditCell(22, "100");
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(Word32At(0x130), 801u);
  EditCell(22, "101");
  EditCell(22, "100");
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(Word32At(0x130), 801u);  // the shown text again: the user's last word is the old value
  EditCell(22, "125");
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(Word32At(0x130), 1000u);
  // Row 18 shows 0 for 0; a typed attack value goes through the attack form.
  EditCell(18, "1.5");
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(Word32At(0x120), EncodeDuplex(1.5, DuplexForm::kAttack));
  EXPECT_GT(Word32At(0x120), 0u);
}

TEST_F(AdvancedGridTest, TheLastRangeFailureIsReportedAfterTheWholeStore) {
  Load(DeliveredDefault());
  EditCell(9, "8");
  EditCell(10, "256");
  EditCell(30, "1");
  const StoreOutcome outcome = Store();
  EXPECT_EQ(outcome.result, StoreResult::kAdvancedRange);
  EXPECT_EQ(outcome.grid_row, 10);
  EXPECT_EQ(data_.WorkingImage[0x11B], 1);  // rows after a failure are still stored
}

TEST_F(AdvancedGridTest, TextsThatAreNoNumbersEndTheStore) {
  const struct {
    int row;
    const char* text;
    const char* message;
  } cases[] = {
      {3, "12a", "'12a' is not a valid integer value"},
      {3, "", "'' is not a valid integer value"},
      {1, "x", "'x' is not a valid integer value"},
      {22, "1.5", "'1.5' is not a valid integer value"},
      {9, "3,5", "'3,5' is not a valid floating point value"},
      {18, "abc", "'abc' is not a valid floating point value"},
  };
  for (const auto& c : cases) {
    ParameterImage image = DeliveredDefault();
    Load(image);
    EditCell(c.row, c.text);
    EditCell(40, "9");  // a row after the failing one
    const StoreOutcome outcome = Store();
    EXPECT_EQ(outcome.result, StoreResult::kConversionError) << c.text;
    EXPECT_EQ(outcome.error_text, c.message);
    EXPECT_EQ(outcome.control, "sgAdvanced");
    EXPECT_EQ(outcome.grid_row, c.row);
    EXPECT_NE(data_.WorkingImage[0x5B1], 9) << "row 40 is after the failure";
  }
}

TEST_F(AdvancedGridTest, TheUsersDecimalSeparatorInBothDirections) {
  state_.decimal_separator = ',';
  ParameterImage image = DeliveredDefault();
  image[0x0F0] = 35;
  Load(image);
  EXPECT_EQ(Cell(9), "3,5");
  EditCell(9, "4,2");
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(data_.WorkingImage[0x0F0], 42);
}

TEST_F(AdvancedGridTest, SettingsWithoutTheRowsOrWithAGap) {
  // No settings file: empty lists, a grid without data rows, and no store until it is there.
  Build(StringTable::Builtin(), folder_.File("missing.ini"));
  EXPECT_EQ(Get("cbbxProtocolA").list().Count(), 0);
  EXPECT_EQ(Get("sgAdvanced").row_count(), 1);
  EXPECT_EQ(Load(DeliveredDefault()), kLoadOk);  // empty lists report nothing
  StoreOutcome outcome = Store();
  EXPECT_EQ(outcome.result, StoreResult::kConversionError);
  EXPECT_EQ(outcome.error_text, "'' is not a valid integer value");
  EXPECT_EQ(outcome.grid_row, 3);

  // "Addr_4" missing: parameter 5 lands in row 4 and is converted as row 4.
  std::string values = "[ValueAdvanced]\nAddr=Adr\n";
  for (int n = 1; n <= 56; ++n) {
    if (n == 4) continue;
    values += "Addr_" + std::to_string(n) + "=" + std::to_string(1000 + n) + "\n";
    values += "Desc_" + std::to_string(n) + "=P" + std::to_string(n) + "\n";
  }
  BuildWithValues(values);
  EXPECT_EQ(Get("sgAdvanced").row_count(), 56);
  EXPECT_EQ(Get("sgAdvanced").cell(4, 1), "P5");
  ParameterImage image = DeliveredDefault();
  image[0x5B5] = 0x01;
  image[0x5B6] = 0x02;
  Load(image);
  EXPECT_EQ(Cell(4), "258");  // row 4's field, 16-bit at 0x5B5
  // Row 56 has no cell any more: its empty value ends the store.
  outcome = Store();
  EXPECT_EQ(outcome.result, StoreResult::kConversionError);
  EXPECT_EQ(outcome.grid_row, 56);
}

TEST_F(AdvancedGridTest, InPlaceEditorAndMasks) {
  for (const int level : {3, 4}) {
    EditorContext context = Context();
    ApplyAccessLevel(context, level);
    EXPECT_EQ(sgAdvancedSelectCell(state_, 2, 1), level == 4);
    EXPECT_FALSE(sgAdvancedSelectCell(state_, 1, 1));
    EXPECT_FALSE(sgAdvancedSelectCell(state_, 2, 0));
  }
  for (int row = 1; row <= 12; ++row) {
    const bool masked = row <= 10 && row != 4;
    EXPECT_EQ(sgAdvancedGetEditMask(2, row), masked ? "000" : "") << row;
  }
  EXPECT_EQ(sgAdvancedGetEditMask(1, 1), "");
}

}  // namespace
}  // namespace vyn::testing
