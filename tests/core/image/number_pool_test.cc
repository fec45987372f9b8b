#include "core/image/number_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/image/codecs.h"

namespace vyn {
namespace {

constexpr int kSlot[6] = {0x010, 0x018, 0x020, 0x028, 0x030, 0x038};

bool SlotTailIsEmpty(const ParameterImage& image, int slot) {
  return std::all_of(image.begin() + slot + 1, image.begin() + slot + 8,
                     [](std::uint8_t b) { return b == 0xAA; });
}

// The image before a store: something in every byte, so that stray writes show.
ParameterImage Filled() {
  ParameterImage image;
  image.fill(0x5A);
  return image;
}

TEST(NumberPoolTest, SixEmptyNumbersMarkEverySlotAndLeaveThePoolEmpty) {
  ParameterImage image = Filled();
  EXPECT_EQ(StoreNumbers(image, {}, {}), NumberStoreResult::kOk);
  for (int slot : kSlot) {
    EXPECT_EQ(image[slot], 0xFF) << slot;
    EXPECT_TRUE(SlotTailIsEmpty(image, slot)) << slot;
  }
  EXPECT_TRUE(std::all_of(image.begin() + 0x040, image.begin() + 0x070,
                          [](std::uint8_t b) { return b == 0xAA; }));
  EXPECT_TRUE(std::all_of(image.begin() + 0x600, image.begin() + 0x770,
                          [](std::uint8_t b) { return b == 0; }));
  EXPECT_EQ(image[0x00F], 0x5A);
  EXPECT_EQ(image[0x070], 0x5A);
  EXPECT_EQ(image[0x770], 0x5A);
}

TEST(NumberPoolTest, NumbersBAndDTakeTheFirstTwoEntries) {
  ParameterImage image = Filled();
  ASSERT_EQ(StoreTelephoneNumbers(image, {"", "0049301234", "", "112", "", ""}),
            NumberStoreResult::kOk);
  EXPECT_EQ(image[0x010], 0xFF);
  EXPECT_EQ(image[0x018], 0);
  EXPECT_EQ(image[0x020], 0xFF);
  EXPECT_EQ(image[0x028], 1);
  EXPECT_TRUE(SlotTailIsEmpty(image, 0x018));
  EXPECT_TRUE(SlotTailIsEmpty(image, 0x028));
  EXPECT_EQ(image[0x600], 10);
  EXPECT_EQ(std::string(image.begin() + 0x601, image.begin() + 0x60B), "0049301234");
  EXPECT_EQ(image[0x60B], 3);
  EXPECT_EQ(std::string(image.begin() + 0x60C, image.begin() + 0x60F), "112");
  EXPECT_EQ(image[0x60F], 0);

  const NumberTexts numbers = FetchNumbers(image, false);
  EXPECT_EQ(numbers, (NumberTexts{"", "0049301234", "", "112", "", ""}));
}

// A 255-character number takes 0x600-0x6FF; the next entry starts at 0x700 and must end,
// together with the 0 byte after it, before the FTP server field at 0x770.
TEST(NumberPoolTest, StoresANumberOnlyWhileItAndItsEndByteStayInsideThePool) {
  const struct {
    int length;
    bool stored;
  } cases[] = {{109, true}, {110, true}, {111, false}, {200, false}};
  for (const auto& c : cases) {
    ParameterImage image = Filled();
    const std::string second(c.length, '7');
    const NumberStoreResult result =
        StoreTelephoneNumbers(image, {std::string(255, '1'), second, "", "", "", ""});
    EXPECT_EQ(result, c.stored ? NumberStoreResult::kOk : NumberStoreResult::kPoolOverflow)
        << c.length;
    EXPECT_EQ(image[0x018], c.stored ? 1 : 0xAA) << c.length;
    EXPECT_EQ(FetchNumbers(image, false)[1], c.stored ? second : "") << c.length;
    EXPECT_TRUE(std::all_of(image.begin() + 0x770, image.end(), [](std::uint8_t b) {
      return b == 0x5A;
    })) << c.length;
  }
}

TEST(NumberPoolTest, OverflowSkipsTheLongNumberAndStoresALaterShortOne) {
  ParameterImage image = Filled();
  const std::string a(255, '1');
  const std::string c(50, '3');
  EXPECT_EQ(StoreTelephoneNumbers(image, {a, std::string(200, '2'), c, "", "", "4"}),
            NumberStoreResult::kPoolOverflow);
  EXPECT_EQ(image[0x010], 0);
  EXPECT_EQ(image[0x018], 0xAA);  // not stored: the slot keeps its fill
  EXPECT_EQ(image[0x020], 1);
  EXPECT_EQ(image[0x028], 0xFF);
  EXPECT_EQ(image[0x038], 2);
  EXPECT_EQ(FetchNumbers(image, false), (NumberTexts{a, "", c, "", "", "4"}));
}

TEST(NumberPoolTest, RefusesATextLongerThanItsLengthByteCanCount) {
  ParameterImage image = Filled();
  EXPECT_EQ(StoreTelephoneNumbers(image, {std::string(256, '1'), "5", "", "", "", ""}),
            NumberStoreResult::kPoolOverflow);
  EXPECT_EQ(image[0x010], 0xAA);
  EXPECT_EQ(image[0x018], 0);
  EXPECT_EQ(image[0x600], 1);
}

TEST(NumberPoolTest, FetchNeverReadsPastThePool) {
  ParameterImage image{};
  std::fill(image.begin() + 0x600, image.begin() + 0x770, 0xFF);
  image[0x770] = 'X';
  for (int index = 0; index < 0xFF; ++index) {
    EXPECT_EQ(PoolFetch(image, static_cast<std::uint8_t>(index)).find('X'), std::string::npos);
  }
  EXPECT_EQ(PoolFetch(image, 0).size(), 255u);
  EXPECT_EQ(PoolFetch(image, 1).size(), 0x76Fu - 0x700u);  // cut at the pool's end
  EXPECT_EQ(PoolFetch(image, 2), "");
  EXPECT_EQ(PoolFetch(image, kNoNumberIndex), "");
}

TEST(NumberPoolTest, ShortLayoutNumbersAreDecodedInPlaceAndMovedIntoThePool) {
  ParameterImage image{};
  std::fill(image.begin() + 0x010, image.begin() + 0x070, 0xAA);
  const DialField a = EncodeDialDigits("0W123#", DialKind::kTelephone);
  const DialField c = EncodeDialDigits("123", DialKind::kTelephone);
  const DialField code = EncodeDialDigits("1234A", DialKind::kAlarmCode);
  std::copy(a.begin(), a.end(), image.begin() + 0x010);
  std::copy(c.begin(), c.end(), image.begin() + 0x020);
  std::copy(code.begin(), code.end(), image.begin() + 0x040);
  image[0x047] = 0x12;  // behind the end mark: carried as it is

  EXPECT_EQ(FetchNumbers(image, true), (NumberTexts{"0W123#", "", "123", "", "", ""}));
  const ParameterImage before = image;
  MoveNumbersIntoPool(image);
  EXPECT_EQ(FetchNumbers(image, false), (NumberTexts{"0W123#", "", "123", "", "", ""}));
  EXPECT_EQ(image[0x010], 0);
  EXPECT_EQ(image[0x020], 1);
  EXPECT_TRUE(std::equal(image.begin() + 0x040, image.begin() + 0x070, before.begin() + 0x040));
  EXPECT_EQ(FetchAlarmCodes(image)[0], "1234A");
}

TEST(NumberPoolTest, AlarmCodesAreWrittenWithTheAlarmCodeLetters) {
  ParameterImage image{};
  StoreNumbers(image, {}, {"1234A", "", "", "", "", "#*W"});
  const std::uint8_t expected_a[8] = {0x12, 0x34, 0xCA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
  EXPECT_TRUE(std::equal(expected_a, expected_a + 8, image.begin() + 0x040));
  EXPECT_EQ(image[0x048], 0xAA);
  EXPECT_EQ(FetchAlarmCodes(image), (NumberTexts{"1234A", "", "", "", "", "#*W"}));
}

}  // namespace
}  // namespace vyn
