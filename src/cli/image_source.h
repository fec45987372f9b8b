#pragma once

// What the image commands share: reading a configuration file with the program's message on
// failure, and the address form of their output.

#include <optional>
#include <ostream>
#include <string>

#include "core/image/field_catalogue.h"
#include "core/image/parameter_image.h"
#include "core/settings/vyn_ini.h"

namespace vyn::cli {

// Reads a 2048- or 512-byte file. Otherwise writes "vynctl COMMAND: PATH: ", message 15010 and
// the cause in brackets to `err` and returns false.
bool LoadImage(const std::string& command, const std::string& path, ParameterImage& image,
               bool& short_layout, std::ostream& err);

// Writes the image; otherwise "vynctl COMMAND: PATH: cannot be written (CAUSE)" and false.
bool SaveImage(const std::string& command, const std::string& path, const ParameterImage& image,
               std::ostream& err);

// The settings file at `path` when it can serve the lists: a file that cannot (missing,
// unreadable, too large, no list at all) gives "vynctl COMMAND: settings file PATH: PROBLEM" and
// nullopt; each list section it lacks is named in a note.
std::optional<VynIni> CheckedSettingsFile(const std::string& command, const std::string& path,
                                          std::ostream& err);

// "0x0C2" for one byte, "0x010-0x017" for a wider field.
std::string AddressText(const FieldInfo& field);
std::string AddressText(int address);

}  // namespace vyn::cli
