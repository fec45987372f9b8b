#pragma once

// A catalogue field's value in its display form: the text vynctl shows and the default
// configuration is written in, and the load validation of a whole image.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/image/field_catalogue.h"
#include "core/image/parameter_image.h"

namespace vyn {

// The field's value as text: numbers in decimal, texts as stored, IPv4 "a.b.c.d", MAC
// "00-11-22-33-44-55", bit fields "0x8E", timer codes as the raw code, tenth-volt "7.5",
// durations of 10 s units in seconds, years with 2000 added. Telephone numbers are fetched
// from the pool, or decoded from the slot in the short layout.
std::string FieldValueText(const ParameterImage& image, const FieldInfo& field, bool short_layout);
// Whether FieldValueText is a plain number (a JSON number rather than a string).
bool FieldValueIsNumber(const FieldInfo& field);

enum class FieldParseResult {
  kOk,
  kBadValue,     // not of the field's form
  kOutOfRange,   // a number outside the field's range
  kTooLong,      // a text longer than the field's room
  kNotWritable,  // filled by the unit only (versions, the SIM's number)
  kNeedsPool,    // telephone numbers and the pool are stored through the number pool
};

// Writes `text`, in the display form, into the field's bytes. Nothing is written unless the
// result is kOk.
FieldParseResult ParseFieldValue(ParameterImage& image, const FieldInfo& field,
                                 const std::string& text);

// TimeZoneGroup written for the time-zone list value v.
int TimeZoneGroupFor(int time_zone_value);

// One byte the load validation does not accept.
struct InvalidByte {
  int address;
  std::uint8_t value;
  const FieldInfo* field;
};

// Whether `code` is a key of the list that feeds `field`.
using ListMembership = std::function<bool(const FieldInfo& field, std::uint8_t code)>;

// The checks of a load: every reported list-valued byte against its list, TestAlarmInterval
// not 0 and TimeZoneGroup within -12..12. In address-map order; the editor reports the last.
std::vector<InvalidByte> ValidateImage(const ParameterImage& image, const ListMembership& in_list);

}  // namespace vyn
