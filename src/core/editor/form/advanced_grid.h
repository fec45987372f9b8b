#pragma once

// The advanced page's grid sgAdvanced: built from the settings file, shown from the image and
// stored back row by row, the grid row number deciding the field and its conversion.

#include <string>

#include "core/editor/form/binding.h"

namespace vyn {

inline constexpr char kAdvancedGrid[] = "sgAdvanced";
inline constexpr int kAdvancedValueColumn = 2;

// Creation: the header row and one row per "Addr_n" entry of "ValueAdvanced".
void BuildAdvancedGrid(EditorForm& form, const VynIni& settings);
// LoadControls' part: the value column from the image.
void LoadAdvancedGrid(EditorContext& context, const VynData& data, LoadReport& report);
// StoreControls' part: every row into the target. A value outside its range gives result 2 or
// 3 and the store goes on; a text that is not a number ends the store with the conversion
// error.
void StoreAdvancedGrid(EditorContext& context, VynData& target, StoreOutcome& outcome);

// sgAdvancedSelectCell: whether the in-place editor may edit the cell.
bool sgAdvancedSelectCell(const EditorState& state, int column, int row);
// sgAdvancedGetEditMask: "000" for the value cells of rows 1-3 and 5-10, else none.
std::string sgAdvancedGetEditMask(int column, int row);

}  // namespace vyn
