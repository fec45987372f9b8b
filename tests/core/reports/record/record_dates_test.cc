#include "core/reports/record/record_dates.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>

#include "support/temp_folder.h"

namespace vyn {
namespace {

TEST(RecordDatesTest, PlainLocalesWriteDatesThatCannotBeMisread) {
  // A locale the system lacks reads as the C locale.
  for (const char* name : {"C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8"}) {
    const LocaleDateTexts dates(name);
    EXPECT_EQ(dates.ShortDate({2024, 5, 3}), "2024-05-03") << name;
    EXPECT_EQ(dates.ShortMonthName(5), "May") << name;
    EXPECT_EQ(dates.ShortMonthName(0), "") << name;
    EXPECT_EQ(dates.ShortMonthName(13), "") << name;
  }
}

TEST(RecordDatesTest, InstalledLocalesUseTheirOwnForms) {
  try {
    std::locale("de_DE.UTF-8");
  } catch (const std::runtime_error&) {
    GTEST_SKIP() << "this machine has no German locale";
  }
  const LocaleDateTexts dates("de_DE.UTF-8");
  EXPECT_EQ(dates.ShortDate({2024, 5, 3}), "03.05.2024");
  EXPECT_EQ(dates.ShortMonthName(5), "Mai");
}

TEST(RecordDatesTest, TodayAndFileDatesAreLocalDays) {
  const std::time_t now = std::time(nullptr);
  const std::tm local = *std::localtime(&now);
  const CalendarDate today = LocaleDateTexts("C").Today();
  EXPECT_EQ(today.year, local.tm_year + 1900);
  EXPECT_EQ(today.month, local.tm_mon + 1);

  testing::TempFolder folder;
  const std::string file = folder.Write("a.Rodid", "x");
  const std::optional<CalendarDate> written = FileModificationDate(file);
  ASSERT_TRUE(written);
  EXPECT_EQ(written->year, today.year);
  EXPECT_FALSE(FileModificationDate(folder.File("missing.Rodid")));
}

}  // namespace
}  // namespace vyn
