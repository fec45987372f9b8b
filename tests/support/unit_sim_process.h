#pragma once

// Runs vyn-unit-sim for a test with a pipe on its stdin (closing it ends the simulator) and
// reads the terminal path from its first output line. The simulator is always ended when the
// object goes, also when an assertion left the test early: first by closing its stdin, then,
// if it is still running after two seconds, by SIGKILL.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace vyn::testing_support {

class UnitSim {
 public:
  explicit UnitSim(std::vector<std::string> args) {
    int in[2], out[2];
    if (pipe(in) != 0) return;
    if (pipe(out) != 0) {
      close(in[0]);
      close(in[1]);
      return;
    }
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], STDIN_FILENO);
      dup2(out[1], STDOUT_FILENO);
      close(in[1]);
      close(out[0]);
      const std::string program = VYN_BIN_DIR "/vyn-unit-sim";
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    stdin_ = in[1];
    std::FILE* from = fdopen(out[0], "r");
    char line[256] = {};
    if (from != nullptr && std::fgets(line, sizeof line, from) != nullptr) {
      path_ = line;
      if (!path_.empty() && path_.back() == '\n') path_.pop_back();
    }
    if (from != nullptr) std::fclose(from);
  }
  ~UnitSim() {
    if (pid_ > 0) Stop();
  }
  UnitSim(const UnitSim&) = delete;
  UnitSim& operator=(const UnitSim&) = delete;

  const std::string& path() const { return path_; }

  // Closes its stdin and returns its exit status (-1 if it had to be killed or could not be
  // collected).
  int Stop() {
    if (stdin_ >= 0) close(stdin_);
    stdin_ = -1;
    if (pid_ <= 0) return -1;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (true) {
      const pid_t done = waitpid(pid_, &status, WNOHANG);
      if (done == pid_) break;
      if (done < 0) {
        pid_ = -1;
        return -1;
      }
      if (std::chrono::steady_clock::now() >= deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
        return -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  int stdin_ = -1;
  std::string path_;
};

}  // namespace vyn::testing_support
