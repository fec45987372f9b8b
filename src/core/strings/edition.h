#pragma once

#include <string>
#include <string_view>

#include "core/strings/string_table.h"

namespace vyn {

// The market edition is not configured at run time: three texts of the build's string table
// describe it. Every function takes the table, so tests can play any edition.
inline constexpr int kEditionNameStringId = 15555;
inline constexpr int kEditionVariantStringId = 15556;
inline constexpr int kEditionFolderPathStringId = 15557;

// The fixed names the program compares with; comparisons are exact and case-sensitive.
inline constexpr std::string_view kEditionKembGmbH = "KEMB GmbH";
inline constexpr std::string_view kEditionKembUk = "KEMB UK";
inline constexpr std::string_view kEditionVelkstrom = "Velkstrom";
inline constexpr std::string_view kVariantExtended = "Extended";

std::string EditionName(const StringTable& table);
std::string EditionVariant(const StringTable& table);
// As the table holds it, with backslashes ("\KEMB\VYN IP GSM Programmer (DE)\"): appended to
// the common application-data folder to form the program data folder.
std::string EditionFolderPath(const StringTable& table);
// The same path with "/" separators ("/KEMB/VYN IP GSM Programmer (DE)/").
std::string EditionFolderPathPosix(const StringTable& table);

// "KEMB GmbH" or "KEMB UK": the KEMB layout of the main window, the day-button menu, the
// transmitter supervision boxes and record column.
bool IsKembEdition(std::string_view edition_name);
bool IsKembEdition(const StringTable& table);
bool IsKembGmbH(std::string_view edition_name);
bool IsKembGmbH(const StringTable& table);
// "KEMB UK" alone shows the location codes.
bool IsKembUk(std::string_view edition_name);
bool IsKembUk(const StringTable& table);
bool IsVelkstrom(std::string_view edition_name);
bool IsVelkstrom(const StringTable& table);
// Basic programming uses the extended window exactly when the variant is "Extended".
bool IsExtendedVariant(std::string_view variant);
bool IsExtendedVariant(const StringTable& table);

}  // namespace vyn
