// vyn-server-sim: the configuration server on loopback UDP. Prints the port it listens on as
// its first line on stdout, then answers every datagram sent there and logs it, flagging every
// way a message breaks the protocol. Ends on SIGTERM or SIGINT, when stdin closes or when its
// parent dies.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "sim/server_sim/server_model.h"
#include "sim/sim_process.h"

namespace {

struct Options {
  vyn::sim::ServerOptions server;
  int port = 46000;
  std::string memory_file;
  std::string log_file;
  bool ignore_stdin = false;
};

const char kUsage[] =
    "usage: vyn-server-sim [options]\n"
    "  --port N               UDP port on 127.0.0.1 (default 46000; 0 takes a free one)\n"
    "  --scenario S           read-ok (default), write-ok, wrong-password, busy-then-idle,\n"
    "                         corrupt-window, silent\n"
    "  --password TEXT        the password the server accepts (default: any)\n"
    "  --unit-after N         status polls before the unit calls (default 2)\n"
    "  --unit-polls N         polls while the unit sends or takes the image (default 2)\n"
    "  --busy-polls N         polls answered Busy before Idle (default 2)\n"
    "  --corrupt-window K     window 0-7 first sent with a wrong check byte (default 3)\n"
    "  --client-port N        source port every message must come from (default 45010;\n"
    "                         0 accepts any)\n"
    "  --memory FILE          the unit's 2048-byte image: served by a read, replaced by a\n"
    "                         write (created with zero bytes if missing; default: in memory)\n"
    "  --log FILE             log every message there instead of stderr, each line after\n"
    "                         the time of the monotonic clock in seconds\n"
    "  --ignore-stdin         keep running when stdin closes\n";

bool ParseInt(const char* text, int& value, int low, int high) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || v < low || v > high) return false;
  value = static_cast<int>(v);
  return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      std::exit(0);
    }
    if (arg == "--ignore-stdin") {
      options.ignore_stdin = true;
      continue;
    }
    const char* v = i + 1 < argc ? argv[++i] : nullptr;
    bool ok = v != nullptr;
    int client_port = 0;
    if (!ok) {
    } else if (arg == "--port") {
      ok = ParseInt(v, options.port, 0, 65535);
    } else if (arg == "--scenario") {
      const auto scenario = vyn::sim::ScenarioNamed(v);
      ok = scenario.has_value();
      if (ok) options.server.scenario = *scenario;
    } else if (arg == "--password") {
      options.server.password = v;
    } else if (arg == "--unit-after") {
      ok = ParseInt(v, options.server.unit_after, 0, 100000);
    } else if (arg == "--unit-polls") {
      ok = ParseInt(v, options.server.unit_transfer_polls, 1, 100000);
    } else if (arg == "--busy-polls") {
      ok = ParseInt(v, options.server.busy_polls, 0, 100000);
    } else if (arg == "--corrupt-window") {
      ok = ParseInt(v, options.server.corrupt_window, 0, 7);
    } else if (arg == "--client-port") {
      ok = ParseInt(v, client_port, 0, 65535);
      options.server.client_port = static_cast<std::uint16_t>(client_port);
    } else if (arg == "--memory") {
      options.memory_file = v;
    } else if (arg == "--log") {
      options.log_file = v;
    } else {
      ok = false;
    }
    if (!ok) {
      std::cerr << "vyn-server-sim: bad option or value: " << arg << (v ? std::string(" ") + v : "")
                << "\n"
                << kUsage;
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return 2;

  // Never outlive the test or shell that started us.
  pid_t parent = 0;
  if (!vyn::sim::FollowParent(parent)) return 0;

  // Without a file the image lives in memory, zero at the start.
  vyn::ParameterImage memory{};
  if (!options.memory_file.empty() && !vyn::sim::LoadImageFile(options.memory_file, memory)) {
    std::cerr << "vyn-server-sim: " << options.memory_file
              << " cannot be created or is not a 2048-byte image file\n";
    return 1;
  }
  std::FILE* log = vyn::sim::OpenLog(options.log_file, "vyn-server-sim");
  if (log == nullptr) return 1;

  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(options.port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::cerr << "vyn-server-sim: cannot listen on UDP port " << options.port << ": "
              << std::strerror(errno) << "\n";
    return 1;
  }

  sigset_t waiting_mask;
  vyn::sim::CatchStopSignals(waiting_mask);

  std::printf("%u\n", static_cast<unsigned>(ntohs(address.sin_port)));
  std::fflush(stdout);

  vyn::sim::ServerModel server(options.server, memory);
  server.on_memory_written = [&] {
    if (!options.memory_file.empty() && !vyn::sim::SaveImageFile(options.memory_file, memory)) {
      std::fprintf(log, "cannot save %s\n", options.memory_file.c_str());
    }
  };
  bool watch_stdin = !options.ignore_stdin;
  std::vector<std::uint8_t> buffer(65536);

  // Answers one datagram waiting on the socket; false when none was there.
  const auto answer_one = [&] {
    sockaddr_in sender{};
    socklen_t sender_length = sizeof sender;
    const ssize_t n = recvfrom(fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                               reinterpret_cast<sockaddr*>(&sender), &sender_length);
    if (n < 0) return false;
    std::string note;
    const auto answer = server.Answer(std::span(buffer.data(), static_cast<std::size_t>(n)),
                                      ntohs(sender.sin_port), note);
    // Seconds of the monotonic clock, the clock the programmer counts its seconds with.
    const double t =
        std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    std::fprintf(log, "%12.3f %s\n", t, note.c_str());
    std::fflush(log);
    if (answer) {
      sendto(fd, answer->data(), answer->size(), 0, reinterpret_cast<sockaddr*>(&sender),
             sender_length);
    }
    return true;
  };

  while (!vyn::sim::g_stop_requested && getppid() == parent) {
    const timespec timeout{0, 200'000'000};  // wake now and then to notice a dead parent
    pollfd fds[2] = {{fd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    const int r = ppoll(fds, watch_stdin ? 2 : 1, &timeout, &waiting_mask);
    if (r < 0 && errno != EINTR) break;
    if (r > 0 && watch_stdin && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
      char discard[256];
      if (read(STDIN_FILENO, discard, sizeof discard) <= 0) break;  // stdin closed: done
    }
    if (r > 0 && (fds[0].revents & POLLIN) != 0) answer_one();
  }
  // A client's last message (its "Config load OK", say) may still wait when the stop comes
  // right after the client ended: it is taken into the log and the figures before the end.
  while (answer_one()) {
  }
  std::fprintf(log, "%zu violations, %d exchanges completed, %d cancelled\n",
               server.violations().size(), server.completed(), server.cancelled());
  close(fd);
  if (log != stderr) std::fclose(log);
  return 0;
}
