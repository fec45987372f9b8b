#pragma once

// Folder names as texts, shared by start-up, the XDG folders and the file commands.

#include <string>

namespace vyn {

// The folder text without trailing separators; the root folder "/" stays "/".
std::string WithoutTrailingSeparator(std::string folder);

}  // namespace vyn
