#include "core/app/about_info.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "core/app/startup.h"
#include "core/settings/profile_file.h"

namespace vyn {
namespace {

constexpr std::string_view kLinesSection = "Aboutinfo";
constexpr std::string_view kTextSection = "AboutInfo";
constexpr char kMakerLine[] = "KEMB Electronics AB";

// The leading whole number of the text, as the Windows profile reader takes it (0 when there
// is none); values beyond the cap count as the cap.
int LineCount(std::string_view text) {
  long long value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error == std::errc::result_out_of_range) return text.front() == '-' ? 0 : kMaxAboutInfoLines;
  if (error != std::errc() || end == first) return 0;
  return static_cast<int>(std::clamp<long long>(value, 0, kMaxAboutInfoLines));
}

}  // namespace

std::vector<std::string> AboutVersionLines() {
  const std::string version = ProgramFileVersion();
  return {VYN_DESCRIPTION, "Version: " + (version.empty() ? std::string("unknown") : version)};
}

std::vector<std::string> AboutInfoFileLines(const std::string& about_ini_path) {
  const ProfileFile file(about_ini_path);
  const int count = LineCount(file.ReadString(kLinesSection, "Lines"));
  // One read of the section for all its keys.
  const ProfileSection texts = file.ReadSection(kTextSection).value_or(ProfileSection());
  std::vector<std::string> lines;
  if (count > 0) {
    lines.emplace_back();
    for (int n = 1; n <= count; ++n) lines.push_back(texts.Value("Line" + std::to_string(n)));
  } else {
    lines.emplace_back(kMakerLine);
  }
  lines.push_back(texts.Value("WWW"));
  lines.push_back(texts.Value("MAIL"));
  return lines;
}

}  // namespace vyn
