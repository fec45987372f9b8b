#include "core/editor/form/call_numbers.h"

#include <algorithm>

#include "core/image/codecs.h"
#include "core/image/field_catalogue.h"
#include "core/image/number_pool.h"
#include "core/settings/text_encoding.h"

namespace vyn {
namespace {

int ProtocolCode(const EditorForm& form, int row) {
  return form.Get(CallRow(row).protocol).list().SelectedCode().value_or(-1);
}

bool IsTwoPart(int code) { return code == kTwoPartProtocol || code == kCallBackProtocol; }

// Still the text LoadControls put there.
bool Untouched(const Control& control) {
  return control.loaded() && control.loaded()->text == control.text();
}

void SetLoadedText(Control& control, std::string text) {
  control.SetText(text);
  control.SetLoaded(LoadedValue{std::move(text)});
}

}  // namespace

CallRowNames CallRow(int row) {
  const std::string x(1, kNumberLetters[row]);
  // The labels of the night-mode and redirection rows carry words instead of the letter.
  const std::string label = x == "N" ? "NightMode" : x == "V" ? "Redirection" : x;
  CallRowNames names;
  names.number = "edtTelephoneNo" + x;
  names.part1 = names.number + "Mptp1";
  names.part2 = names.number + "Mptp2";
  names.number_label = "lblTelephoneNumber" + label;
  names.description = names.number_label + "Descr";
  names.alarm_code = "edtAlarmCode" + x;
  names.alarm_code_label = "lblAlarmCode" + label;
  names.protocol = "cbbxProtocol" + x;
  names.protocol_label = "lblProtocol" + label;
  names.attempts = "edtCallAttempts" + x;
  names.attempts_label = "lblCallAttempts" + label;
  names.attempts_updown = "udCallAttempts" + x;
  names.call_back = "cbCallBack" + x;
  names.account = "cbbxAccountToUse" + x;
  names.account_label = "lblAccountToUse" + x;
  return names;
}

void ApplyProtocolLayout(EditorForm& form, int row) {
  const CallRowNames names = CallRow(row);
  const int code = ProtocolCode(form, row);
  const bool two_part = IsTwoPart(code);
  form.Get(names.number).SetVisible(!two_part);
  form.Get(names.part1).SetVisible(two_part);
  form.Get(names.part2).SetVisible(two_part);
  form.Get(names.description).SetVisible(two_part);
  form.Get(names.call_back).SetVisible(code == kCallBackProtocol);
  bool any_call_back = false;
  for (int i = 0; i < kCallRows; ++i) any_call_back |= form.Get(CallRow(i).call_back).visible();
  form.Get("lblCallBack").SetVisible(any_call_back);
}

void LoadTelephoneNumbers(EditorContext& context, const VynData& data, LoadReport&) {
  NumberTexts numbers = FetchNumbers(data.WorkingImage, data.ShortLayout);
  for (int i = 0; i < kCallRows; ++i) {
    const CallRowNames names = CallRow(i);
    // A pool entry with control characters (a damaged image) shows them as "?".
    numbers[i] = WithoutControlCharacters(numbers[i]);
    SetLoadedText(context.form.Get(names.number), numbers[i]);
    // Both layouts fill the two parts, so that they never hold a number of an image shown
    // before, whatever the protocol.
    const auto [first, second] = SplitNumberPair(numbers[i]);
    SetLoadedText(context.form.Get(names.part1), first);
    SetLoadedText(context.form.Get(names.part2), second);
    ApplyProtocolLayout(context.form, i);
  }
}

void StoreTelephoneNumbers(EditorContext& context, VynData& target, StoreOutcome& outcome) {
  ParameterImage& image = target.WorkingImage;
  std::fill(image.begin() + kNumberSlotRange.first, image.begin() + kAlarmCodeRange.last + 1,
            kEmptyDialByte);
  std::fill(image.begin() + kNumberPoolRange.first, image.begin() + kNumberPoolRange.last + 1, 0);
  NumberPool pool;
  for (int i = 0; i < kCallRows; ++i) {
    const CallRowNames names = CallRow(i);
    Control& number = context.form.Get(names.number);
    const bool two_part = IsTwoPart(ProtocolCode(context.form, i));
    if (two_part) {
      const Control& first = context.form.Get(names.part1);
      const Control& second = context.form.Get(names.part2);
      // Parts the user left alone give back the number as it was loaded: a number without a
      // comma does not gain one.
      if (Untouched(first) && Untouched(second) && number.loaded()) {
        number.SetText(number.loaded()->text);
      } else {
        number.SetText(JoinNumberPair(first.text(), second.text()));
      }
    }
    const FieldInfo* slot = FindField(std::string("TelephoneNumber.") + kNumberLetters[i]);
    if (PoolStore(image, number.text(), slot->address, pool) == PoolStoreResult::kOverflow) {
      outcome.result = StoreResult::kPoolOverflow;
      outcome.control = two_part ? names.part1 : names.number;
      outcome.grid_row = 0;
    }
  }
  // The numbers are in the pool now, whatever layout the image came in.
  target.ShortLayout = false;
}

}  // namespace vyn
