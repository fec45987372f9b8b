#include "cli/args.h"
#include "cli/commands.h"
#include "cli/image_source.h"
#include "core/app/startup.h"
#include "core/image/field_catalogue.h"
#include "core/image/field_values.h"
#include "core/image/list_tables.h"
#include "core/settings/text_encoding.h"
#include "core/settings/vyn_ini.h"

namespace vyn::cli {
namespace {

// Strings in JSON: quotes, backslashes and control characters escaped; bytes above 0x7F
// (texts of the image are not necessarily UTF-8) as \u00XX, so the output is always valid.
std::string JsonString(const std::string& text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

}  // namespace

int RunShow(const CommandContext& context, const Args& args, std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<ParsedArgs> parsed = ParseArgs(args, {"--values"}, {"--json"}, error);
  if (!parsed || parsed->positional.size() != 1) return UsageError(context, err, error);
  ParameterImage image{};
  bool short_layout = false;
  if (!LoadImage("show", parsed->positional[0], image, short_layout, err)) return kExitFailure;
  std::string values_file = parsed->Option("--values");
  if (values_file.empty()) {
    const std::optional<std::filesystem::path> data_folder = PreparedDataFolder(context, err);
    if (!data_folder) return kExitFailure;
    values_file = (*data_folder / kSettingsFileName).string();
  }
  const std::optional<VynIni> checked = CheckedSettingsFile("show", values_file, err);
  if (!checked) return kExitFailure;
  const VynIni& ini = *checked;

  const bool json = parsed->Has("--json");
  if (json) out << "{";
  bool first = true;
  for (const FieldInfo& field : FieldCatalogue()) {
    if (field.alternate) continue;
    const std::string value = FieldTextForm(image, field, short_layout);
    if (json) {
      out << (first ? "\n  " : ",\n  ") << JsonString(field.name) << ": "
          << (FieldTextFormIsNumber(field, value) ? value : JsonString(value));
    } else {
      std::string address = AddressText(field);
      address.resize(13, ' ');
      std::string name = field.name;
      if (name.size() < 40) name.resize(40, ' ');
      // A control character of a damaged image never reaches the terminal.
      out << address << name << " " << WithoutControlCharacters(value) << "\n";
    }
    first = false;
  }
  if (json) out << "\n}\n";

  ListTables lists(ini);
  const std::vector<InvalidByte> invalid = ValidateImage(image, lists.Membership());
  for (const InvalidByte& bad : invalid) {
    err << "vynctl show: byte " << int{bad.value} << " at address " << AddressText(bad.address)
        << " (" << bad.address << ") is not valid for " << bad.field->name << "\n";
  }
  return invalid.empty() ? kExitOk : kExitInvalidList;
}

}  // namespace vyn::cli
