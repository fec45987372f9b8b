// vyn-unit-sim: the Zix programming unit with a VYN IP/GSM unit behind it, on a
// pseudo-terminal. Prints the terminal's path as its first line on stdout, then answers every
// frame written there. Ends on SIGTERM or SIGINT, when stdin closes or when its parent dies.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

#include "sim/sim_process.h"
#include "sim/unit_sim/unit_model.h"

namespace {

using vyn::sim::Bytes;
using Clock = std::chrono::steady_clock;

// One byte at 57600 baud with start bit, 8 data bits and 2 stop bits.
constexpr std::chrono::nanoseconds kByteTime{11'000'000'000LL / 57600};

struct Options {
  vyn::sim::UnitOptions unit;
  int fault_rate = 0;  // percent of answers with a random fault
  unsigned seed = 1;
  std::string stats_file;
  std::string memory_file = "vyn-unit-memory.bin";
  std::string log_file;
  int chunk = 0;
  int chunk_gap_ms = 0;
  bool wire_speed = false;
  bool ignore_stdin = false;
};

const char kUsage[] =
    "usage: vyn-unit-sim [options]\n"
    "  --memory FILE          the unit's 2048-byte memory (created with zero bytes if missing)\n"
    "  --memory-kind K        answer to G: 0 1 3 4 5 nak silence (default 5)\n"
    "  --zix-version TEXT     answer to v (default 15-1-V02.03)\n"
    "  --ready-after N        answer the first N O polls with NAK\n"
    "  --fault ADDR:KIND[:K]  block at hex ADDR answers nak|silence|checksum, first K tries\n"
    "                         (default every try); may be repeated\n"
    "  --stuck-byte ADDR      the byte at hex ADDR keeps its value when written (the write is\n"
    "                         acknowledged, a verifying read-back differs); may be repeated\n"
    "  --chunk N --chunk-gap MS  send answers in chunks of N bytes, MS apart\n"
    "  --wire-speed           pace every byte as 57600 baud 8N2 would\n"
    "  --radio-code CODE      transmitter code received after --radio-after N c1 polls\n"
    "  --info-record TEXT     28-character transmitter information record\n"
    "  --info-fail            the transmitter answers 04 to the information read\n"
    "  --info-after N         A polls before the transmitter answers (default 2)\n"
    "  --info-write ok|fail   result of the information write (default ok)\n"
    "  --info-write-after N   F polls before the result (default 2)\n"
    "  --fault-rate PCT       give this percentage of all answers a random fault: NAK,\n"
    "                         silence, bad checksum, a corrupted byte, chunks with gaps, or\n"
    "                         a late answer (after the reply time, sent even when the next\n"
    "                         command has come)\n"
    "  --seed N               seed of the random faults (default 1)\n"
    "  --stats FILE           keep the number of faults injected, by kind, in FILE\n"
    "  --log FILE             log every command there instead of stderr\n"
    "  --ignore-stdin         keep running when stdin closes\n";

bool ParseInt(const char* text, int& value, int base = 10) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text, &end, base);
  if (errno != 0 || end == text || *end != '\0' || v < 0 || v > 1'000'000) return false;
  value = static_cast<int>(v);
  return true;
}

bool ParseFault(const std::string& text, vyn::sim::FaultRule& rule) {
  const std::size_t a = text.find(':');
  if (a == std::string::npos) return false;
  const std::size_t b = text.find(':', a + 1);
  const std::string kind =
      text.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
  if (!ParseInt(text.substr(0, a).c_str(), rule.address, 16)) return false;
  if (kind == "nak") {
    rule.kind = vyn::sim::FaultKind::kNak;
  } else if (kind == "silence") {
    rule.kind = vyn::sim::FaultKind::kSilence;
  } else if (kind == "checksum") {
    rule.kind = vyn::sim::FaultKind::kChecksum;
  } else {
    return false;
  }
  rule.tries = -1;
  return b == std::string::npos || ParseInt(text.substr(b + 1).c_str(), rule.tries);
}

