#include "core/image/number_pool.h"

#include <algorithm>
#include <span>

#include "core/image/codecs.h"
#include "core/image/field_catalogue.h"

namespace vyn {
namespace {

constexpr int kPoolEnd = kNumberPoolRange.last + 1;  // 0x770
constexpr int kMaxEntryLength = 255;

std::span<const std::uint8_t, 8> Slot(const ParameterImage& image, int address) {
  return std::span<const std::uint8_t, 8>(image.data() + address, 8);
}

}  // namespace

PoolStoreResult PoolStore(ParameterImage& image, const std::string& text, int slot_address,
                          NumberPool& pool) {
  if (text.empty()) {
    image[slot_address] = kNoNumberIndex;
    return PoolStoreResult::kStored;
  }
  const int length = static_cast<int>(text.size());
  if (length > kMaxEntryLength || pool.position + length + 1 >= kPoolEnd) {
    return PoolStoreResult::kOverflow;
  }
  image[slot_address] = pool.next_index++;
  image[pool.position] = static_cast<std::uint8_t>(length);
  std::copy(text.begin(), text.end(), image.begin() + pool.position + 1);
  // position + length + 1 < 0x770, so the end byte is still inside the pool.
  image[pool.position + length + 1] = 0;
  pool.position += length + 1;
  return PoolStoreResult::kStored;
}

std::string PoolFetch(const ParameterImage& image, std::uint8_t index) {
  if (index == kNoNumberIndex) return {};
  int position = kNumberPoolRange.first;
  for (int entry = 0; position < kPoolEnd; ++entry) {
    const int length = image[position];
    if (length == 0) break;
    const int end = std::min(position + 1 + length, kPoolEnd);
    if (entry == index) {
      return std::string(image.begin() + position + 1, image.begin() + end);
    }
    position = end;
  }
  return {};
}

NumberStoreResult StoreTelephoneNumbers(ParameterImage& image, const NumberTexts& numbers) {
  std::fill(image.begin() + kNumberSlotRange.first, image.begin() + kAlarmCodeRange.last + 1,
            kEmptyDialByte);
  std::fill(image.begin() + kNumberPoolRange.first, image.begin() + kNumberPoolRange.last + 1, 0);
  NumberPool pool;
  NumberStoreResult result = NumberStoreResult::kOk;
  for (int i = 0; i < 6; ++i) {
    if (PoolStore(image, numbers[i], kNumberSlotRange.first + 8 * i, pool) ==
        PoolStoreResult::kOverflow) {
      result = NumberStoreResult::kPoolOverflow;
    }
  }
  return result;
}

void StoreAlarmCodes(ParameterImage& image, const NumberTexts& alarm_codes) {
  for (int i = 0; i < 6; ++i) {
    const DialField field = EncodeDialDigits(alarm_codes[i], DialKind::kAlarmCode);
    std::copy(field.begin(), field.end(), image.begin() + kAlarmCodeRange.first + 8 * i);
  }
}

NumberStoreResult StoreNumbers(ParameterImage& image, const NumberTexts& numbers,
                               const NumberTexts& alarm_codes) {
  const NumberStoreResult result = StoreTelephoneNumbers(image, numbers);
  StoreAlarmCodes(image, alarm_codes);
  return result;
}

NumberTexts FetchNumbers(const ParameterImage& image, bool short_layout) {
  NumberTexts numbers;
  for (int i = 0; i < 6; ++i) {
    const int slot = kNumberSlotRange.first + 8 * i;
    numbers[i] = short_layout ? DecodeDialDigits(Slot(image, slot), DialKind::kTelephone)
                              : PoolFetch(image, image[slot]);
  }
  return numbers;
}

NumberTexts FetchAlarmCodes(const ParameterImage& image) {
  NumberTexts codes;
  for (int i = 0; i < 6; ++i) {
    codes[i] = DecodeDialDigits(Slot(image, kAlarmCodeRange.first + 8 * i), DialKind::kAlarmCode);
  }
  return codes;
}

void MoveNumbersIntoPool(ParameterImage& image) {
  const NumberTexts numbers = FetchNumbers(image, true);
  std::array<std::uint8_t, kAlarmCodeRange.size()> codes;
  std::copy(image.begin() + kAlarmCodeRange.first, image.begin() + kAlarmCodeRange.last + 1,
            codes.begin());
  // Six numbers of at most 16 dial digits always fit the pool.
  StoreTelephoneNumbers(image, numbers);
  std::copy(codes.begin(), codes.end(), image.begin() + kAlarmCodeRange.first);
}

}  // namespace vyn
