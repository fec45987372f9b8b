#include "core/link/write_plan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/link/zix_link.h"
#include "fake_unit.h"
#include "scripted_port.h"

namespace vyn {
namespace {

// "M" product data and service values, "P" the unit's password kept, "P?" the password
// decided, "I" the installer areas, "G" the GSM PIN.
std::string Summary(const std::vector<WritePlanStep>& plan) {
  std::string s;
  for (const WritePlanStep& step : plan) {
    std::string tag;
    if (step.range.first == 0x0FD) tag = "M";
    if (step.range.first == 0x440) {
      tag = step.kind == WritePlanStepKind::kDecidePassword ? "P?" : "P";
    }
    if (step.range.first == 0x360) tag = "I";
    if (step.range.first == 0x191) tag = "G";
    if (!tag.empty()) s += (s.empty() ? "" : " ") + tag;
  }
  return s;
}

TEST(WritePlanTest, GroupsByAccessLevelAndFlags) {
  struct Case {
    int level;
    bool firmware_update;
    bool pin_not_entered;
    std::string summary;
  };
  const std::vector<Case> cases = {
      {0, false, false, "M P I"}, {0, false, true, "M P I G"}, {2, false, false, "M P"},
      {3, false, true, "M P G"},  {5, false, false, "M P"},    {4, false, false, "M P?"},
      {4, false, true, "M P? G"}, {4, true, false, "M P"},     {6, false, false, "P?"},
      {6, false, true, "P? G"},   {6, true, false, "P"},
  };
  for (const Case& c : cases) {
    Session session;
    session.AccessLevel = c.level;
    session.FirmwareUpdateActive = c.firmware_update;
    session.PinNotEntered = c.pin_not_entered;
    EXPECT_EQ(Summary(MakeWritePlan(session)), c.summary)
        << "level " << c.level << " firmware " << c.firmware_update << " pin " << c.pin_not_entered;
  }
}

TEST(WritePlanTest, RangesInTheirOrder) {
  Session session;
  session.PinNotEntered = true;
  std::vector<std::pair<int, int>> ranges;
  for (const WritePlanStep& step : MakeWritePlan(session)) {
    ranges.emplace_back(step.range.first, step.range.last);
  }
  const std::vector<std::pair<int, int>> expected = {
      {0x0FD, 0x0FF}, {0x1F0, 0x1F5}, {0x0F7, 0x0FC}, {0x100, 0x102}, {0x149, 0x152},
      {0x160, 0x160}, {0x163, 0x17F}, {0x181, 0x184}, {0x1F7, 0x1F7}, {0x400, 0x43F},
      {0x450, 0x453}, {0x440, 0x44F}, {0x360, 0x3FF}, {0x460, 0x466}, {0x46D, 0x4DF},
      {0x500, 0x5AF}, {0x7A0, 0x7A1}, {0x191, 0x194},
  };
  EXPECT_EQ(ranges, expected);
}

std::vector<std::uint8_t> Password(const char* text, std::uint8_t fill = 0) {
  std::vector<std::uint8_t> field(16, fill);
  std::memcpy(field.data(), text, std::min<std::size_t>(std::strlen(text), 16));
  if (std::strlen(text) < 16) field[std::strlen(text)] = 0;
  return field;
}

TEST(WritePlanTest, PasswordDecision) {
  struct Case {
    std::vector<std::uint8_t> unit, image;
    bool confirmed;
    PasswordDecision decision;
  };
  const std::vector<Case> cases = {
      // Only the text up to its terminator counts.
      {Password("1234", 0xAA), Password("1234", 0x00), false, PasswordDecision::kKeepUnitPassword},
      {Password("1234"), Password("12345"), false, PasswordDecision::kAsk},
      {Password("1234"), Password("12345"), true, PasswordDecision::kWriteImagePassword},
      {Password("ABCDEFGHIJKLMNOP"), Password("ABCDEFGHIJKLMNOP"), false,
       PasswordDecision::kKeepUnitPassword},
      {Password(""), Password("x"), false, PasswordDecision::kAsk},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecidePassword(c.unit, c.image, c.confirmed), c.decision);
  }
}

class RefreshTest : public ::testing::Test {
 protected:
  RefreshTest() : port_(clock_), unit_(port_), link_(port_, clock_) {}
  void SetUp() override {
    ASSERT_EQ(link_.Open(), OpenResult::kOpened);
    image_.fill(0x11);
    std::memcpy(unit_.memory.data() + 0x440, "unit-pw\0", 8);
    std::memcpy(image_.data() + 0x440, "new-pw\0", 7);
  }
  std::string ImagePassword() const { return reinterpret_cast<const char*>(image_.data() + 0x440); }

