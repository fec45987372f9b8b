#include "cli/commands.h"

namespace vyn::cli {

int RunDiff(const Args&, std::ostream&, std::ostream& err) {
  err << "vynctl diff: not built yet\n";
  return kExitFailure;
}

}  // namespace vyn::cli
