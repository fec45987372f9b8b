#pragma once

// What the image commands share: reading a configuration file with the program's message on
// failure, and the address form of their output.

#include <ostream>
#include <string>

#include "core/image/field_catalogue.h"
#include "core/image/parameter_image.h"

namespace vyn::cli {

// Reads a 2048- or 512-byte file. Otherwise writes "vynctl COMMAND: PATH: " and message 15010
// to `err` and returns false.
bool LoadImage(const std::string& command, const std::string& path, ParameterImage& image,
               bool& short_layout, std::ostream& err);

// "0x0C2" for one byte, "0x010-0x017" for a wider field.
std::string AddressText(const FieldInfo& field);
std::string AddressText(int address);

}  // namespace vyn::cli
