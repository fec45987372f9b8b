#include "core/editor/form/advanced_grid.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "core/editor/form/numbers.h"
#include "core/image/codecs.h"
#include "core/image/field_catalogue.h"
#include "core/image/field_codec.h"

namespace vyn {
namespace {

constexpr int kColumns = 4;
constexpr int kAddressColumn = 0;

// How a grid row converts, by the field its row number names.
enum class RowForm {
  kByteAtRowAddress,  // a byte at the address of the row's first column
  kWord16,            // 16-bit at the field's address
  kFlag,              // "1" for a byte of 1, else "0"; stored as a byte
  kByte,              // a byte at the field's address
  kTenthVolt,         // tenths of a volt, 0.0-7.5
  kDuplex,            // a 32-bit duplex value in the field's form
};

// The 16-bit rows that are shown only when their first column holds an address.
constexpr int kWord16RowsNeedingAddress[] = {3, 4, 7};

RowForm FormOf(const FieldInfo& field) {
  if (field.advanced_address_in_settings) return RowForm::kByteAtRowAddress;
  switch (field.encoding) {
    case FieldEncoding::kWord16:
      return RowForm::kWord16;
    case FieldEncoding::kFlag:
      return RowForm::kFlag;
    case FieldEncoding::kTenthVolt:
      return RowForm::kTenthVolt;
    case FieldEncoding::kDuplex:
      return RowForm::kDuplex;
    default:
      return RowForm::kByte;
  }
}

// Rows that take part only when their first column is not empty, in each direction.
bool NeedsAddressToShow(const FieldInfo& field) {
  const RowForm form = FormOf(field);
  return form == RowForm::kByteAtRowAddress || form == RowForm::kTenthVolt ||
         std::ranges::find(kWord16RowsNeedingAddress, field.advanced_row) !=
             std::end(kWord16RowsNeedingAddress);
}
bool NeedsAddressToStore(const FieldInfo& field) {
  const RowForm form = FormOf(field);
  return form == RowForm::kByteAtRowAddress || form == RowForm::kTenthVolt;
}

bool InImage(long long address) {
  return address >= 0 && address < static_cast<long long>(kImageSize);
}

// Decimal texts of the codecs carry "."; the grid shows the user's separator.
std::string WithSeparator(std::string text, char separator) {
  std::replace(text.begin(), text.end(), '.', separator);
  return text;
}

// The value a row shows, or nullopt when the row does not take part.
std::optional<std::string> ShownValue(const FieldInfo& field, const std::string& address_text,
                                      const ParameterImage& image, char separator) {
  if (NeedsAddressToShow(field) && address_text.empty()) return std::nullopt;
  const FieldCodec& codec = CodecOf(field);
  switch (FormOf(field)) {
    case RowForm::kByteAtRowAddress: {
      const long long at = IntegerOrZero(address_text);
      if (!InImage(at)) return std::nullopt;  // an address the image does not have
      return ByteText(image[static_cast<std::size_t>(at)]);
    }
    case RowForm::kFlag:
      return codec.read(image, field) == 1 ? "1" : "0";
    case RowForm::kWord16:
    case RowForm::kByte:
    case RowForm::kTenthVolt:
    case RowForm::kDuplex:
      // The decimal rows' texts carry "."; the grid shows the user's separator.
      return WithSeparator(codec.text(image, field, false), separator);
  }
  return std::nullopt;
}

// The store of one row; false when a text is not a number, with the error in `outcome`.
class RowStore {
 public:
  RowStore(const EditorContext& context, ParameterImage& image, StoreOutcome& outcome, int row)
      : context_(context), image_(image), outcome_(outcome), row_(row) {}

  bool Store(const FieldInfo& field, const std::string& address_text, const std::string& cell,
             bool untouched) {
    const std::string value(TrimBlanks(cell));
    const int address = field.address;
    const FieldCodec& codec = CodecOf(field);
    switch (FormOf(field)) {
      case RowForm::kByteAtRowAddress: {
        const std::optional<long long> at = Integer(address_text);
        if (!at) return false;
        if (untouched || !InImage(*at)) return true;
        std::optional<long long> number = 0;
        if (!value.empty() && !(number = Integer(value))) return false;
        if (*number < 0 || *number > 255) {
          image_[static_cast<std::size_t>(*at)] = 0;
          Fail(StoreResult::kAdvancedRange);
        } else {
          image_[static_cast<std::size_t>(*at)] = static_cast<std::uint8_t>(*number);
        }
        return true;
      }
      case RowForm::kWord16: {
        if (untouched) return true;
        const std::optional<long long> number = Integer(value);
        if (!number) return false;
        codec.write(image_, field, static_cast<double>(*number & 0xFFFF));
        return true;
      }
      case RowForm::kFlag:
      case RowForm::kByte: {
        if (untouched) return true;
        const std::optional<long long> number = Integer(value);
        if (!number) return false;
        codec.write(image_, field, static_cast<double>(*number & 0xFF));
        return true;
      }
      case RowForm::kTenthVolt: {
        if (untouched) return true;
        std::optional<double> volts = 0.0;
        if (!value.empty() && !(volts = Decimal(value))) return false;
        if (!codec.write(image_, field, *volts)) {
          image_[address] = 0;
          Fail(StoreResult::kDecimalRange);
        }
        return true;
      }
      case RowForm::kDuplex: {
        if (untouched) return true;
        std::optional<double> number;
        if (field.duplex_form == DuplexForm::kTime) {
          const std::optional<long long> whole = Integer(value);
          if (whole) number = static_cast<double>(*whole);
        } else {
          number = Decimal(value);
        }
        if (!number) return false;
        // A value the form cannot hold (a negative time) stores 0.
        if (!codec.write(image_, field, *number))
          WriteWord32(std::span<std::uint8_t, 4>(image_.data() + address, 4), 0);
        return true;
      }
    }
    return true;
  }

