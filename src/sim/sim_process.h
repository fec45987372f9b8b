#pragma once

// What the simulators share as processes: they never outlive the program that started them,
// end on SIGTERM, SIGINT or SIGHUP, keep the unit's image in a file and log to a file or stderr.

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "core/image/parameter_image.h"

namespace vyn::sim {

inline volatile std::sig_atomic_t g_stop_requested = 0;
inline void OnStopSignal(int) { g_stop_requested = 1; }

// SIGTERM arrives when the parent dies. False when the parent is already gone.
inline bool FollowParent(pid_t& parent) {
  parent = getppid();
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  return getppid() == parent;
}

// The stop signals are blocked except while the main loop waits in ppoll with `waiting_mask`,
// so none is lost between a check of g_stop_requested and the wait. SIGPIPE is ignored.
inline void CatchStopSignals(sigset_t& waiting_mask) {
  sigset_t blocked;
  sigemptyset(&blocked);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&blocked, signal);
  sigprocmask(SIG_BLOCK, &blocked, &waiting_mask);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

// A missing file is created with zero bytes; an existing one must hold exactly 2048 bytes.
inline bool LoadImageFile(const std::string& path, ParameterImage& memory) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    memory.fill(0);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(memory.data()), memory.size());
    return static_cast<bool>(out);
  }
  in.read(reinterpret_cast<char*>(memory.data()), memory.size());
  return in.gcount() == static_cast<std::streamsize>(memory.size()) && in.peek() == EOF;
}

// Replaced in one step, so a reader never sees half an image.
inline bool SaveImageFile(const std::string& path, const ParameterImage& memory) {
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(memory.data()), memory.size());
    if (!out) return false;
  }
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

// The log file, appended to, or stderr when no file is named; null with a message on stderr
// when the file cannot be opened.
inline std::FILE* OpenLog(const std::string& path, const char* program) {
  if (path.empty()) return stderr;
  std::FILE* log = std::fopen(path.c_str(), "a");
  if (log == nullptr) std::cerr << program << ": cannot open log file " << path << "\n";
  return log;
}

}  // namespace vyn::sim
