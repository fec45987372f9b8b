#pragma once

// A serial port in virtual time for the link tests: each frame written takes the next scripted
// reply (or asks a responder), whose chunks then arrive at their times on the FakeClock.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/link/clock.h"
#include "core/link/serial_port.h"

namespace vyn::testing {

using Bytes = std::vector<std::uint8_t>;

struct Chunk {
  std::uint64_t delay_ms;  // after the previous chunk (the first: after the write)
  Bytes bytes;
};
using Reply = std::vector<Chunk>;  // empty: silence

inline Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

class ScriptedPort : public SerialPort {
 public:
  explicit ScriptedPort(FakeClock& clock) : clock_(clock) {}

  // Replies taken in order by the frames written; when none is left, the responder answers,
  // and without a responder the unit is silent.
  std::deque<Reply> replies;
  std::function<Reply(const Bytes& frame)> responder;

  bool open_fails = false;
  bool settings_fail = false;
  // A broken driver that reports readiness at once without ever having data.
  bool readable_without_data = false;

  // What the link did.
  std::vector<Bytes> written;
  std::vector<std::string> purges;  // "rx" or "rxtx"
  int opens = 0;
  int closes = 0;
  int settings_calls = 0;
  LineSettings last_settings;
  long device_calls = 0;  // BytesWaiting + WaitReadable + Read, to show the link never spins

  bool Open() override {
    ++opens;
    open_ = !open_fails;
    return open_;
  }
  bool IsOpen() const override { return open_; }
  bool SetLineSettings(const LineSettings& settings) override {
    ++settings_calls;
    last_settings = settings;
    return !settings_fail;
  }
  void Purge(bool receive, bool transmit) override {
    purges.push_back(transmit ? "rxtx" : "rx");
    if (receive) {
      // Only what has arrived is lost; bytes still on the way arrive later.
      Arrive();
      arrived_.clear();
    }
  }
  std::size_t BytesWaiting() override {
    ++device_calls;
    Arrive();
    return arrived_.size();
  }
  std::size_t Read(std::span<std::uint8_t> buffer) override {
    ++device_calls;
    Arrive();
    const std::size_t n = std::min(buffer.size(), arrived_.size());
    std::copy_n(arrived_.begin(), n, buffer.begin());
    arrived_.erase(arrived_.begin(), arrived_.begin() + static_cast<long>(n));
    return n;
  }
  std::size_t Write(std::span<const std::uint8_t> bytes) override {
    if (!open_) return 0;
    written.emplace_back(bytes.begin(), bytes.end());
    Reply reply;
    if (!replies.empty()) {
      reply = replies.front();
      replies.pop_front();
    } else if (responder) {
      reply = responder(written.back());
    }
    std::uint64_t at = clock_.NowMs();
    for (const Chunk& chunk : reply) {
      at += chunk.delay_ms;
      // Bytes arrive in the order of their times: a late answer to an earlier frame comes
      // after a prompt answer to a later one.
      auto place = std::upper_bound(
          pending_.begin(), pending_.end(), at,
          [](std::uint64_t time, const Pending& pending) { return time < pending.at; });
      pending_.insert(place, {at, chunk.bytes});
    }
    return bytes.size();
  }
  bool WaitReadable(std::uint32_t timeout_ms) override {
    ++device_calls;
    if (readable_without_data) return true;
    Arrive();
    if (!arrived_.empty()) return true;
    const std::uint64_t limit = clock_.NowMs() + timeout_ms;
    // A byte due exactly at the timeout is too late, as it is for the link's deadline.
    if (!pending_.empty() && pending_.front().at < limit) {
      clock_.AdvanceTo(pending_.front().at);
      Arrive();
      return true;
    }
    clock_.AdvanceTo(limit);
    return false;
  }
  void Close() override {
    ++closes;
    open_ = false;
  }

 private:
  struct Pending {
    std::uint64_t at;
    Bytes bytes;
  };
  void Arrive() {
    while (!pending_.empty() && pending_.front().at <= clock_.NowMs()) {
      arrived_.insert(arrived_.end(), pending_.front().bytes.begin(), pending_.front().bytes.end());
      pending_.pop_front();
    }
  }

  FakeClock& clock_;
  bool open_ = false;
  std::deque<Pending> pending_;
  Bytes arrived_;
};

}  // namespace vyn::testing
