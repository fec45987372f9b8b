#pragma once

// Handing a file to the desktop: the program the user's desktop associates with the file's
// type opens it (xdg-open).

#include <string>

namespace vyn {

// Starts the desktop's opener for `path` and returns at once; the program it starts runs on
// its own and is never waited for. False when no opener is installed or it could not be
// started; what the opened program does afterwards is not reported.
bool OpenWithAssociatedProgram(const std::string& path);

}  // namespace vyn
