#include <algorithm>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/image_source.h"
#include "core/image/field_catalogue.h"
#include "core/image/field_values.h"
#include "core/settings/text_encoding.h"

namespace vyn::cli {
namespace {

struct Side {
  ParameterImage image{};
  bool short_layout = false;
};

bool SameBytes(const Side& a, const Side& b, const FieldInfo& field) {
  return std::equal(a.image.begin() + field.address, a.image.begin() + field.last() + 1,
                    b.image.begin() + field.address);
}

}  // namespace

int RunDiff(const CommandContext& context, const Args& args, std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<ParsedArgs> parsed = ParseArgs(args, {}, {}, error);
  if (!parsed || parsed->positional.size() != 2) return UsageError(context, err, error);
  Side a, b;
  if (!LoadImage("diff", parsed->positional[0], a.image, a.short_layout, err) ||
      !LoadImage("diff", parsed->positional[1], b.image, b.short_layout, err)) {
    return kExitFailure;
  }
  int differences = 0;
  for (const FieldInfo& field : FieldCatalogue()) {
    // The numbers are compared as texts through their slots, whatever the layout and the
    // arrangement of the pool.
    if (field.alternate || field.encoding == FieldEncoding::kNumberPool) continue;
    const std::string value_a = FieldValueText(a.image, field, a.short_layout);
    const std::string value_b = FieldValueText(b.image, field, b.short_layout);
    const bool same = field.encoding == FieldEncoding::kTelephoneSlot ? value_a == value_b
                                                                      : SameBytes(a, b, field);
    if (same) continue;
    out << AddressText(field) << " " << field.name << ": " << WithoutControlCharacters(value_a)
        << " -> " << WithoutControlCharacters(value_b) << "\n";
    ++differences;
  }
  for (int address = 0; address < static_cast<int>(kImageSize); ++address) {
    if (FieldAt(address) || a.image[address] == b.image[address]) continue;
    out << AddressText(address) << ": " << int{a.image[address]} << " -> " << int{b.image[address]}
        << "\n";
    ++differences;
  }
  return differences == 0 ? kExitOk : kExitDifferent;
}

}  // namespace vyn::cli