// Fills `options`; false with a message on stderr for a bad command line.
bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char*& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    const char* v = nullptr;
    bool ok = true;
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      std::exit(0);
    } else if (arg == "--wire-speed") {
      options.wire_speed = true;
    } else if (arg == "--info-fail") {
      options.unit.info_fails = true;
    } else if (arg == "--ignore-stdin") {
      options.ignore_stdin = true;
    } else if (!value(v)) {
      ok = false;
    } else if (arg == "--memory") {
      options.memory_file = v;
    } else if (arg == "--log") {
      options.log_file = v;
    } else if (arg == "--fault-rate") {
      ok = ParseInt(v, options.fault_rate) && options.fault_rate <= 100;
    } else if (arg == "--seed") {
      int seed = 0;
      ok = ParseInt(v, seed);
      options.seed = static_cast<unsigned>(seed);
    } else if (arg == "--stats") {
      options.stats_file = v;
    } else if (arg == "--memory-kind") {
      const std::string k = v;
      ok = k == "0" || k == "1" || k == "3" || k == "4" || k == "5" || k == "nak" || k == "silence";
      options.unit.memory_kind = k;
    } else if (arg == "--zix-version") {
      options.unit.zix_version = v;
    } else if (arg == "--ready-after") {
      ok = ParseInt(v, options.unit.ready_after);
    } else if (arg == "--fault") {
      vyn::sim::FaultRule rule;
      ok = ParseFault(v, rule);
      options.unit.faults.push_back(rule);
    } else if (arg == "--stuck-byte") {
      int address = 0;
      ok = ParseInt(v, address, 16) && address < static_cast<int>(vyn::kImageSize);
      options.unit.stuck_bytes.push_back(address);
    } else if (arg == "--chunk") {
      ok = ParseInt(v, options.chunk);
    } else if (arg == "--chunk-gap") {
      ok = ParseInt(v, options.chunk_gap_ms);
    } else if (arg == "--radio-code") {
      options.unit.radio_code = v;
      ok = options.unit.radio_code.size() == 4;
    } else if (arg == "--radio-after") {
      ok = ParseInt(v, options.unit.radio_after);
    } else if (arg == "--info-record") {
      options.unit.info_record = v;
    } else if (arg == "--info-after") {
      ok = ParseInt(v, options.unit.info_after);
    } else if (arg == "--info-write") {
      ok = std::strcmp(v, "ok") == 0 || std::strcmp(v, "fail") == 0;
      options.unit.info_write_fails = std::strcmp(v, "fail") == 0;
    } else if (arg == "--info-write-after") {
      ok = ParseInt(v, options.unit.info_write_after);
    } else {
      ok = false;
    }
    if (!ok) {
      std::cerr << "vyn-unit-sim: bad option or value: " << arg << (v ? std::string(" ") + v : "")
                << "\n"
                << kUsage;
      return false;
    }
  }
  return true;
}

std::string Printable(const std::string& text) {
  std::string out;
  for (char c : text) out += (c >= 0x20 && c < 0x7F) ? c : '.';
  return out;
}

struct Scheduled {
  Clock::time_point at;
  std::uint8_t byte;
  bool late = false;  // a late answer: sent even after the next command came
};

// Random faults on the answers, for the soak: each answer gets one with the given rate.
class FaultInjector {
 public:
  enum Kind { kNone = -1, kNak, kSilence, kChecksum, kCorrupt, kChunked, kLate, kKinds };
  static constexpr const char* kNames[kKinds] = {"nak",     "silence", "checksum",
                                                 "corrupt", "chunked", "late"};

  FaultInjector(int rate, unsigned seed, std::string stats_file)
      : rate_(rate), random_(seed), stats_file_(std::move(stats_file)) {}

  Kind Pick() {
    if (rate_ <= 0 || static_cast<int>(random_() % 100) >= rate_) return kNone;
    const Kind kind = static_cast<Kind>(random_() % kKinds);
    ++counts_[kind];
    SaveStats();
    return kind;
  }
  unsigned Below(unsigned limit) { return static_cast<unsigned>(random_() % limit); }

 private:
  void SaveStats() const {
    if (stats_file_.empty()) return;
    std::ofstream out(stats_file_, std::ios::trunc);
    int total = 0;
    for (int k = 0; k < kKinds; ++k) total += counts_[k];
    out << "faults " << total << "\n";
    for (int k = 0; k < kKinds; ++k) out << kNames[k] << " " << counts_[k] << "\n";
  }

  int rate_;
  std::mt19937 random_;
  std::string stats_file_;
  int counts_[kKinds] = {};
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return 2;

  // Never outlive the test or shell that started us.
  pid_t parent = 0;
  if (!vyn::sim::FollowParent(parent)) return 0;

  vyn::ParameterImage memory{};
  if (!vyn::sim::LoadImageFile(options.memory_file, memory)) {
    std::cerr << "vyn-unit-sim: " << options.memory_file
              << " cannot be created or is not a 2048-byte memory file\n";
    return 1;
  }

