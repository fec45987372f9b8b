#pragma once

// The dates the printed record shows: today, a file's modification day and the production
// month, in the forms of the user's locale. Tests put fixed ones in their place.

#include <optional>
#include <string>

namespace vyn {

struct CalendarDate {
  int year = 0;
  int month = 0;  // 1-12
  int day = 0;    // 1-31
};

class DateTexts {
 public:
  virtual ~DateTexts() = default;
  virtual CalendarDate Today() const = 0;
  // The locale's short date ("03.05.2024").
  virtual std::string ShortDate(const CalendarDate& date) const = 0;
  // The locale's short month name ("Mai"); `month` is 1-12.
  virtual std::string ShortMonthName(int month) const = 0;
};

// The forms of a named locale, by default the user's time locale (LC_ALL, LC_TIME, LANG).
// In the C or POSIX locale, whose short date is the ambiguous "05/03/24", dates are written
// "2024-05-03"; a locale the system does not have counts as the C locale.
class LocaleDateTexts : public DateTexts {
 public:
  LocaleDateTexts();
  explicit LocaleDateTexts(std::string locale_name);

  CalendarDate Today() const override;
  std::string ShortDate(const CalendarDate& date) const override;
  std::string ShortMonthName(int month) const override;

 private:
  std::string Formatted(const CalendarDate& date, const char* pattern) const;

  std::string locale_name_;
  bool plain_;  // the C locale
};

// The day of the file's last modification in local time; nullopt when it cannot be read.
std::optional<CalendarDate> FileModificationDate(const std::string& path);

}  // namespace vyn
