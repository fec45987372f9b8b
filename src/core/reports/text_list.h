#pragma once

// The text list: every parameter of a configuration as one line of plain text with its device
// address, a padded label, the value and often a legend of the allowed values. Service staff
// read it as the catalogue of the unit's memory; its line layout is a file format, so every
// character of it is fixed.
//
// The list is written from an image that the editor has just stored its pages into. The values
// the editor would take from its boxes are formed here from the image through the same codecs
// the editor loads its boxes with, so both give the same text. The lines are rows over the
// field catalogue: addresses, ranges and most labels come from there.

#include <string>
#include <string_view>
#include <vector>

#include "core/image/field_catalogue.h"
#include "core/image/vyn_data.h"
#include "core/strings/string_table.h"

namespace vyn {

// The bytes of the file: 8-bit text (Windows-1252), every line ended by CR LF. The edition
// (KEMB GmbH and KEMB UK or any other) and the build's texts come from `strings`.
std::string TextListContent(const VynData& data, const StringTable& strings);

// A line of the list with the catalogue fields it shows: one field, or the four steps on a call
// sequence's line; none where its row names a field the catalogue does not know (such a line
// is not written).
struct TextListLine {
  std::string_view name;  // the field or family the row names
  std::vector<const FieldInfo*> fields;
};
// The field lines in the list's order, for the edition and build of `strings`.
std::vector<TextListLine> TextListLineFields(const StringTable& strings);

// Where the list of `data` goes, by its origin: "Default.txt" in the program data folder for
// the default configuration, the configuration file's name with ".txt" appended for an opened
// or saved file, and for an image read from the unit the last file's name followed by the
// alarm code A in brackets ("(null)" when there is none); without any last file that is a
// name in the current folder, "(1234).txt". `program_data_folder` ends with "/".
std::string TextListFileName(const VynData& data, const std::string& program_data_folder);

enum class TextListStatus {
  kWritten,
  kCannotCreate,  // the file could not be created or replaced; the editor says nothing
};

struct TextListResult {
  TextListStatus status;
  std::string path;
};

// Forms the name and writes the list there, replacing an existing file whole.
TextListResult WriteTextList(const VynData& data, const StringTable& strings,
                             const std::string& program_data_folder);
// Writes the list of `data` to `path`, for callers that choose the name themselves.
TextListStatus WriteTextListTo(const VynData& data, const StringTable& strings,
                               const std::string& path);

}  // namespace vyn
