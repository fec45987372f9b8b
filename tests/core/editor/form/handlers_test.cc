// The entry checks and the handlers of the alarm sources, sequences and call numbers pages.

#include "core/editor/form/handlers.h"

#include "core/strings/message_ids.h"
#include "core/editor/form/editor_fixture.h"

namespace vyn::testing {
namespace {

using HandlersTest = EditorFixture;

TEST_F(HandlersTest, RangeCheckCorrectsWhileTheUserTypes) {
  const std::string message = "Eingegebener Wert muss zwischen 0 und 255 liegen.";
  const struct {
    const char* typed;
    const char* shown;
    bool box;
  } cases[] = {
      {"300", "255", true}, {"25a", "0", true}, {"a", "0", true},       {"-1", "0", true},
      {"255", "255", false}, {"", "", false},   {"007", "007", false}, {"99999999999", "255", true},
  };
  for (const auto& c : cases) {
    Type("edtRepeatSequence", c.typed);
    EXPECT_EQ(Get("edtRepeatSequence").text(), c.shown) << c.typed;
    EXPECT_EQ(TakeBoxes(), c.box ? std::vector<std::string>{message} : std::vector<std::string>{})
        << c.typed;
  }
  // An empty box stores 0.
  Load(DeliveredDefault());
  Type("edtMaxNoCallAttempts", "");
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(data_.WorkingImage[0x0BC], 0);
}

TEST_F(HandlersTest, CallAttemptsAreCheckedButNotCorrected) {
  const StringTable velkstrom = StringTable::Builtin()
                                    .WithText(kEditionNameStringId, "Velkstrom")
                                    .WithText(msg::kCallAttemptsRange0To100, "0..100");
  const struct {
    const StringTable* strings;
    const char* typed;
    std::vector<std::string> boxes;
  } cases[] = {
      {&StringTable::Builtin(), "256", {"Eingegebener Wert muss zwischen 0 und 255 liegen."}},
      {&StringTable::Builtin(), "101", {}},
      {&StringTable::Builtin(), "x", {}},  // not a number reads as 0
      {&velkstrom, "101", {"0..100"}},
      {&velkstrom, "100", {}},
  };
  for (const auto& c : cases) {
    Build(*c.strings);
    Type("edtCallAttemptsN", c.typed);
    EXPECT_EQ(Get("edtCallAttemptsN").text(), c.typed);
    EXPECT_EQ(TakeBoxes(), c.boxes) << c.typed;
  }
}

TEST_F(HandlersTest, UpDownStepsItsBoxWithoutWrapping) {
  Load(DeliveredDefault());
  EXPECT_EQ(Get("udCallAttemptsA").position(), 3);
  Step("udCallAttemptsA", 1);
  EXPECT_EQ(Get("edtCallAttemptsA").text(), "4");
  Type("edtCallAttemptsA", "255");
  Step("udCallAttemptsA", 1);
  EXPECT_EQ(Get("edtCallAttemptsA").text(), "255");
  Type("edtRepeatSequence", "0");
  Step("udRepeatSequence", -1);
  EXPECT_EQ(Get("edtRepeatSequence").text(), "0");
  EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(HandlersTest, SeparatorLinesAreSkippedInTheDirectionOfTheMove) {
  // The delivered alarm types hold "--- nur für Funksender ---" at position 12.
  const ChoiceList& list = Get("cbbxAlarmTypePos3").list();
  ASSERT_TRUE(list.Text(12).starts_with("---"));
  Select("cbbxAlarmTypePos3", 5);
  Select("cbbxAlarmTypePos3", 12);  // from above: on to the next item
  EXPECT_EQ(Get("cbbxAlarmTypePos3").item_index(), 13);
  Select("cbbxAlarmTypePos3", 12);  // from below: back to the one before
  EXPECT_EQ(Get("cbbxAlarmTypePos3").item_index(), 11);
  // Every list remembers its own position; loading does not change it.
  Select("cbbxAlarmTypePos4", 12);
  EXPECT_EQ(Get("cbbxAlarmTypePos4").item_index(), 13);
  Load(DeliveredDefault());
  Select("cbbxAlarmTypePos3", 12);
  EXPECT_EQ(Get("cbbxAlarmTypePos3").item_index(), 13);
  // The extra button's list ends before the separator.
  EXPECT_EQ(Get("cbbxAlarmTypeExtraButton").list().Count(), 12);
}

TEST_F(HandlersTest, SupervisionBoxesTellTheUserOnClicksOnly) {
  ParameterImage image = DeliveredDefault();
  image[0x0B0] = 0x05;
  Load(image);
  EXPECT_TRUE(TakeBoxes().empty());
  EXPECT_TRUE(Get("cbTestRadioPos3").checked());
  Click("cbTestRadioPos2", true);
  Click("cbTestRadioPos3", false);
  const std::vector<std::string> boxes = TakeBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(boxes[0].starts_with("Sie haben die Überwachung auf Testalarm für die Funksender "
                                   "Position 2 eingeschaltet."));
  EXPECT_TRUE(boxes[1].starts_with("Sie haben die Überwachung auf Testalarm für die Funksender "
                                   "Position 3 ausgeschaltet."));
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(data_.WorkingImage[0x0B0], 0x03);

  // Outside the KEMB editions the byte is not the supervision bits and is left alone.
  Build(StringTable::Builtin().WithText(kEditionNameStringId, "Velkstrom"));
  EXPECT_FALSE(Get("lblRadioTestAlarm").visible());
  Load(image);
  Click("cbTestRadioPos2", true);
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(data_.WorkingImage[0x0B0], 0x05);
}

TEST_F(HandlersTest, TransmitterCodesAndTheDuplicateCheck) {
  Load(DeliveredDefault());
  EXPECT_EQ(Get("edtRadioPos1").text(), "");
  EXPECT_FALSE(edtCheck_RepeatedRadio_ID(Form()));
  Type("edtRadioPos2", "1A2B");
  Type("edtRadioPos7", "1a2b");
  EXPECT_TRUE(edtCheck_RepeatedRadio_ID(Form()));
  Type("edtRadioPos7", "1A2C");
  EXPECT_FALSE(edtCheck_RepeatedRadio_ID(Form()));
  Type("edtRadioPos1", "12");
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(data_.WorkingImage[0x000], 0x12);
  EXPECT_EQ(data_.WorkingImage[0x001], 0x00);
  EXPECT_EQ(data_.WorkingImage[0x002], 0x1A);
  EXPECT_EQ(data_.WorkingImage[0x003], 0x2B);
}

TEST_F(HandlersTest, KeyFiltersOfTheBoxes) {
  EXPECT_EQ(Get("edtRadioPos1").key_filter(), KeyFilter::kRadio);
  EXPECT_EQ(Get("edtLocationCode1").key_filter(), KeyFilter::kRadio);
  EXPECT_EQ(Get("edtAlarmCodeV").key_filter(), KeyFilter::kAlarmCode);
  EXPECT_TRUE(KeyAccepted(KeyFilter::kRadio, 'f'));
  EXPECT_FALSE(KeyAccepted(KeyFilter::kRadio, 'g'));
  EXPECT_TRUE(KeyAccepted(KeyFilter::kAlarmCode, 'a'));
  EXPECT_FALSE(KeyAccepted(KeyFilter::kAlarmCode, 'C'));
  EXPECT_TRUE(KeyAccepted(KeyFilter::kAlarmCode, 8));  // backspace
}

TEST_F(HandlersTest, LocationCodesAndAlarmSourceBoxes) {
  Build(StringTable::Builtin().WithText(kEditionNameStringId, "KEMB UK"));
  EXPECT_TRUE(Get("edtLocationCode1").visible());
  EXPECT_EQ(Get("lblLocationPos8").caption(), "Location pos. 8");
  ParameterImage image = DeliveredDefault();
  image[0x4F0] = 255;
  image[0x097] = 0x8E;  // mains failure: active, other bits set
  image[0x0DF] = 0x00;
  Load(image);
  EXPECT_EQ(Get("edtLocationCode1").text(), "255");
  EXPECT_TRUE(Get("cbMainsFailure").checked());
  Type("edtLocationCode2", "1F");
  Click("cbMainsFailure", false);
  Click("cbInactivity", true);
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(data_.WorkingImage[0x4F0], 255);
  EXPECT_EQ(data_.WorkingImage[0x4F1], 0);
  EXPECT_EQ(data_.WorkingImage[0x097], 0x0E);
  EXPECT_EQ(data_.WorkingImage[0x0DF], 0x80);
}

TEST_F(HandlersTest, ListBytesNoItemHasAreReportedAndKept) {
  ParameterImage image = DeliveredDefault();
  image[0x0A9] = 99;  // transmitter 2's alarm type
  image[0x07F] = 7;   // sequence 4, step 4
  EXPECT_EQ(Load(image), 0x07F);  // the last invalid value in load order
  EXPECT_EQ(Get("cbbxAlarmTypePos2").item_index(), -1);
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(data_.WorkingImage[0x0A9], 99);
  EXPECT_EQ(data_.WorkingImage[0x07F], 7);
  // A choice of the user is stored.
  Select("cbbxAlarmTypePos2", 2);
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(data_.WorkingImage[0x0A9], 2);
}

TEST_F(HandlersTest, CaptionsHintsAndOptionalControls) {
  EXPECT_EQ(Get("lblRadioPos3").caption(), "Funk pos. 3");
  EXPECT_EQ(Get("lblAlarmTypePos8").caption(), "Alarmtyp pos. 8");
  EXPECT_EQ(Get("gbxSequence4").caption(), "Sequenz 4");
  EXPECT_EQ(Get("lblTelephoneNumberRedirection").caption(), "Telefonnr./SIP URI U");
  EXPECT_EQ(Get("lblProtocolNightMode").caption(), "Protokoll N");
  EXPECT_EQ(Get("cbbxExternalAlarms").hint(),
            "Die Gruppe Externe Alarme beinhaltet:\nTüralarm und Bettalarm.");
  EXPECT_EQ(Get("btnReceive1").caption(), "...");
  EXPECT_FALSE(Get("cbReminder").visible());  // 13608 is absent in this build
  EXPECT_TRUE(Get("cbPassive").visible());
  EXPECT_FALSE(Get("edtLocationCode1").visible());
  EXPECT_EQ(Get("cbbxLineVolume1").drop_down_lines(), 9);
  EXPECT_EQ(Get("edtTelephoneNoA").max_length(), 100);
}

}  // namespace
}  // namespace vyn::testing
