#include "cli/commands.h"

namespace vyn::cli {

int RunStrings(const Args&, std::ostream&, std::ostream& err) {
  err << "vynctl strings: not built yet\n";
  return kExitFailure;
}

}  // namespace vyn::cli
