#pragma once

// The editor's parts of the device flows for callers that hold an image but no pages (vynctl):
// the image stands for the pages.

#include "core/image/field_values.h"
#include "core/image/vyn_data.h"
#include "core/link/device_flows.h"

namespace vyn {

inline constexpr int kTransmitterCodeCount = 8;

// Two of the eight transmitter codes (0x000-0x00F) hold the same non-zero value.
bool HasDuplicateTransmitterCodes(const ParameterImage& image);

// The load validation as the pages apply it: the address of the last byte that is not valid,
// or kLoadOk.
int LastInvalidAddress(const ParameterImage& image, const ListMembership& in_list);

// Store: the image as it is; an image from a 512-byte file moves to the full layout first, its
// telephone numbers into the pool. Load: the load validation against `in_list`. Duplicates:
// the image's transmitter codes. `data` and `in_list` must outlive the hooks.
EditorHooks MakeImageEditorHooks(VynData& data, ListMembership in_list);

}  // namespace vyn
