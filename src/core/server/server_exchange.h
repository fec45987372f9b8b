#pragma once

// The exchange with the configuration server as the exchange dialog runs it (btnOKClick) and the
// handler of every reply that arrives on the dialog's endpoint (NMUDP1DataReceived). The
// exchange values live for the program run in one ServerExchange: direction, state, the
// transfer buffer, the data window, the message counter and the percentage.
//
// The exchange sends its request, then waits in phases of at most 300 s, polling the server once
// per second and letting the window handle its events in between: received datagrams and the
// Cancel button. It runs over a DatagramSocket, a Clock, an ExchangeEventPump and a Prompter,
// so tests run every course in virtual time.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/image/parameter_image.h"
#include "core/link/clock.h"
#include "core/server/datagram_socket.h"
#include "core/server/exchange_protocol.h"
#include "core/session/prompter.h"
#include "core/strings/string_table.h"

namespace vyn {

// What the exchange needs of the window it runs in: painting a new status text
// (ProcessPendingEvents, which must not deliver datagrams) and waiting for the window's events.
class ExchangeEventPump : public EventPump {
 public:
  // Lets the window handle its events (received datagrams, the Cancel button) for at most
  // `max_ms`, returning as soon as one was handled.
  virtual void WaitForEvents(std::uint32_t max_ms) = 0;
};

// The dialog's entries at the moment the exchange starts.
struct ExchangeEntries {
  std::string serial;    // the serial number box, as typed
  std::string password;  // the password as the messages carry it
  int country = 0;       // the country entry 0..5
};

struct ServerAddress {
  std::string host;
  std::uint16_t port = kServerPort;
};

// How an exchange ended.
enum class ExchangeEnd {
  kSucceeded,         // the image was read or written; "Config load OK" sent
  kCancelled,         // Cancel, or the server's "Idle"
  kNoAnswer,          // a phase passed its 300 s
  kInterrupted,       // a reply put the exchange back to an earlier step
  kPasswordRejected,  // "Error in password"
  kServerBusy,        // still busy after the busy wait
  kSendFailed,        // the host could not be resolved, or the datagram not sent
};

inline constexpr std::uint32_t kPhaseLimitMs = 300'000;
inline constexpr std::int32_t kPhaseLimitSeconds = 300;
inline constexpr std::uint32_t kRequestPauseMs = 1000;
inline constexpr std::uint32_t kRestartPauseMs = 3000;
inline constexpr std::uint32_t kWrongPasswordPauseMs = 5000;
inline constexpr std::uint32_t kCounterStepLimit = 32768;  // the random step is below this

// The status texts of a failed send (the other texts come from the string table); "%s" is the
// host.
inline constexpr char kServerNotFoundText[] = " Server %s nicht gefunden";
inline constexpr char kServerSendFailedText[] = " Senden an Server %s fehlgeschlagen";
// The web commands' message when the local endpoint cannot be bound; "%s" is the port.
inline constexpr char kLocalPortInUseText[] =
    "Der lokale UDP-Port %s ist belegt. Der Netzwerkzugriff ist erst möglich, wenn das "
    "Programm, das ihn verwendet, beendet ist.";

class ServerExchange {
 public:
  // `counter_start` is the message counter drawn at program start. `random_step` gives the
  // number added to the counter when an exchange starts (taken modulo 32768); a generator
  // seeded from the clock when empty.
  ServerExchange(DatagramSocket& socket, Clock& clock, const StringTable& strings,
                 std::uint32_t counter_start, std::function<std::uint32_t()> random_step = {});

  DatagramSocket& socket() { return socket_; }

  // The exchange values. Callers set the direction and, for a write, the transfer buffer before
  // they start an exchange, and take a read's image from the buffer after a success.
  ExchangeDirection direction() const { return direction_; }
  void SetDirection(ExchangeDirection direction) { direction_ = direction; }
  ParameterImage& transfer_buffer() { return transfer_buffer_; }
  const ParameterImage& transfer_buffer() const { return transfer_buffer_; }
  ExchangeState state() const { return state_; }
  DataWindow window() const { return window_; }
  std::int32_t message_counter() const { return static_cast<std::int32_t>(counter_); }
  std::int32_t progress_percent() const { return percent_; }
  // The last datagram handled.
  const std::vector<std::uint8_t>& receive_buffer() const { return receive_buffer_; }
  bool cancel_requested() const { return cancel_; }
  bool running() const { return prompter_ != nullptr; }

  // btnOKClick: one whole exchange with `server`, from the request to the final box. The status
  // texts and the box go to `prompter`; `pump` delivers the replies and the Cancel button.
  ExchangeEnd Run(const ExchangeEntries& entries, const ServerAddress& server, Prompter& prompter,
                  ExchangeEventPump& pump);

  // btnCancelClick: a running exchange ends at its next check.
  void RequestCancel() { cancel_ = true; }

  // NMUDP1DataReceived: handles one reply, in whatever state the exchange is.
  void HandleDatagram(std::span<const std::uint8_t> bytes);
  // Handles every datagram waiting on the socket; returns how many there were.
  int DeliverReceived();

 private:
  struct Phase;
  bool RunPhase(const Phase& phase);
  bool SendRequest();
  bool Send(ExchangeMessage message);
  void ShowStatus(const std::string& text);
  ExchangeEnd EndAfterSendFailure(SendResult result);
  ExchangeEnd Finish();
  void StoreWindow(std::span<const std::uint8_t> reply, std::size_t status_offset,
                   std::size_t text_length);

  // Replies carry no offsets. A reply counts for the current window only when that window has
  // been asked for since it became current and every earlier request has had its answer, so a
  // late duplicate is never taken for the next window.
  class WindowRequests {
   public:
    void Reset() { asked_ = late_ = 0; }
    void Asked() { ++asked_; }
    // One answer arrived: whether it may be the current window's.
    bool TakeAnswer() {
      if (late_ > 0) {
        --late_;
        return false;
      }
      return asked_ > 0;
    }
    // The answer was not usable (wrong check byte, short): one request fewer is open.
    void Rejected() { --asked_; }
    // The window moved on: the other requests for it may still be answered.
    void Moved() {
      late_ = asked_ - 1;
      asked_ = 0;
    }

   private:
    int asked_ = 0;
    int late_ = 0;
  };

  DatagramSocket& socket_;
  Clock& clock_;
  const StringTable& strings_;
  std::function<std::uint32_t()> random_step_;

  ExchangeDirection direction_ = ExchangeDirection::kRead;
  ExchangeState state_ = ExchangeState::kStarting;
  ParameterImage transfer_buffer_{};
  DataWindow window_;
  std::uint32_t counter_;
  std::int32_t percent_ = 0;
  std::vector<std::uint8_t> receive_buffer_;
  bool cancel_ = false;
  WindowRequests downloads_;
  WindowRequests uploads_;

  // The running exchange.
  std::string identifier_;
  std::string password_;
  ServerAddress server_;
  Prompter* prompter_ = nullptr;
  ExchangeEventPump* pump_ = nullptr;
  SendResult send_failure_ = SendResult::kSent;
  bool timed_out_ = false;
};

}  // namespace vyn
