#include "cli/commands.h"

namespace vyn::cli {

int RunShow(const Args&, std::ostream&, std::ostream& err) {
  err << "vynctl show: not built yet\n";
  return kExitFailure;
}

}  // namespace vyn::cli
