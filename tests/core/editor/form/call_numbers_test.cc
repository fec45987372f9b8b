// The call numbers page: numbers through the pool, the two-part numbers of the protocols 25
// and 28, the row layout that follows the protocol.

#include "core/editor/form/call_numbers.h"
#include "core/image/number_pool.h"
#include "core/editor/form/editor_fixture.h"

namespace vyn::testing {
namespace {

class CallNumbersTest : public EditorFixture {
 protected:
  // The default with the given numbers in the pool and protocol codes for A and B.
  ParameterImage WithNumbers(const NumberTexts& numbers, int protocol_a = 1, int protocol_b = 1) {
    ParameterImage image = DeliveredDefault();
    StoreNumbers(image, numbers, FetchAlarmCodes(image));
    image[0x08A] = static_cast<std::uint8_t>(protocol_a);
    image[0x08B] = static_cast<std::uint8_t>(protocol_b);
    return image;
  }
  NumberTexts Stored() { return FetchNumbers(data_.WorkingImage, false); }
};

TEST_F(CallNumbersTest, PoolOverflowWithThreeAndFourLongNumbers) {
  const std::string hundred(100, '1');
  const struct {
    const char* what;
    NumberTexts numbers;
    StoreResult result;
    NumberTexts stored;
    const char* focus;
  } cases[] = {
      {"three fit", {hundred, hundred, hundred, "", "", ""}, StoreResult::kOk,
       {hundred, hundred, hundred, "", "", ""}, ""},
      {"the fourth does not", {hundred, hundred, hundred, hundred, "", ""},
       StoreResult::kPoolOverflow, {hundred, hundred, hundred, "", "", ""}, "edtTelephoneNoD"},
      {"a shorter one after it still fits",
       {hundred, hundred, hundred, hundred, std::string(63, '2'), ""}, StoreResult::kPoolOverflow,
       {hundred, hundred, hundred, "", std::string(63, '2'), ""}, "edtTelephoneNoD"},
      {"64 characters are one too many",
       {hundred, hundred, hundred, std::string(64, '3'), "", ""}, StoreResult::kPoolOverflow,
       {hundred, hundred, hundred, "", "", ""}, "edtTelephoneNoD"},
  };
  for (const auto& c : cases) {
    Load(DeliveredDefault());
    for (int i = 0; i < kCallRows; ++i) Type(CallRow(i).number, c.numbers[i]);
    const StoreOutcome outcome = Store();
    EXPECT_EQ(outcome.result, c.result) << c.what;
    EXPECT_EQ(outcome.control, c.focus) << c.what;
    EXPECT_EQ(Stored(), c.stored) << c.what;
    EXPECT_EQ(data_.WorkingImage[0x600], 100) << c.what;
    EXPECT_EQ(data_.WorkingImage[0x665], 100) << c.what;
    EXPECT_EQ(data_.WorkingImage[0x6CA], 100) << c.what;
    if (c.result != StoreResult::kOk) {
      EXPECT_EQ(data_.WorkingImage[0x028], 0xAA) << c.what;
    }
  }
}

// A damaged image's pool entry (03 31 00 1B) shows in the box without its control characters.
TEST_F(CallNumbersTest, ControlCharactersOfANumberShowAsQuestionMarks) {
  ParameterImage image = WithNumbers({"5", "", "", "", "", ""});
  const std::uint8_t entry[] = {0x03, 0x31, 0x00, 0x1B};
  std::copy(std::begin(entry), std::end(entry), image.begin() + 0x600);
  Load(image);
  EXPECT_EQ(Get(CallRow(0).number).text(), "1??");
  EXPECT_EQ(Get(CallRow(0).part1).text(), "1??");
}

TEST_F(CallNumbersTest, TwoPartNumbersOfProtocols25And28) {
  EXPECT_EQ(Load(WithNumbers({"0123,456", "0049123", "", "", "", ""}, 25, 28)), kLoadOk);
  EXPECT_EQ(Get("edtTelephoneNoAMptp1").text(), "0123");
  EXPECT_EQ(Get("edtTelephoneNoAMptp2").text(), "456");
  EXPECT_EQ(Get("edtTelephoneNoBMptp1").text(), "0049123");
  EXPECT_EQ(Get("edtTelephoneNoBMptp2").text(), "");
  EXPECT_FALSE(Get("edtTelephoneNoA").visible());
  EXPECT_TRUE(Get("edtTelephoneNoAMptp1").visible());
  EXPECT_TRUE(Get("lblTelephoneNumberADescr").visible());
  EXPECT_FALSE(Get("cbCallBackA").visible());
  EXPECT_TRUE(Get("cbCallBackB").visible());
  EXPECT_TRUE(Get("lblCallBack").visible());
  EXPECT_TRUE(Get("edtTelephoneNoC").visible());
  EXPECT_FALSE(Get("edtTelephoneNoCMptp1").visible());

  // Untouched parts give the number back as loaded: B gains no comma.
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(Stored(), (NumberTexts{"0123,456", "0049123", "", "", "", ""}));

  // Parts the user typed are joined, an empty second part too.
  Type("edtTelephoneNoAMptp2", "");
  Type("edtTelephoneNoBMptp2", "7");
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(Stored(), (NumberTexts{"0123,", "0049123,7", "", "", "", ""}));
  EXPECT_EQ(Get("edtTelephoneNoA").text(), "0123,");
}

TEST_F(CallNumbersTest, AProtocolChangeSwitchesTheBoxesButMovesNoText) {
  Load(WithNumbers({"0301234", "", "", "", "", ""}));
  EXPECT_FALSE(Get("lblCallBack").visible());
  SelectCode("cbbxProtocolA", 28);
  EXPECT_FALSE(Get("edtTelephoneNoA").visible());
  EXPECT_TRUE(Get("edtTelephoneNoAMptp1").visible());
  EXPECT_TRUE(Get("cbCallBackA").visible());
  EXPECT_TRUE(Get("lblCallBack").visible());
  SelectCode("cbbxProtocolA", 25);
  EXPECT_FALSE(Get("cbCallBackA").visible());
  EXPECT_FALSE(Get("lblCallBack").visible());
  SelectCode("cbbxProtocolA", 1);
  EXPECT_TRUE(Get("edtTelephoneNoA").visible());
  EXPECT_FALSE(Get("edtTelephoneNoAMptp2").visible());
  EXPECT_EQ(Get("edtTelephoneNoA").text(), "0301234");

  // Switched to 25 and the parts typed: the parts are what is stored.
  SelectCode("cbbxProtocolA", 25);
  Type("edtTelephoneNoAMptp1", "030");
  Type("edtTelephoneNoAMptp2", "1234");
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(Stored()[0], "030,1234");
  EXPECT_EQ(data_.WorkingImage[0x08A], 25);
}

TEST_F(CallNumbersTest, AProtocolNotInTheListIsNotReportedAndKeepsItsByte) {
  ParameterImage image = WithNumbers({"0301234", "", "", "", "", ""}, 27);
  image[0x467] = 9;  // account code 9 is not in the list either
  EXPECT_EQ(Load(image), kLoadOk);
  EXPECT_EQ(Get("cbbxProtocolA").item_index(), -1);
  EXPECT_EQ(Get("cbbxAccountToUseA").item_index(), -1);
  EXPECT_TRUE(Get("edtTelephoneNoA").visible());
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(data_.WorkingImage[0x08A], 27);
  EXPECT_EQ(data_.WorkingImage[0x467], 9);
  EXPECT_EQ(Stored()[0], "0301234");
}

TEST_F(CallNumbersTest, IdNumbersCallBackBitsAndAttempts) {
  Load(DeliveredDefault());
  Type("edtAlarmCodeA", "1234A");
  Type("edtCallAttemptsB", "7");
  data_.WorkingImage[0x5B8] = 0xC0;  // bits 6 and 7 belong to no row
  Click("cbCallBackC", true);
  ASSERT_EQ(Store().result, StoreResult::kOk);
  const std::uint8_t expected_code[] = {0x12, 0x34, 0xCA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
  EXPECT_TRUE(std::equal(std::begin(expected_code), std::end(expected_code),
                         data_.WorkingImage.begin() + 0x040));
  EXPECT_EQ(data_.WorkingImage[0x0B5], 7);
  EXPECT_EQ(data_.WorkingImage[0x5B8], 0xC4);
}

}  // namespace
}  // namespace vyn::testing
