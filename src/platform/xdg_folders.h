#pragma once

// Where the user's folders are on a freedesktop system: the data folder ($XDG_DATA_HOME), the
// documents folder (xdg user-dirs), the executable's folder and the installation folder that
// holds the delivered "Values.i" and "Default.b". Each rule is a function of its inputs, so
// tests need neither a real home nor a real installation.

#include <string>
#include <string_view>
#include <vector>

#include "core/app/startup.h"
#include "core/strings/string_table.h"

namespace vyn {

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share; empty (not available)
// when neither gives an absolute path. Null pointers stand for unset variables.
std::string DataHomeFolder(const char* xdg_data_home, const char* home);

// Creates a user folder (and its parents) when it is missing: the data home, as the XDG rules
// ask of programs that write there, and the documents folder. A fresh account may have neither
// yet, and without them start-up would fall back to the executable's folder, which an installed
// program cannot write (and must not, when run as root). Every folder made, missing parents
// included, gets 0700 whatever the umask. Returns whether the folder exists afterwards.
bool EnsureUserFolder(const std::string& folder);

// The XDG_DOCUMENTS_DIR entry of a user-dirs.dirs text: "$HOME/..." with $HOME expanded, or
// an absolute path. Empty when the entry is missing or has another form.
std::string DocumentsFolderFromUserDirs(std::string_view user_dirs_text, const std::string& home);

// The documents folder from $XDG_CONFIG_HOME/user-dirs.dirs (default ~/.config), else
// $HOME/Documents; empty without an absolute home.
std::string DocumentsFolder(const char* xdg_config_home, const char* home);

// The executable's folder when it holds "Values.i", else ../share/vyn-programmer beside it when
// that does (the installed layout); the executable's folder when neither does.
std::string InstallationFolder(const std::string& executable_folder);

// The folder of the running executable (/proc/self/exe); the working folder when that cannot
// be read.
std::string ExecutableFolder();

// The program data folder of the user as the desktop programmer uses it: the edition's folder
// below the data home (ending with "/"); empty when there is no data home.
std::string UserProgramDataFolder(const char* xdg_data_home, const char* home,
                                  const StringTable& table);

// Fills the start-up environment from the process's environment and `arguments` (the command
// line after the program name).
StartupEnvironment SystemStartupEnvironment(std::vector<std::string> arguments);

}  // namespace vyn
