#include <filesystem>
#include <system_error>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/image_source.h"
#include "core/image/vyn_data.h"
#include "core/reports/text_list.h"
#include "core/strings/string_table.h"

namespace vyn::cli {

// The list as the editor writes it for a configuration opened from FILE: the header names the
// file's full path and the list goes beside it as FILE.txt unless -o names another place.
int RunTextList(const CommandContext& context, const Args& args, std::ostream& out,
                std::ostream& err) {
  std::string error;
  const std::optional<ParsedArgs> parsed = ParseArgs(args, {"-o"}, {}, error);
  if (!parsed || parsed->positional.size() != 1) return UsageError(context, err, error);
  const std::string& file = parsed->positional[0];
  VynData data;
  if (!LoadImage("textlist", file, data.WorkingImage, data.ShortLayout, err)) return kExitFailure;
  data.Origin = ImageOrigin::OpenedFile;
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
  data.FileName = ec ? file : absolute.lexically_normal().string();

  const std::string path =
      parsed->Has("-o") ? parsed->Option("-o") : TextListFileName(data, std::string());
  // The list must never take the place of the configuration it describes.
  if (std::filesystem::equivalent(file, path, ec)) {
    err << "vynctl textlist: " << path << ": is the configuration file itself\n";
    return kExitUsage;
  }
  if (WriteTextListTo(data, StringTable::Builtin(), path) != TextListStatus::kWritten) {
    err << "vynctl textlist: " << path << ": cannot be written\n";
    return kExitFailure;
  }
  out << path << "\n";
  return kExitOk;
}

}  // namespace vyn::cli
