#pragma once

// Conversions between UTF-8, the encoding of every string inside the program, and Windows-1252,
// the code page in which older Windows installations wrote their settings files.

#include <string>
#include <string_view>

namespace vyn {

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or code points above
// U+10FFFF). Plain ASCII is valid UTF-8.
bool IsValidUtf8(std::string_view bytes);

// Every byte is a character of Windows-1252; the five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number, as Windows
// itself decodes them.
std::string Windows1252ToUtf8(std::string_view bytes);

// Characters the code page cannot hold, and malformed UTF-8 sequences, become "?".
std::string Utf8ToWindows1252(std::string_view text);

// Malformed UTF-8 sequences become "?"; valid text is returned unchanged.
std::string RepairUtf8(std::string_view text);

// Compares names the way settings files do: ASCII letters without regard to case, every other
// byte exactly.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace vyn
