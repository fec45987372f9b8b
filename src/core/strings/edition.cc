#include "core/strings/edition.h"

#include <algorithm>

namespace vyn {

std::string EditionName(const StringTable& table) { return table.Text(kEditionNameStringId); }

std::string EditionVariant(const StringTable& table) { return table.Text(kEditionVariantStringId); }

std::string EditionFolderPath(const StringTable& table) {
  return table.Text(kEditionFolderPathStringId);
}

std::string EditionFolderPathPosix(const StringTable& table) {
  std::string path = EditionFolderPath(table);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

bool IsKembGmbH(std::string_view edition_name) { return edition_name == kEditionKembGmbH; }
bool IsKembGmbH(const StringTable& table) { return IsKembGmbH(EditionName(table)); }

bool IsKembUk(std::string_view edition_name) { return edition_name == kEditionKembUk; }
bool IsKembUk(const StringTable& table) { return IsKembUk(EditionName(table)); }

bool IsKembEdition(std::string_view edition_name) {
  return IsKembGmbH(edition_name) || IsKembUk(edition_name);
}
bool IsKembEdition(const StringTable& table) { return IsKembEdition(EditionName(table)); }

bool IsVelkstrom(std::string_view edition_name) { return edition_name == kEditionVelkstrom; }
bool IsVelkstrom(const StringTable& table) { return IsVelkstrom(EditionName(table)); }

bool IsExtendedVariant(std::string_view variant) { return variant == kVariantExtended; }
bool IsExtendedVariant(const StringTable& table) {
  return IsExtendedVariant(EditionVariant(table));
}

}  // namespace vyn
