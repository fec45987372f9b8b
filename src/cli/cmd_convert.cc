#include "cli/commands.h"

namespace vyn::cli {

int RunConvert(const Args&, std::ostream&, std::ostream& err) {
  err << "vynctl convert: not built yet\n";
  return kExitFailure;
}

}  // namespace vyn::cli
