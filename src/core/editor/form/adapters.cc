#include "core/editor/form/adapters.h"

#include <span>

#include "core/editor/form/numbers.h"
#include "core/image/codecs.h"
#include "core/image/field_codec.h"
#include "core/settings/text_encoding.h"

namespace vyn {
namespace {

// The byte of a bit-field or definition field as the codec reads it.
int Byte(const FieldCodec& codec, const ParameterImage& image, const FieldInfo& field) {
  return static_cast<int>(codec.read(image, field));
}

long long WithBit(int byte, int bit, bool on) {
  const int mask = 1 << bit;
  return on ? (byte | mask) : (byte & ~mask);
}

// A control character of a damaged image shows as "?" (and is stored so when saved).
void LoadText(Control& control, std::string raw) {
  std::string text = WithoutControlCharacters(std::move(raw));
  control.SetText(text);
  control.SetLoaded(LoadedValue{std::move(text)});
}

std::string CheckText(bool checked) { return checked ? "1" : "0"; }

void LoadCheck(Control& control, bool checked) {
  control.SetChecked(checked);
  control.SetLoaded(LoadedValue{CheckText(checked)});
}

bool Untouched(const Control& control, const std::string& shown) {
  return control.loaded() && control.loaded()->text == shown;
}

}  // namespace

bool AdapterHasField(Adapter adapter) {
  return adapter != Adapter::kNone && adapter != Adapter::kAdvancedGrid;
}

bool LoadRow(const ControlBinding& row, const FieldInfo& field, Control& control,
             const ParameterImage& image) {
  const FieldCodec& codec = CodecOf(field);
  switch (row.adapter) {
    case Adapter::kNone:
    case Adapter::kTelephoneNumber:
    case Adapter::kAdvancedGrid:
      return true;
    case Adapter::kDecimalByte:
    case Adapter::kWord16:
    case Adapter::kTransmitterCode:
    case Adapter::kAlarmCodeDigits:
    case Adapter::kVersionText:
      LoadText(control, codec.text(image, field, false));
      return true;
    case Adapter::kFlag:
      LoadCheck(control, codec.read(image, field) == 1);
      return true;
    case Adapter::kActiveBit7:
      LoadCheck(control, ((Byte(codec, image, field) >> 7) & 1) != 0);
      return true;
    case Adapter::kBit:
      LoadCheck(control, ((Byte(codec, image, field) >> row.bit) & 1) != 0);
      return true;
    case Adapter::kListReported:
    case Adapter::kListNotReported: {
      control.SetItemIndex(
          control.list().PositionOfCode(static_cast<int>(codec.read(image, field))));
      // A list the settings file did not fill cannot tell a valid byte from an invalid one.
      return control.item_index() >= 0 || row.adapter == Adapter::kListNotReported ||
             control.list().Count() == 0;
    }
  }
  return true;
}

void StoreRow(const ControlBinding& row, const FieldInfo& field, const Control& control,
              ParameterImage& image) {
  const FieldCodec& codec = CodecOf(field);
  const auto write = [&](long long value) {
    codec.write(image, field, static_cast<double>(value));
  };
  switch (row.adapter) {
    case Adapter::kNone:
    case Adapter::kTelephoneNumber:
    case Adapter::kAdvancedGrid:
    case Adapter::kVersionText:
      return;
    case Adapter::kDecimalByte:
      write(IntegerOrZero(control.text()) & 0xFF);
      return;
    case Adapter::kWord16:
      write(IntegerOrZero(control.text()) & 0xFFFF);
      return;
    case Adapter::kFlag:
      // Bytes other than 0 and 1 show as unchecked; they stay unless the user clicks the box.
      if (!Untouched(control, CheckText(control.checked()))) write(control.checked() ? 1 : 0);
      return;
    case Adapter::kActiveBit7:
      write(WithBit(Byte(codec, image, field), 7, control.checked()));
      return;
    case Adapter::kBit:
      write(WithBit(Byte(codec, image, field), row.bit, control.checked()));
      return;
    case Adapter::kListReported:
    case Adapter::kListNotReported:
      // A list left without a selection (its byte had no item) keeps the byte.
      if (const std::optional<int> code = control.list().SelectedCode()) write(*code);
      return;
    // The boxes' texts convert by the editor's rule, which takes any text (a character that is
    // no digit counts as 0), where the codec's parse refuses what is not of the field's form.
    case Adapter::kTransmitterCode: {
      const std::array<std::uint8_t, 2> code = EncodeTransmitterCode(control.text());
      std::copy(code.begin(), code.end(), image.begin() + field.address);
      return;
    }
    case Adapter::kAlarmCodeDigits: {
      const DialField digits = EncodeDialDigits(control.text(), DialKind::kAlarmCode);
      std::copy(digits.begin(), digits.end(), image.begin() + field.address);
      return;
    }
  }
}

}  // namespace vyn
