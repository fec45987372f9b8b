#pragma once

// The telephone numbers of the full layout: each number slot (0x010-0x03F) names an entry of
// the NumberPool (0x600-0x76F), which holds the numbers as a length byte and the characters,
// one after the other.

#include <array>
#include <cstdint>
#include <string>

#include "core/image/parameter_image.h"

namespace vyn {

inline constexpr std::uint8_t kNoNumberIndex = 0xFF;
inline constexpr std::uint8_t kEmptyDialByte = 0xAA;

// Where the next entry goes while the numbers are stored.
struct NumberPool {
  int position = 0x600;
  std::uint8_t next_index = 0;
};

enum class PoolStoreResult { kStored, kOverflow };

// Stores `text` for the slot at `slot_address`. An empty text marks the slot 0xFF. A text is
// stored only when its entry and the 0 byte after it stay inside the pool, i.e. while
// position + length + 1 is below 0x770, so nothing is ever written at the FTP server field
// that follows the pool; a text longer than a length byte can count (255) does not fit
// either. A text that does not fit leaves the slot and the pool as they were.
PoolStoreResult PoolStore(ParameterImage& image, const std::string& text, int slot_address,
                          NumberPool& pool);

// The text of entry `index`; empty for 0xFF or an index the pool does not hold. Never reads
// past the pool, whatever its bytes are.
std::string PoolFetch(const ParameterImage& image, std::uint8_t index);

using NumberTexts = std::array<std::string, 6>;  // A, B, C, D, N, V

// Store result 1 of the editor's conversion is the pool overflow.
enum class NumberStoreResult { kOk = 0, kPoolOverflow = 1 };

// Fills 0x010-0x06F with 0xAA and the pool with 0, then stores the six numbers in slot order.
// Numbers of protocols 25 and 28 are passed as their joined pair. A number that does not fit
// is skipped and the later ones are still stored; the result tells whether any was skipped.
NumberStoreResult StoreTelephoneNumbers(ParameterImage& image, const NumberTexts& numbers);
// Writes the six alarm codes into 0x040-0x06F (alarm-code dial digits).
void StoreAlarmCodes(ParameterImage& image, const NumberTexts& alarm_codes);
// Both of the above, the numbers first.
NumberStoreResult StoreNumbers(ParameterImage& image, const NumberTexts& numbers,
                               const NumberTexts& alarm_codes);

// The six numbers: fetched from the pool, or in the short layout decoded from the slots'
// dial digits.
NumberTexts FetchNumbers(const ParameterImage& image, bool short_layout);
NumberTexts FetchAlarmCodes(const ParameterImage& image);

// Rewrites a short-layout image's numbers into the pool (the alarm codes stay as they are).
void MoveNumbersIntoPool(ParameterImage& image);

}  // namespace vyn
