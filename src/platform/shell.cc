#include "platform/shell.h"

#include <fcntl.h>
#include <signal.h>
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
// The exit status reported for an opener that could not be started or did not exit normally.
constexpr int kOpenerNotStarted = 127;
// Where the watcher keeps its end of the status pipe.
constexpr int kReportFd = 3;

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

std::optional<OpenerLaunch> StartAssociatedProgram(const std::string& path) {
  if (path.empty()) return std::nullopt;
  const std::string opener = FindOnPath(kOpener);
  if (opener.empty()) return std::nullopt;
  // A relative name that starts with "-" would be read as an option.
  const std::string argument = path.front() == '-' ? "./" + path : path;

  // The opener's exit status travels back through a pipe; its end of the pipe closes with it.
  int status_pipe[2];
  if (pipe2(status_pipe, O_CLOEXEC) != 0) return std::nullopt;

  // A watcher child starts the opener in a session of its own and waits for it, so the opener
  // is never a child of the GUI and the GUI only reaps the watcher once the outcome is known.
  // A watcher whose GUI has gone on ends quietly. Between fork and exec only
  // async-signal-safe calls are made.
  const pid_t watcher = fork();
  if (watcher < 0) {
    close(status_pipe[0]);
    close(status_pipe[1]);
    return std::nullopt;
  }
  if (watcher == 0) {
    // The watcher keeps nothing of the GUI open but its end of the pipe (as fd 3): a display
    // connection it held would keep the GUI's windows on the screen after the GUI ended.
    int report = status_pipe[1];
    if (report != kReportFd) {
      dup2(report, kReportFd);
      report = kReportFd;
    }
    if (close_range(kReportFd + 1, ~0U, 0) != 0) {
      for (int fd = kReportFd + 1; fd < 1024; ++fd) close(fd);
    }
    if (status_pipe[0] != kReportFd) close(status_pipe[0]);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, nullptr);
    setsid();
    int status = kOpenerNotStarted;
    const pid_t opener_pid = fork();
    if (opener_pid == 0) {
      close(report);
      const int null_input = open("/dev/null", O_RDONLY);
      if (null_input >= 0) dup2(null_input, STDIN_FILENO);
      char* const argv[] = {const_cast<char*>(opener.c_str()), const_cast<char*>(argument.c_str()),
                            nullptr};
      execv(opener.c_str(), argv);
      _exit(kOpenerNotStarted);
    }
    if (opener_pid > 0) {
      int opener_status = 0;
      while (waitpid(opener_pid, &opener_status, 0) < 0 && errno == EINTR) {
      }
      status = WIFEXITED(opener_status) ? WEXITSTATUS(opener_status) : kOpenerNotStarted;
    }
    [[maybe_unused]] ssize_t ignored = write(report, &status, sizeof status);
    _exit(0);
  }
  close(status_pipe[1]);
  return OpenerLaunch{status_pipe[0], watcher};
}

bool FinishAssociatedProgram(const OpenerLaunch& launch) {
  int status = kOpenerNotStarted;
  ssize_t got;
  do {
    got = read(launch.fd, &status, sizeof status);
  } while (got < 0 && errno == EINTR);
  close(launch.fd);
  int watcher_status = 0;
  while (waitpid(launch.watcher, &watcher_status, 0) < 0 && errno == EINTR) {
  }
  return got == static_cast<ssize_t>(sizeof status) && status == 0;
}

}  // namespace vyn
