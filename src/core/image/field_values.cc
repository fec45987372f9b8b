#include "core/image/field_values.h"

#include <algorithm>
#include <span>

#include "core/image/codecs.h"

namespace vyn {
namespace {

std::span<const std::uint8_t> Bytes(const ParameterImage& image, const FieldInfo& field) {
  return std::span<const std::uint8_t>(image).subspan(field.address, field.width);
}

}  // namespace

std::string FieldValueText(const ParameterImage& image, const FieldInfo& field, bool short_layout) {
  return CodecOf(field).text(image, field, short_layout);
}

bool FieldValueIsNumber(const FieldInfo& field) { return CodecOf(field).number_text; }

std::string FieldTextForm(const ParameterImage& image, const FieldInfo& field, bool short_layout) {
  std::string text = FieldValueText(image, field, short_layout);
  if (!CodecOf(field).raw_form || field.never_written) return text;
  ParameterImage read_back = image;
  if (ParseFieldValue(read_back, field, text) == FieldParseResult::kOk &&
      std::ranges::equal(Bytes(read_back, field), Bytes(image, field))) {
    return text;
  }
  return RawBytesText(Bytes(image, field));
}

bool FieldTextFormIsNumber(const FieldInfo& field, const std::string& text_form) {
  return FieldValueIsNumber(field) && !IsRawBytesText(text_form);
}

FieldParseResult ParseFieldValue(ParameterImage& image, const FieldInfo& field,
                                 const std::string& text) {
  if (field.never_written) return FieldParseResult::kNotWritable;
  const FieldCodec& codec = CodecOf(field);
  if (codec.raw_form && IsRawBytesText(text) &&
      ParseRawBytes(text, std::span<std::uint8_t>(image).subspan(field.address, field.width))) {
    return FieldParseResult::kOk;
  }
  return codec.parse(image, field, text);
}

int TimeZoneGroupFor(int time_zone_value) {
  if (time_zone_value < 2) return 0;
  if (time_zone_value <= 6) return 1;
  if (time_zone_value <= 13) return 2;
  return time_zone_value;
}

std::vector<InvalidByte> ValidateImage(const ParameterImage& image, const ListMembership& in_list) {
  std::vector<InvalidByte> invalid;
  for (const FieldInfo& field : FieldCatalogue()) {
    const std::uint8_t value = image[field.address];
    bool bad = false;
    if (field.encoding == FieldEncoding::kList && field.list_reported && !field.alternate) {
      bad = !in_list(field, value);
    } else if (field.load_checks_range) {
      bad = !FieldValueInRange(field, CodecOf(field).read(image, field));
    }
    if (bad) invalid.push_back({field.address, value, &field});
  }
  return invalid;
}

}  // namespace vyn