 private:
  std::optional<long long> Integer(const std::string& text) {
    const std::optional<long long> number = ParseInteger(text);
    if (!number) Error(kNotAnIntegerMessage, text);
    return number;
  }
  std::optional<double> Decimal(const std::string& text) {
    const std::optional<double> number = ParseDecimal(text, context_.state.decimal_separator);
    if (!number) Error(kNotADecimalMessage, text);
    return number;
  }
  void Error(int message, const std::string& text) {
    outcome_.result = StoreResult::kConversionError;
    outcome_.error_text = Format(context_.strings.Text(message), {text});
    Where();
  }
  void Fail(StoreResult result) {
    outcome_.result = result;
    Where();
  }
  void Where() {
    outcome_.control = kAdvancedGrid;
    outcome_.grid_row = row_;
  }

  const EditorContext& context_;
  ParameterImage& image_;
  StoreOutcome& outcome_;
  int row_;
};

}  // namespace

void BuildAdvancedGrid(EditorForm& form, const VynIni& settings) {
  Control& grid = form.Get(kAdvancedGrid);
  const AdvancedTable table = settings.ValueAdvanced();
  grid.SetGridSize(static_cast<int>(table.rows.size()) + 1, kColumns);
  grid.SetColumnWidths({50, 245, 47, 140});
  for (int column = 0; column < kColumns; ++column)
    grid.SetCell(0, column, table.headings[static_cast<std::size_t>(column)]);
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    const AdvancedRow& row = table.rows[i];
    const int r = static_cast<int>(i) + 1;
    grid.SetCell(r, 0, row.addr);
    grid.SetCell(r, 1, row.desc);
    grid.SetCell(r, kAdvancedValueColumn, row.value);
    grid.SetCell(r, 3, row.unit);
  }
}

void LoadAdvancedGrid(EditorContext& context, const VynData& data, LoadReport&) {
  Control& grid = context.form.Get(kAdvancedGrid);
  const std::vector<const FieldInfo*> rows = AdvancedRows();
  grid.ClearLoadedRows();
  for (int r = 1; r <= static_cast<int>(rows.size()); ++r) {
    const std::optional<std::string> shown =
        ShownValue(*rows[static_cast<std::size_t>(r - 1)], grid.cell(r, kAddressColumn),
                   data.WorkingImage, context.state.decimal_separator);
    // A row past the grid's end has no cell to show its value in.
    if (!shown || r >= grid.row_count()) continue;
    grid.SetCell(r, kAdvancedValueColumn, *shown);
    grid.SetLoadedRow(r, LoadedValue{*shown});
  }
}

void StoreAdvancedGrid(EditorContext& context, VynData& target, StoreOutcome& outcome) {
  const Control& grid = context.form.Get(kAdvancedGrid);
  const std::vector<const FieldInfo*> rows = AdvancedRows();
  for (int r = 1; r <= static_cast<int>(rows.size()); ++r) {
    const FieldInfo& field = *rows[static_cast<std::size_t>(r - 1)];
    const std::string& address_text = grid.cell(r, kAddressColumn);
    if (NeedsAddressToStore(field) && address_text.empty()) continue;
    const std::string& cell = grid.cell(r, kAdvancedValueColumn);
    const std::optional<LoadedValue>& loaded = grid.loaded_row(r);
    // A value the user did not touch keeps the image's bytes: the decimal rows are shown
    // rounded and would change with every store otherwise.
    const bool untouched = loaded && loaded->text == cell;
    RowStore store(context, target.WorkingImage, outcome, r);
    if (!store.Store(field, address_text, cell, untouched)) return;
  }
}

bool sgAdvancedSelectCell(const EditorState& state, int column, int row) {
  return column == kAdvancedValueColumn && row >= 1 && state.advanced_grid_editable;
}

std::string sgAdvancedGetEditMask(int column, int row) {
  static constexpr int kMaskedRows[] = {1, 2, 3, 5, 6, 7, 8, 9, 10};
  if (column != kAdvancedValueColumn) return {};
  return std::ranges::find(kMaskedRows, row) != std::end(kMaskedRows) ? "000" : "";
}

}  // namespace vyn
