// The field texts of any image: every field's value shown and stored back changes no byte
// outside the field, and a second round of showing and storing changes nothing more.

#include <algorithm>
#include <cstdint>

#include "core/image/field_catalogue.h"
#include "core/image/field_values.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vyn;
  fuzz::Input input(data, size);
  const bool short_layout = input.Byte() & 1;
  const std::string rest = input.Rest();
  ParameterImage image{};
  std::copy_n(rest.begin(), std::min(rest.size(), image.size()), image.begin());

  for (const FieldInfo& field : FieldCatalogue()) {
    const std::string text = FieldValueText(image, field, short_layout);
    ParameterImage stored = image;
    if (ParseFieldValue(stored, field, text) != FieldParseResult::kOk) continue;
    const auto begin = static_cast<long>(field.address);
    const auto end = static_cast<long>(field.last()) + 1;
    FUZZ_CHECK_THAT(std::equal(stored.begin(), stored.begin() + begin, image.begin()) &&
                        std::equal(stored.begin() + end, stored.end(), image.begin() + end),
                    field.name + " changed a byte outside its field");
    // Showing and storing again does not drift: the stored bytes are a fixed point. The duplex
    // forms go through logarithms and three decimals and may move by a thousandth each round.
    if (field.encoding == FieldEncoding::kDuplex) continue;
    const std::string again = FieldValueText(stored, field, short_layout);
    ParameterImage twice = stored;
    FUZZ_CHECK_THAT(
        ParseFieldValue(twice, field, again) == FieldParseResult::kOk && twice == stored,
        field.name + ": '" + text + "' stored shows '" + again + "'");
  }
  // The load checks name only addresses of the image.
  for (const InvalidByte& bad :
       ValidateImage(image, [](const FieldInfo&, std::uint8_t code) { return code < 5; })) {
    FUZZ_CHECK(bad.address >= 0 && bad.address < static_cast<int>(kImageSize));
    FUZZ_CHECK(bad.field != nullptr);
  }
  return 0;
}
