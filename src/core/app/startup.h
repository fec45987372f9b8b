#pragma once

// The start-up of the application that is not drawing: the folders the other windows read, the
// settings file and default configuration copied from the installation, the default passwords
// and the default directory from the saved choice or the command line. The main window's
// creation handler calls RunMainWindowStartup; everything it needs from the machine comes in a
// StartupEnvironment, so tests run it against temporary folders.

#include <string>
#include <string_view>
#include <vector>

#include "core/session/session.h"
#include "core/strings/string_table.h"

namespace vyn {

// The names of the delivered files in the installation folder and of their copies in the
// program data folder.
inline constexpr char kInstalledSettingsFileName[] = "Values.i";
inline constexpr char kSettingsFileName[] = "Values.ini";
inline constexpr char kInstalledDefaultConfigurationName[] = "Default.b";
inline constexpr char kDefaultConfigurationName[] = "Default.bin";

// The program's version as written to AppVersion: the project version of the build.
std::string ProgramFileVersion();

// What start-up needs to know about the machine. An empty folder text means "not available".
struct StartupEnvironment {
  std::string data_folder;        // the user's data folder ($XDG_DATA_HOME, ~/.local/share)
  std::string documents_folder;   // the user's documents folder (xdg user-dirs, ~/Documents)
  std::string executable_folder;  // the folder of the running executable
  std::string install_folder;     // the folder holding "Values.i" and "Default.b"
  std::string program_version = ProgramFileVersion();
  std::vector<std::string> arguments;  // the command line after the program name
};

struct StartupResult {
  std::string ProgramDataFolder;  // ends with "/"
  std::string ConfigFolder;       // ends with "/"
  std::string DefaultDirectory;   // no trailing "/"
  std::string SettingsFile;       // ProgramDataFolder + "Values.ini"
  bool SettingsUpdated = false;   // the settings file was replaced after a version change
};

// Copies source_folder/source_name to target_folder/target_name, reading in 2048-byte chunks.
// The target is touched only once the source has been opened and read to its end; the copy
// goes into a temporary file that then replaces the target, so a failed copy leaves an
// existing target as it was. False when the source cannot be opened or read, or the target
// cannot be written.
bool CopyProgramFile(const std::string& source_folder, const std::string& source_name,
                     const std::string& target_name, const std::string& target_folder);

// The default configuration of the program data folder (ending with "/" or not). Start-up
// writes "Default.bin" while the file commands ask for "default.bin"; on a case-sensitive file
// system both must reach one file, so this returns the existing file whatever the case of its
// name ("Default.bin" first), and ProgramDataFolder + "Default.bin" when there is none.
std::string DefaultConfigurationPath(const std::string& program_data_folder);
// "Default.bin" in any case of its letters.
bool IsDefaultConfigurationName(std::string_view name);

// What preparing a program data folder came to.
struct DataFolderPreparation {
  bool ready = false;             // the folder exists and everything it had to receive is in it
  bool settings_updated = false;  // an older settings file was replaced
  std::string problem;            // why it is not ready: the path and the reason
};

// Brings a program data folder into the state the programs need, as start-up does: creates it
// when it is missing (with its parents, 0700), copies the delivered settings file and default
// configuration from `install_folder` with the AppVersion rule, and writes the default passwords
// into a missing or empty password store. Files that are missing from the installation are not
// the folder's fault; a folder that cannot be made or written is.
DataFolderPreparation PrepareProgramDataFolder(const std::string& folder,
                                               const std::string& install_folder,
                                               const std::string& program_version);

// The main window's creation handler without its layout: folders, settings file, default
// configuration, default passwords, default directory. Copy failures are not reported: start-up
// goes on with whatever files exist.
StartupResult RunMainWindowStartup(const StartupEnvironment& env, const StringTable& table);

// Draws the start value of the server exchange's message counter for this run: 0 to 32767.
void SeedMessageCounter(Session& session);

}  // namespace vyn