  FakeClock clock_;
  testing::ScriptedPort port_;
  testing::FakeUnit unit_;
  ZixLink link_;
  ParameterImage image_;
  Session session_;
};

TEST_F(RefreshTest, LevelZeroTakesEveryProtectedRangeFromTheUnit) {
  session_.PinNotEntered = true;
  int asked = 0;
  RefreshProtectedRanges(link_, session_, image_, [&] { return ++asked, true; });
  EXPECT_EQ(asked, 0);
  for (int a :
       {0x0F7, 0x102, 0x160, 0x1F5, 0x1F7, 0x43F, 0x453, 0x3FF, 0x5AF, 0x7A1, 0x191, 0x194}) {
    EXPECT_EQ(image_[a], unit_.memory[a]) << std::hex << a;
  }
  for (int a : {0x000, 0x0F6, 0x103, 0x1F6, 0x454, 0x7A2, 0x195}) {
    EXPECT_EQ(image_[a], 0x11) << std::hex << a;
  }
  EXPECT_EQ(ImagePassword(), "unit-pw");
}

TEST_F(RefreshTest, PasswordQuestionUntilConfirmed) {
  session_.AccessLevel = 4;
  int asked = 0;
  // Cancel: the unit keeps its password, and the next write asks again.
  RefreshProtectedRanges(link_, session_, image_, [&] { return ++asked, false; });
  EXPECT_EQ(ImagePassword(), "unit-pw");
  std::memcpy(image_.data() + 0x440, "new-pw\0", 7);
  RefreshProtectedRanges(link_, session_, image_, [&] { return ++asked, true; });
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(ImagePassword(), "new-pw");
  EXPECT_TRUE(session_.PasswordChangeConfirmed);
  // Once confirmed, the question is not shown again.
  RefreshProtectedRanges(link_, session_, image_, [&] { return ++asked, false; });
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(ImagePassword(), "new-pw");
}

TEST_F(RefreshTest, FirmwareUpdateNeverAsks) {
  session_.AccessLevel = 6;
  session_.FirmwareUpdateActive = true;
  int asked = 0;
  RefreshProtectedRanges(link_, session_, image_, [&] { return ++asked, true; });
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(ImagePassword(), "unit-pw");
  // Level 6 leaves the product data to the image.
  EXPECT_EQ(image_[0x0F7], 0x11);
}

TEST_F(RefreshTest, WriteRangeWithPlanRefreshesEvenForAnEmptyRange) {
  int asked = 0;
  EXPECT_EQ(WriteRangeWithPlan(link_, session_, image_, 1, 0, [&] { return ++asked, true; }),
            LinkResult::kSuccess);
  EXPECT_EQ(image_[0x0F7], unit_.memory[0x0F7]);

  // The unit's protected bytes go back as they were; the rest is the image's.
  image_[0x000] = 0x42;
  image_[0x0F7] = 0x99;
  const std::uint8_t unit_product = unit_.memory[0x0F7];
  EXPECT_EQ(WriteRangeWithPlan(link_, session_, image_, 0, 0x7FF, [&] { return ++asked, true; }),
            LinkResult::kSuccess);
  EXPECT_EQ(unit_.memory[0x000], 0x42);
  EXPECT_EQ(unit_.memory[0x0F7], unit_product);
  EXPECT_EQ(asked, 0);
}

}  // namespace
}  // namespace vyn
