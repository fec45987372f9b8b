#include "cli/args.h"
#include "cli/commands.h"
#include "cli/image_source.h"
#include "core/image/image_file.h"
#include "core/image/number_pool.h"

namespace vyn::cli {

int RunConvert(const CommandContext& context, const Args& args, std::ostream&, std::ostream& err) {
  std::string error;
  const std::optional<ParsedArgs> parsed = ParseArgs(args, {"-o"}, {}, error);
  if (!parsed || parsed->positional.size() != 1 || !parsed->Has("-o")) {
    return UsageError(context, err, error);
  }
  ParameterImage image{};
  bool short_layout = false;
  if (!LoadImage("convert", parsed->positional[0], image, short_layout, err)) {
    return kExitFailure;
  }
  // Every file written is in the full layout: the short layout's dial-digit numbers move
  // into the pool.
  if (short_layout) MoveNumbersIntoPool(image);
  const std::string out_path = parsed->Option("-o");
  return SaveImage("convert", out_path, image, err) ? kExitOk : kExitFailure;
}

}  // namespace vyn::cli
