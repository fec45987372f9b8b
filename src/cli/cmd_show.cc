#include <filesystem>
#include <map>
#include <system_error>
#include <utility>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/image_source.h"
#include "core/image/field_catalogue.h"
#include "core/image/field_values.h"
#include "core/settings/vyn_ini.h"

namespace vyn::cli {
namespace {

// The delivered settings file lies beside the executable under its installed short name.
std::string DeliveredValuesFile() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "Values.i";
  return (exe.parent_path() / "Values.i").string();
}

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

// Reads each list of the settings file once.
class ListTables {
 public:
  explicit ListTables(const VynIni& ini) : ini_(ini) {}

  bool Contains(const FieldInfo& field, std::uint8_t code) {
    const bool stop = field.list_mode == ListMode::kStopAtSeparator;
    auto key = std::make_pair(field.list_section, stop);
    auto it = tables_.find(key);
    if (it == tables_.end()) {
      ChoiceList list;
      std::vector<int> table;
      ini_.FillList(list, field.list_section, table, ListCapacity(field.list_section), stop);
      it = tables_.emplace(std::move(key), std::move(table)).first;
    }
    return VynIni::PositionOfValue(it->second, code) >= 0;
  }

 private:
  const VynIni& ini_;
  std::map<std::pair<std::string, bool>, std::vector<int>> tables_;
};

}  // namespace

int RunShow(const Args& args, std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<ParsedArgs> parsed = ParseArgs(args, {"--values"}, {"--json"}, error);
  if (!parsed || parsed->positional.size() != 1) {
    if (!error.empty()) err << "vynctl show: " << error << "\n";
    err << "usage: vynctl show FILE [--json] [--values VALUES_FILE]\n";
    return kExitUsage;
  }
  ParameterImage image{};
  bool short_layout = false;
  if (!LoadImage("show", parsed->positional[0], image, short_layout, err)) return kExitFailure;
  const VynIni ini(parsed->Option("--values", DeliveredValuesFile()));
  if (!ini.Exists()) {
    err << "vynctl show: settings file " << ini.FileName() << " not found\n";
    return kExitFailure;
  }

  const bool json = parsed->Has("--json");
  if (json) out << "{";
  bool first = true;
  for (const FieldInfo& field : FieldCatalogue()) {
    if (field.alternate) continue;
    const std::string value = FieldValueText(image, field, short_layout);
    if (json) {
      out << (first ? "\n  " : ",\n  ") << JsonString(field.name) << ": "
          << (FieldValueIsNumber(field) ? value : JsonString(value));
    } else {
      std::string address = AddressText(field);
      address.resize(13, ' ');
      std::string name = field.name;
      if (name.size() < 40) name.resize(40, ' ');
      out << address << name << " " << value << "\n";
    }
    first = false;
  }
  if (json) out << "\n}\n";

  ListTables lists(ini);
  const std::vector<InvalidByte> invalid = ValidateImage(
      image,
      [&lists](const FieldInfo& field, std::uint8_t code) { return lists.Contains(field, code); });
  for (const InvalidByte& bad : invalid) {
    err << "vynctl show: byte " << int{bad.value} << " at address " << AddressText(bad.address)
        << " (" << bad.address << ") is not valid for " << bad.field->name << "\n";
  }
  return invalid.empty() ? kExitOk : kExitInvalidList;
}

}  // namespace vyn::cli