  std::FILE* log = vyn::sim::OpenLog(options.log_file, "vyn-unit-sim");
  if (log == nullptr) return 1;

  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    std::perror("vyn-unit-sim: pseudo-terminal");
    return 1;
  }
  const char* slave_name = ptsname(master);
  // Holding the slave open keeps the terminal alive between the client's sessions, and lets
  // us put it into raw mode once (no echo, no line editing).
  const int slave = slave_name ? open(slave_name, O_RDWR | O_NOCTTY | O_CLOEXEC) : -1;
  termios tio{};
  if (slave < 0 || tcgetattr(slave, &tio) != 0) {
    std::perror("vyn-unit-sim: pseudo-terminal");
    return 1;
  }
  cfmakeraw(&tio);
  tcsetattr(slave, TCSANOW, &tio);
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

  sigset_t waiting_mask;
  vyn::sim::CatchStopSignals(waiting_mask);

  std::printf("%s\n", slave_name);
  std::fflush(stdout);

  vyn::sim::UnitModel unit(options.unit, memory);
  unit.on_memory_written = [&] {
    if (!vyn::sim::SaveImageFile(options.memory_file, memory)) {
      std::fprintf(log, "cannot save %s\n", options.memory_file.c_str());
    }
  };
  vyn::sim::FrameParser parser;
  std::deque<Scheduled> outgoing;
  FaultInjector faults(options.fault_rate, options.seed, options.stats_file);
  const Clock::time_point start = Clock::now();
  bool watch_stdin = !options.ignore_stdin;

  while (!vyn::sim::g_stop_requested && getppid() == parent) {
    timespec timeout{0, 200'000'000};  // wake now and then to notice a dead parent
    if (!outgoing.empty()) {
      const auto wait = std::max(Clock::duration::zero(), outgoing.front().at - Clock::now());
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
      if (ns < 200'000'000) timeout = {0, static_cast<long>(ns)};
    }
    pollfd fds[2] = {{master, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    const int r = ppoll(fds, watch_stdin ? 2 : 1, &timeout, &waiting_mask);
    if (r < 0 && errno != EINTR) break;

    if (r > 0 && watch_stdin && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
      char buf[256];
      if (read(STDIN_FILENO, buf, sizeof buf) <= 0) break;  // stdin closed: we are done
    }
    if (r > 0 && (fds[0].revents & POLLIN) != 0) {
      std::uint8_t buf[512];
      const ssize_t n = read(master, buf, sizeof buf);
      for (ssize_t i = 0; i < n; ++i) {
        vyn::sim::FrameParser::Frame frame;
        if (!parser.Feed(buf[i], frame)) continue;
        std::string note;
        Bytes answer = unit.Answer(frame, note);
        const FaultInjector::Kind fault = answer.empty() ? FaultInjector::kNone : faults.Pick();
        int chunk = options.chunk;
        int chunk_gap_ms = options.chunk_gap_ms;
        auto delay = std::chrono::milliseconds(0);
        switch (fault) {
          case FaultInjector::kNak:
            answer = {0x15};  // NAK
            break;
          case FaultInjector::kSilence:
            answer.clear();
            break;
          case FaultInjector::kChecksum:
            // The first checksum digit of a frame, or the single byte of an acknowledgement.
            if (answer.size() > 3) {
              answer[answer.size() - 3] ^= 0x01;
            } else {
              answer[0] = '?';
            }
            break;
          case FaultInjector::kCorrupt:
            answer[faults.Below(static_cast<unsigned>(answer.size()))] ^=
                static_cast<std::uint8_t>(1u << faults.Below(8));
            break;
          case FaultInjector::kChunked:
            chunk = 1 + static_cast<int>(faults.Below(8));
            chunk_gap_ms = 20 + static_cast<int>(faults.Below(180));
            break;
          case FaultInjector::kLate:
            delay = std::chrono::milliseconds(260 + faults.Below(240));
            break;
          default:
            break;
        }
        if (fault != FaultInjector::kNone)
          note += std::string(" (random fault: ") + FaultInjector::kNames[fault] + ")";
        const double t = std::chrono::duration<double>(Clock::now() - start).count();
        std::fprintf(log, "%10.3f %s -> %s\n", t, Printable(frame.payload).c_str(), note.c_str());
        std::fflush(log);
        // A new command replaces whatever of an earlier answer has not been sent, except a late
        // answer, which a slow unit still sends.
        std::erase_if(outgoing, [](const Scheduled& s) { return !s.late; });
        Clock::time_point at = Clock::now() + delay;
        if (options.wire_speed) at += kByteTime * static_cast<long>(frame.wire_bytes);
        for (std::size_t k = 0; k < answer.size(); ++k) {
          if (k > 0 && chunk > 0 && k % static_cast<std::size_t>(chunk) == 0) {
            at += std::chrono::milliseconds(chunk_gap_ms);
          }
          if (options.wire_speed) at += kByteTime;
          outgoing.push_back({at, answer[k], fault == FaultInjector::kLate});
        }
        std::stable_sort(outgoing.begin(), outgoing.end(),
                         [](const Scheduled& a, const Scheduled& b) { return a.at < b.at; });
      }
    }
    // Send every byte that is due.
    Bytes due;
    const Clock::time_point now = Clock::now();
    while (!outgoing.empty() && outgoing.front().at <= now) {
      due.push_back(outgoing.front().byte);
      outgoing.pop_front();
    }
    if (!due.empty() && write(master, due.data(), due.size()) < 0 && errno != EAGAIN) break;
  }

  close(slave);
  close(master);
  if (log != stderr) std::fclose(log);
  return 0;
}
