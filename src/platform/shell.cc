#include "platform/shell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace vyn {
namespace {

constexpr std::string_view kOpener = "xdg-open";

// The opener's full path from PATH, found before any fork so that the child only has to exec.
std::string FindOnPath(std::string_view program) {
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const std::size_t colon = folders.find(':');
    std::string folder(folders.substr(0, colon));
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + "/" + std::string(program);
    struct stat info;
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    if (colon == std::string_view::npos) return {};
    folders.remove_prefix(colon + 1);
  }
}

}  // namespace

bool OpenWithAssociatedProgram(const std::string& path) {
  if (path.empty()) return false;
  const std::string opener = FindOnPath(kOpener);
  if (opener.empty()) return false;
  // A relative name that starts with "-" would be read as an option.
  const std::string argument = path.front() == '-' ? "./" + path : path;

  // The exec result travels back through a pipe that closes on a successful exec.
  int status_pipe[2];
  if (pipe2(status_pipe, O_CLOEXEC) != 0) return false;

  // Fork twice: the middle child exits at once, so the opener is adopted by init and never
  // becomes a zombie of the GUI, and the GUI waits only for that short-lived middle child.
  // Between fork and exec only async-signal-safe calls are made.
  const pid_t middle = fork();
  if (middle < 0) {
    close(status_pipe[0]);
    close(status_pipe[1]);
    return false;
  }
  if (middle == 0) {
    setsid();
    const pid_t opener_pid = fork();
    if (opener_pid == 0) {
      const int null_input = open("/dev/null", O_RDONLY);
      if (null_input >= 0) dup2(null_input, STDIN_FILENO);
      char* const argv[] = {const_cast<char*>(opener.c_str()), const_cast<char*>(argument.c_str()),
                            nullptr};
      execv(opener.c_str(), argv);
      const int error = errno;
      [[maybe_unused]] ssize_t ignored = write(status_pipe[1], &error, sizeof error);
      _exit(127);
    }
    if (opener_pid < 0) {
      const int error = errno;
      [[maybe_unused]] ssize_t ignored = write(status_pipe[1], &error, sizeof error);
    }
    _exit(0);
  }

  close(status_pipe[1]);
  int middle_status = 0;
  while (waitpid(middle, &middle_status, 0) < 0 && errno == EINTR) {
  }
  int exec_error = 0;
  ssize_t got;
  do {
    got = read(status_pipe[0], &exec_error, sizeof exec_error);
  } while (got < 0 && errno == EINTR);
  close(status_pipe[0]);
  // Nothing to read: the pipe closed with the exec, so the opener runs.
  return got == 0;
}

}  // namespace vyn
