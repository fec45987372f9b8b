#pragma once

// The codec table: one row per field encoding, indexed by FieldEncoding. A row tells how a
// field's bytes read as a number and how a number is written back, the text the field shows,
// how that text goes back into the bytes, and the range of the value where a field names none
// of its own. vynctl show and diff, the default-configuration generator, the text list and the
// editor's bindings all convert through it; the functions of codecs.h do the work.

#include <string>

#include "core/image/field_catalogue.h"
#include "core/image/parameter_image.h"

namespace vyn {

enum class FieldParseResult {
  kOk,
  kBadValue,     // not of the field's form
  kOutOfRange,   // a number outside the field's range
  kTooLong,      // a text longer than the field's room
  kNotWritable,  // filled by the unit only (versions, the SIM's number)
  kNeedsPool,    // telephone numbers and the pool are stored through the number pool
};

// How the text of a number-valued encoding is written.
enum class NumberSyntax {
  kNone,          // the value is not a number
  kInteger,       // decimal with an optional minus sign
  kIntegerOrHex,  // as kInteger, or "0x" followed by hex digits
  kReal,          // a decimal fraction
};

struct FieldCodec {
  // The value as a number in the unit the field is shown in: whole numbers exactly, volts, the
  // duplex table value, seconds, years; flags and list keys as the stored byte, the LED flag
  // as 1 for any non-zero byte. Null where the value is a text (texts, dial digits, transmitter
  // codes, addresses, versions, the pool).
  double (*read)(const ParameterImage& image, const FieldInfo& field);
  // Stores a number that has passed the field's range; false when the encoding cannot hold it
  // (a tenth-volt value above 7.5, a negative duplex time). Applies the storing rules: the LED
  // flag writes 0x80 for on, DiallingInSpeaker 1 for any non-zero key, seconds become units of
  // 10 s, years lose 2000. Null where `read` is.
  bool (*write)(ParameterImage& image, const FieldInfo& field, double value);
  // The field's text as the editor's box shows it and the text list prints it; telephone
  // numbers come from the pool, or from the slot's dial digits in the short layout.
  std::string (*text)(const ParameterImage& image, const FieldInfo& field, bool short_layout);
  // The text back into the field's bytes; nothing is written unless the result is kOk. For
  // numbers: `syntax`, then the field's range (whole numbers), then `write`.
  FieldParseResult (*parse)(ParameterImage& image, const FieldInfo& field, const std::string& text);
  NumberSyntax syntax;
  // The range of the value where a field names none of its own.
  long long min_value;
  long long max_value;
  // The text is a plain number (a JSON number in vynctl show).
  bool number_text;
  // Where the text would not read back to the same bytes, the field's text form is its raw
  // bytes ("0x..."), which the parse takes back as they are. Not for texts, where "0x41" is a
  // text like any other, nor for fields the tool does not write from text.
  bool raw_form;
};

const FieldCodec& CodecFor(FieldEncoding encoding);
inline const FieldCodec& CodecOf(const FieldInfo& field) { return CodecFor(field.encoding); }

// Whether a number of the field's value lies within the field's range.
bool FieldValueInRange(const FieldInfo& field, double value);

}  // namespace vyn
