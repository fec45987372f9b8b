#include "core/reports/record/record_dates.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iomanip>
#include <locale>
#include <sstream>
#include <system_error>

namespace vyn {
namespace {

std::string UserTimeLocaleName() {
  // The order in which the C library chooses the time locale.
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0') return value;
  }
  return "C";
}

std::locale LocaleNamed(const std::string& name) {
  try {
    return std::locale(name.c_str());
  } catch (const std::runtime_error&) {
    return std::locale::classic();
  }
}

bool IsPlainLocale(const std::string& name) {
  if (name == "C" || name == "POSIX" || name.starts_with("C.")) return true;
  // A locale the system does not have is read as the C locale.
  return LocaleNamed(name) == std::locale::classic();
}

CalendarDate LocalDate(std::time_t time) {
  // One thread draws the record; the shared result of localtime is read at once.
  const std::tm* parts = std::localtime(&time);
  if (parts == nullptr) return {};
  return {parts->tm_year + 1900, parts->tm_mon + 1, parts->tm_mday};
}

}  // namespace

LocaleDateTexts::LocaleDateTexts() : LocaleDateTexts(UserTimeLocaleName()) {}

LocaleDateTexts::LocaleDateTexts(std::string locale_name)
    : locale_name_(std::move(locale_name)), plain_(IsPlainLocale(locale_name_)) {}

CalendarDate LocaleDateTexts::Today() const {
  return LocalDate(std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()));
}

std::string LocaleDateTexts::Formatted(const CalendarDate& date, const char* pattern) const {
  std::tm parts{};
  parts.tm_year = date.year - 1900;
  parts.tm_mon = date.month - 1;
  parts.tm_mday = date.day;
  std::ostringstream text;
  text.imbue(plain_ ? std::locale::classic() : LocaleNamed(locale_name_));
  text << std::put_time(&parts, pattern);
  return text.str();
}

std::string LocaleDateTexts::ShortDate(const CalendarDate& date) const {
  return Formatted(date, plain_ ? "%Y-%m-%d" : "%x");
}

std::string LocaleDateTexts::ShortMonthName(int month) const {
  if (month < 1 || month > 12) return {};
  return Formatted({2000, month, 1}, "%b");
}

std::optional<CalendarDate> FileModificationDate(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_time_type written = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  const auto system_time = std::chrono::file_clock::to_sys(written);
  return LocalDate(std::chrono::system_clock::to_time_t(
      std::chrono::time_point_cast<std::chrono::system_clock::duration>(system_time)));
}

}  // namespace vyn
