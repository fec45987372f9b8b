#pragma once

// Runs a program of the build as a user would (no shell in between) and collects its exit
// code and both output streams. Tests may run in parallel, so nothing here uses fixed paths.

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace vyn::testing_support {

struct ProgramRun {
  int exit_code = -1;  // -1 when the program did not start or ended by a signal
  std::string out;
  std::string err;
};

// `working_directory`, when not empty, is the folder the program starts in.
inline ProgramRun RunProgram(const std::vector<std::string>& argv,
                             const std::string& working_directory = {}) {
  ProgramRun run;
  int out_pipe[2];
  int err_pipe[2];
  if (pipe(out_pipe) != 0) return run;
  if (pipe(err_pipe) != 0) {
    close(out_pipe[0]);
    close(out_pipe[1]);
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err_pipe[1], 2);
  posix_spawn_file_actions_addclose(&actions, out_pipe[0]);
  posix_spawn_file_actions_addclose(&actions, err_pipe[0]);
  if (!working_directory.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, working_directory.c_str());
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out_pipe[1]);
  close(err_pipe[1]);
  if (spawned == 0) {
    pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open_streams = 2;
    while (open_streams > 0) {
      if (poll(fds, 2, -1) < 0) break;
      for (int i = 0; i < 2; ++i) {
        if (fds[i].fd < 0 || fds[i].revents == 0) continue;
        char buffer[4096];
        const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
        if (n > 0) {
          sinks[i]->append(buffer, static_cast<std::size_t>(n));
        } else {
          fds[i].fd = -1;
          --open_streams;
        }
      }
    }
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
  }
  close(out_pipe[0]);
  close(err_pipe[0]);
  return run;
}

// The path of a program built beside the tests.
inline std::string BinPath(const std::string& name) {
  return std::string(VYN_BIN_DIR) + "/" + name;
}

}  // namespace vyn::testing_support
