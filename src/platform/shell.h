#pragma once

// Handing a file to the desktop: the program the user's desktop associates with the file's
// type opens it (xdg-open). The opener is started without waiting for it; whether it succeeded
// is learnt later, when it ends, through a descriptor that a window's event loop can watch.

#include <optional>
#include <string>

namespace vyn {

// A started opener. `fd` becomes readable when the opener has ended; `watcher` is the child
// process that waits for it and reports its exit status.
struct OpenerLaunch {
  int fd = -1;
  int watcher = -1;
};

// Starts the desktop's opener for `path` and returns at once. Nullopt when no opener is
// installed or no process could be started.
std::optional<OpenerLaunch> StartAssociatedProgram(const std::string& path);

// The opener's outcome once `launch.fd` is readable (waits until then otherwise): true when it
// exited with status 0, so the file was handed to a program. Closes the descriptor and reaps
// the watcher. The opened program itself, once started, runs on its own.
bool FinishAssociatedProgram(const OpenerLaunch& launch);

}  // namespace vyn
