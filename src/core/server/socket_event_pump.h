#pragma once

// The event pump of a caller without a window (vynctl, tests): it waits on the exchange's own
// socket and hands every datagram that arrives to the exchange.

#include <functional>
#include <utility>

#include "core/server/server_exchange.h"

namespace vyn {

class SocketEventPump : public ExchangeEventPump {
 public:
  // `interrupted`, when given, is asked after every wait; true cancels the exchange as the
  // Cancel button would.
  explicit SocketEventPump(ServerExchange& exchange, std::function<bool()> interrupted = {})
      : exchange_(exchange), interrupted_(std::move(interrupted)) {}

  // Nothing to paint.
  void ProcessPendingEvents() override {}

  void WaitForEvents(std::uint32_t max_ms) override {
    if (exchange_.socket().WaitReadable(max_ms)) exchange_.DeliverReceived();
    if (interrupted_ && interrupted_()) exchange_.RequestCancel();
  }

 private:
  ServerExchange& exchange_;
  std::function<bool()> interrupted_;
};

}  // namespace vyn
