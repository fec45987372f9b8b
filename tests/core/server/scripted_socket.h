#pragma once

// A DatagramSocket for exchange tests: records every datagram sent with its virtual time, lets
// a responder answer each after a delay, and lets virtual time pass while the exchange waits.

#include <algorithm>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/link/clock.h"
#include "core/server/datagram_socket.h"

namespace vyn::testing {

class ScriptedSocket : public DatagramSocket {
 public:
  struct Sent {
    std::string host;
    std::uint16_t port = 0;
    std::vector<std::uint8_t> bytes;
    std::uint64_t at_ms = 0;
    std::string Text() const { return {bytes.begin(), bytes.end()}; }
  };
  struct Reply {
    std::vector<std::uint8_t> bytes;
    std::uint32_t delay_ms = 5;
  };

  explicit ScriptedSocket(FakeClock& clock) : clock_(clock) {}

  // Answers each datagram sent; no answer when empty.
  std::function<std::vector<Reply>(const Sent&)> responder;
  std::set<std::string> unresolvable;  // hosts without an address
  bool port_taken = false;             // Bind fails
  std::vector<Sent> sent;

  // A datagram from the server `delay_ms` from now, unasked.
  void Inject(std::vector<std::uint8_t> bytes, std::uint32_t delay_ms = 0) {
    Queue(std::move(bytes), clock_.NowMs() + delay_ms);
  }
  void Inject(const std::string& text, std::uint32_t delay_ms = 0) {
    Inject(std::vector<std::uint8_t>(text.begin(), text.end()), delay_ms);
  }

  bool Bind(std::uint16_t port) override {
    if (port_taken) return false;
    local_port_ = port == 0 ? 50000 : port;
    return bound_ = true;
  }
  bool IsBound() const override { return bound_; }
  std::uint16_t LocalPort() const override { return local_port_; }

  SendResult SendTo(const std::string& host, std::uint16_t port,
                    std::span<const std::uint8_t> bytes) override {
    if (unresolvable.count(host)) return SendResult::kUnresolved;
    sent.push_back({host, port, {bytes.begin(), bytes.end()}, clock_.NowMs()});
    if (responder) {
      for (Reply& reply : responder(sent.back())) {
        Queue(std::move(reply.bytes), clock_.NowMs() + reply.delay_ms);
      }
    }
    return SendResult::kSent;
  }

  std::optional<Datagram> Receive() override {
    if (pending_.empty() || pending_.front().at_ms > clock_.NowMs()) return std::nullopt;
    Datagram datagram{std::move(pending_.front().bytes), "127.0.0.1", 46000};
    pending_.pop_front();
    return datagram;
  }

  bool WaitReadable(std::uint32_t timeout_ms) override {
    const std::uint64_t until = clock_.NowMs() + timeout_ms;
    if (!pending_.empty() && pending_.front().at_ms <= until) {
      clock_.AdvanceTo(pending_.front().at_ms);
      return true;
    }
    clock_.AdvanceTo(until);
    return false;
  }

  // The texts of the datagrams sent, each up to its first byte that is not text.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Sent& s : sent) texts.push_back(s.Text());
    return texts;
  }

 private:
  struct Pending {
    std::uint64_t at_ms;
    std::vector<std::uint8_t> bytes;
  };
  void Queue(std::vector<std::uint8_t> bytes, std::uint64_t at_ms) {
    const auto at = std::upper_bound(pending_.begin(), pending_.end(), at_ms,
                                     [](std::uint64_t t, const Pending& p) { return t < p.at_ms; });
    pending_.insert(at, Pending{at_ms, std::move(bytes)});
  }

  FakeClock& clock_;
  std::deque<Pending> pending_;
  bool bound_ = false;
  std::uint16_t local_port_ = 0;
};

}  // namespace vyn::testing
