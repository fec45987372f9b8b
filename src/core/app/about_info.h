#pragma once

// The About box's memo lines that do not come from the programming unit: the program's
// description and version, and the lines of the information file "about.ini".

#include <string>
#include <vector>

namespace vyn {

// Values of `Lines` above this are taken as this many: a damaged file must not make the box
// read or show without bound.
inline constexpr int kMaxAboutInfoLines = 1000;

// The description of the build, then "Version: " and the program version ("unknown" when
// there is none).
std::vector<std::string> AboutVersionLines();

// With `Lines` of section Aboutinfo above 0: an empty line and the texts of Line1 to LineN of
// section AboutInfo (empty when missing); otherwise the single line "KEMB Electronics AB". Then
// the texts of WWW and MAIL. Names match without regard to case; a missing file reads as a file
// without `Lines`.
std::vector<std::string> AboutInfoFileLines(const std::string& about_ini_path);

}  // namespace vyn
