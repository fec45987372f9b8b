#include "core/editor/form/adapters.h"

#include <span>

#include "core/editor/form/numbers.h"
#include "core/image/codecs.h"

namespace vyn {
namespace {

std::span<const std::uint8_t, 2> Pair(const ParameterImage& image, int address) {
  return std::span<const std::uint8_t, 2>(image.data() + address, 2);
}

std::span<const std::uint8_t, 8> Dial(const ParameterImage& image, int address) {
  return std::span<const std::uint8_t, 8>(image.data() + address, 8);
}

void SetBit(std::uint8_t& byte, int bit, bool on) {
  const auto mask = static_cast<std::uint8_t>(1u << bit);
  byte = on ? static_cast<std::uint8_t>(byte | mask) : static_cast<std::uint8_t>(byte & ~mask);
}

void LoadText(Control& control, std::string text) {
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
  const int a = field.address;
  switch (row.adapter) {
    case Adapter::kNone:
    case Adapter::kTelephoneNumber:
    case Adapter::kAdvancedGrid:
      return true;
    case Adapter::kDecimalByte:
      LoadText(control, ByteText(image[a]));
      return true;
    case Adapter::kWord16:
      LoadText(control, Word16Text(Pair(image, a)));
      return true;
    case Adapter::kFlag:
      LoadCheck(control, image[a] == 1);
      return true;
    case Adapter::kActiveBit7:
      LoadCheck(control, (image[a] & 0x80) != 0);
      return true;
    case Adapter::kBit:
      LoadCheck(control, ((image[a] >> row.bit) & 1) != 0);
      return true;
    case Adapter::kListReported:
    case Adapter::kListNotReported: {
      control.SetItemIndex(control.list().PositionOfCode(image[a]));
      // A list the settings file did not fill cannot tell a valid byte from an invalid one.
      return control.item_index() >= 0 || row.adapter == Adapter::kListNotReported ||
             control.list().Count() == 0;
    }
    case Adapter::kTransmitterCode:
      LoadText(control, DecodeTransmitterCode(image[a], image[a + 1]));
      return true;
    case Adapter::kAlarmCodeDigits:
      LoadText(control, DecodeDialDigits(Dial(image, a), DialKind::kAlarmCode));
      return true;
    case Adapter::kVersionText:
      LoadText(control, VersionText(std::span<const std::uint8_t, 6>(image.data() + a, 6)));
      return true;
  }
  return true;
}

void StoreRow(const ControlBinding& row, const FieldInfo& field, const Control& control,
              ParameterImage& image) {
  const int a = field.address;
  switch (row.adapter) {
    case Adapter::kNone:
    case Adapter::kTelephoneNumber:
    case Adapter::kAdvancedGrid:
    case Adapter::kVersionText:
      return;
    case Adapter::kDecimalByte:
      image[a] = static_cast<std::uint8_t>(IntegerOrZero(control.text()) & 0xFF);
      return;
    case Adapter::kWord16:
      WriteWord16(std::span<std::uint8_t, 2>(image.data() + a, 2),
                  static_cast<std::uint16_t>(IntegerOrZero(control.text()) & 0xFFFF));
      return;
    case Adapter::kFlag:
      // Bytes other than 0 and 1 show as unchecked; they stay unless the user clicks the box.
      if (!Untouched(control, CheckText(control.checked()))) image[a] = control.checked() ? 1 : 0;
      return;
    case Adapter::kActiveBit7:
      SetBit(image[a], 7, control.checked());
      return;
    case Adapter::kBit:
      SetBit(image[a], row.bit, control.checked());
      return;
    case Adapter::kListReported:
    case Adapter::kListNotReported:
      // A list left without a selection (its byte had no item) keeps the byte.
      if (const std::optional<int> code = control.list().SelectedCode())
        image[a] = static_cast<std::uint8_t>(*code);
      return;
    case Adapter::kTransmitterCode: {
      const std::array<std::uint8_t, 2> code = EncodeTransmitterCode(control.text());
      image[a] = code[0];
      image[a + 1] = code[1];
      return;
    }
    case Adapter::kAlarmCodeDigits: {
      const DialField digits = EncodeDialDigits(control.text(), DialKind::kAlarmCode);
      std::copy(digits.begin(), digits.end(), image.begin() + a);
      return;
    }
  }
}

}  // namespace vyn
