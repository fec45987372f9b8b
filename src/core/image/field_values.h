#pragma once

// A catalogue field's value as text, through the codec table: the text the editor and the text
// list show, the text form vynctl show prints and the default configuration is written in, and
// the load validation of a whole image.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/image/field_catalogue.h"
#include "core/image/field_codec.h"
#include "core/image/parameter_image.h"

namespace vyn {

// The field's value as the editor's box shows it: numbers in decimal, texts as stored, IPv4
// "a.b.c.d", MAC "00-11-22-33-44-55", bit fields "0x8E", timer codes as the raw code,
// tenth-volt "7.5", durations of 10 s units in seconds, years with 2000 added. Telephone numbers
// are fetched from the pool, or decoded from the slot in the short layout.
std::string FieldValueText(const ParameterImage& image, const FieldInfo& field, bool short_layout);
// Whether FieldValueText is a plain number (a JSON number rather than a string).
bool FieldValueIsNumber(const FieldInfo& field);

// The text form: FieldValueText where ParseFieldValue takes it back to the same bytes, else the
// field's raw bytes ("0x00FFFFFF"), which ParseFieldValue takes back as they are. Texts,
// telephone numbers, the pool and the fields the unit fills are always their FieldValueText.
std::string FieldTextForm(const ParameterImage& image, const FieldInfo& field, bool short_layout);
// Whether a text form is a plain number.
bool FieldTextFormIsNumber(const FieldInfo& field, const std::string& text_form);

// Writes `text`, in the display form or (where the field has one) the raw form, into the
// field's bytes. Nothing is written unless the result is kOk.
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

// The checks of a load: every reported list-valued byte against its list, and the values of the
// fields whose range the load checks (TestAlarmInterval, TimeZoneGroup). In address-map order;
// the editor reports the last.
std::vector<InvalidByte> ValidateImage(const ParameterImage& image, const ListMembership& in_list);

}  // namespace vyn
