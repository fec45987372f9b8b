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

// The text with every control character (0x00-0x1F and 0x7F, line breaks included) replaced by
// "?", as texts from an image are shown and listed: a NUL or ESC from a damaged image must never
// reach a terminal or a report, and a line break must not split a line.
std::string WithoutControlCharacters(std::string text);

// Compares names the way settings files do: ASCII letters without regard to case, every other
// byte exactly.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace vyn
