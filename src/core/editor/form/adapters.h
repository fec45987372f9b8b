#pragma once

// The named conversions of the binding rows, in both directions, through the field catalogue
// and the codecs.

#include "core/editor/form/binding.h"
#include "core/image/field_catalogue.h"

namespace vyn {

// The field's bytes into the control; false when the value is one the control cannot show
// and the row reports it (a list byte no item has).
bool LoadRow(const ControlBinding& row, const FieldInfo& field, Control& control,
             const ParameterImage& image);
// The control into the field's bytes. A list without a selection, or a lossy control that
// still shows what LoadControls put there, keeps the bytes the image has.
void StoreRow(const ControlBinding& row, const FieldInfo& field, const Control& control,
              ParameterImage& image);

// Whether the adapter converts through a field of its own row.
bool AdapterHasField(Adapter adapter);

}  // namespace vyn
