#pragma once

// Runs a simulator of the build for a test with a pipe on its stdin (closing it ends the
// simulator) and reads its first output line: the terminal path of vyn-unit-sim, the port of
// vyn-server-sim. The simulator is always ended when the object goes, also when an assertion
// left the test early: first by closing its stdin, then, if it is still running after two
// seconds, by SIGKILL.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace vyn::testing_support {

class SimProcess {
 public:
  SimProcess(const std::string& name, std::vector<std::string> args) {
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
      const std::string program = VYN_BIN_DIR "/" + name;
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
      first_line_ = line;
      if (!first_line_.empty() && first_line_.back() == '\n') first_line_.pop_back();
    }
    if (from != nullptr) std::fclose(from);
  }
  ~SimProcess() {
    if (pid_ > 0) Stop();
  }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  const std::string& first_line() const { return first_line_; }

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
  std::string first_line_;
};

// vyn-unit-sim; its terminal's path.
class UnitSim : public SimProcess {
 public:
  explicit UnitSim(std::vector<std::string> args) : SimProcess("vyn-unit-sim", std::move(args)) {}
  const std::string& path() const { return first_line(); }
};

// vyn-server-sim; the UDP port it listens on (0 when it did not start).
class ServerSim : public SimProcess {
 public:
  explicit ServerSim(std::vector<std::string> args)
      : SimProcess("vyn-server-sim", std::move(args)) {}
  int port() const { return first_line().empty() ? 0 : std::stoi(first_line()); }
};

}  // namespace vyn::testing_support
