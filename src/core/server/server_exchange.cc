#include "core/server/server_exchange.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>

#include "core/strings/message_ids.h"

namespace vyn {
namespace {

enum class PhaseKind {
  kAnswer,    // "%s \t\t\t(Timeout: %d s)"
  kWait,      // "%s \t\t(Timeout: %d s)"
  kTransfer,  // "%s %d %% \t\t(Timeout: %d s)"
};

std::string PhaseStatus(PhaseKind kind, const std::string& text, std::int32_t countdown,
                        std::int32_t percent) {
  const std::string timeout = "(Timeout: " + std::to_string(countdown) + " s)";
  switch (kind) {
    case PhaseKind::kAnswer:
      return text + " \t\t\t" + timeout;
    case PhaseKind::kWait:
      return text + " \t\t" + timeout;
    case PhaseKind::kTransfer:
      return text + " " + std::to_string(percent) + " % \t\t" + timeout;
  }
  return text;
}

// The percentage of a transfer phase from the window's last offset; 100 once every window went.
std::int32_t WindowPercent(const DataWindow& window) {
  if (window.first >= static_cast<std::int32_t>(kImageSize)) return 100;
  return static_cast<std::int32_t>(std::int64_t{window.last} * 100 /
                                   static_cast<std::int64_t>(kImageSize));
}

std::function<std::uint32_t()> ClockSeededStep() {
  auto generator = std::make_shared<std::mt19937>(static_cast<std::mt19937::result_type>(
      std::chrono::system_clock::now().time_since_epoch().count()));
  return [generator] { return static_cast<std::uint32_t>((*generator)()); };
}

}  // namespace

// One waiting phase: its state, status text and what it sends once per second.
struct ServerExchange::Phase {
  ExchangeState state;
  int text_id;
  PhaseKind kind;
  ExchangeMessage message;
};

ServerExchange::ServerExchange(DatagramSocket& socket, Clock& clock, const StringTable& strings,
                               std::uint32_t counter_start,
                               std::function<std::uint32_t()> random_step)
    : socket_(socket),
      clock_(clock),
      strings_(strings),
      random_step_(random_step ? std::move(random_step) : ClockSeededStep()),
      counter_(counter_start) {}

void ServerExchange::ShowStatus(const std::string& text) {
  if (prompter_ != nullptr) prompter_->SetStatus(text);
}

bool ServerExchange::Send(ExchangeMessage message) {
  MessageFields fields{identifier_, static_cast<std::int32_t>(counter_), password_, window_,
                       &transfer_buffer_};
  const std::vector<std::uint8_t> bytes = BuildMessage(message, fields);
  ++counter_;
  const SendResult result = socket_.SendTo(server_.host, server_.port, bytes);
  if (result != SendResult::kSent) send_failure_ = result;
  return result == SendResult::kSent;
}

bool ServerExchange::SendRequest() {
  if (!Send(direction_ == ExchangeDirection::kRead ? ExchangeMessage::kReadRequest
                                                   : ExchangeMessage::kWriteRequest)) {
    return false;
  }
  ShowStatus(strings_.Text(msg::kServerSendingRequest));
  pump_->ProcessPendingEvents();
  // The pause blocks: replies wait in the socket until the next phase.
  clock_.SleepMs(kRequestPauseMs);
  return true;
}

bool ServerExchange::RunPhase(const Phase& phase) {
  const std::string text = strings_.Text(phase.text_id);
  std::uint64_t now = clock_.NowMs();
  const std::uint64_t deadline = now + kPhaseLimitMs;
  std::int32_t countdown = kPhaseLimitSeconds;
  std::uint64_t second = now / 1000;
  ShowStatus(PhaseStatus(phase.kind, text, countdown, 0));
  timed_out_ = false;
  while (!cancel_ && state_ == phase.state && now < deadline) {
    const std::uint64_t next_second = (second + 1) * 1000;
    pump_->WaitForEvents(static_cast<std::uint32_t>(std::min(next_second, deadline) - now));
    now = clock_.NowMs();
    if (now / 1000 == second) continue;
    second = now / 1000;
    if (cancel_ || state_ != phase.state) continue;
    ExchangeMessage message = phase.message;
    if (message == ExchangeMessage::kConfigData) {
      // Nothing beyond the image is ever sent: once every window went, the phase only polls
      // until the server confirms it has the whole image.
      if (window_.InsideImage()) {
        uploads_.Asked();
      } else {
        message = ExchangeMessage::kGetStatus;
      }
    }
    if (message == ExchangeMessage::kGetData) downloads_.Asked();
    if (!Send(message)) return false;
    if (phase.message != ExchangeMessage::kGetStatus) percent_ = WindowPercent(window_);
    ShowStatus(PhaseStatus(phase.kind, text, countdown, percent_));
    --countdown;
  }
  timed_out_ = !cancel_ && state_ == phase.state;
  return true;
}

ExchangeEnd ServerExchange::Run(const ExchangeEntries& entries, const ServerAddress& server,
                                Prompter& prompter, ExchangeEventPump& pump) {
  // 1. Hourglass; state Starting, no cancel request. The cursor comes back on every way out.
  prompter.SetBusy(true);
  prompter_ = &prompter;
  pump_ = &pump;
  struct Restore {
    ServerExchange& self;
    ~Restore() {
      self.prompter_->SetBusy(false);
      self.prompter_ = nullptr;
      self.pump_ = nullptr;
    }
  } restore{*this};
  state_ = ExchangeState::kStarting;
  cancel_ = false;
  timed_out_ = false;
  send_failure_ = SendResult::kSent;

  // 2. Identifier, server, the counter moved on by a random step.
  identifier_ = UnitIdentifier(entries.serial, entries.country);
  password_ = entries.password;
  server_ = server;
  counter_ += random_step_() % kCounterStepLimit;

  // 3, 4. The request and its pause.
  if (!SendRequest()) return EndAfterSendFailure(send_failure_);

  const Phase answer{ExchangeState::kAwaitingAnswer, msg::kServerWaitingForAnswer,
                     PhaseKind::kAnswer, ExchangeMessage::kGetStatus};
  const Phase busy{ExchangeState::kServerBusy, msg::kServerBusy, PhaseKind::kWait,
                   ExchangeMessage::kGetStatus};
  const Phase queued{ExchangeState::kWriteQueued, msg::kServerWriteQueued, PhaseKind::kWait,
                     ExchangeMessage::kGetStatus};
  const Phase unit{ExchangeState::kAwaitingUnit, msg::kServerWaitingForUnit, PhaseKind::kWait,
                   ExchangeMessage::kGetStatus};
  const Phase unit_uploading{ExchangeState::kUnitUploading, msg::kServerReceivingFromUnit,
                             PhaseKind::kTransfer, ExchangeMessage::kGetStatus};
  const Phase downloading{ExchangeState::kDownloading, msg::kServerDownloading,
                          PhaseKind::kTransfer, ExchangeMessage::kGetData};
  const Phase uploading{ExchangeState::kUploading, msg::kServerUploading, PhaseKind::kTransfer,
                        ExchangeMessage::kConfigData};
  const Phase unit_downloading{ExchangeState::kUnitDownloading, msg::kServerSendingToUnit,
                               PhaseKind::kTransfer, ExchangeMessage::kGetStatus};
  // Runs the phase when the exchange stands in its state; false after a failed send.
  auto step = [this](const Phase& phase) {
    if (state_ != phase.state || cancel_ || timed_out_) return true;
    return RunPhase(phase);
  };

  // 5. Waiting for the server to accept the request.
  if (!cancel_) {
    state_ = ExchangeState::kAwaitingAnswer;
    if (!RunPhase(answer)) return EndAfterSendFailure(send_failure_);
  }
  // 6. Busy: whatever ends the wait, the request goes again and the answer phase runs again.
  if (state_ == ExchangeState::kServerBusy && !cancel_) {
    if (!RunPhase(busy)) return EndAfterSendFailure(send_failure_);
    cancel_ = false;
    if (!SendRequest()) return EndAfterSendFailure(send_failure_);
    state_ = ExchangeState::kAwaitingAnswer;
    if (!RunPhase(answer)) return EndAfterSendFailure(send_failure_);
  }
  // 7, 8.
  if (!step(queued) || !step(unit)) return EndAfterSendFailure(send_failure_);
  // 9. The unit sends its image to the server; the server reports the percentage.
  percent_ = 0;
  if (!step(unit_uploading)) return EndAfterSendFailure(send_failure_);
  // 10. Fetching the eight windows: a read's step only, so a server's reply can never have a
  // write fetch windows into the image it is sending.
  if (direction_ == ExchangeDirection::kRead && state_ == ExchangeState::kDownloading && !cancel_) {
    percent_ = 0;
    window_ = DataWindow{};
    downloads_.Reset();
    if (!step(downloading)) return EndAfterSendFailure(send_failure_);
  }
  // 11. Sending the eight windows: a write's step only.
  if (direction_ == ExchangeDirection::kWrite && state_ == ExchangeState::kUploading && !cancel_) {
    percent_ = 0;
    window_ = DataWindow{};
    uploads_.Reset();
    if (!step(uploading)) return EndAfterSendFailure(send_failure_);
  }
  // 12. The write's wait for the unit.
  if (!step(unit)) return EndAfterSendFailure(send_failure_);
  // 13. The server sends the image to the unit.
  if (state_ == ExchangeState::kUnitDownloading && !cancel_) {
    percent_ = 0;
    if (!step(unit_downloading)) return EndAfterSendFailure(send_failure_);
  }
  // 14. The unit restarts with its new image.
  if (direction_ == ExchangeDirection::kWrite && state_ == ExchangeState::kWriteComplete) {
    ShowStatus(strings_.Text(msg::kServerUnitRestarting));
    pump_->ProcessPendingEvents();
    clock_.SleepMs(kRestartPauseMs);
  }
  return Finish();
}

ExchangeEnd ServerExchange::Finish() {
  // 15. The closing message. Only the end state of the exchange's own direction is a success:
  // a read that a server's reply put into the write's end state got no image.
  const bool complete =
      state_ == (direction_ == ExchangeDirection::kRead ? ExchangeState::kReadComplete
                                                        : ExchangeState::kWriteComplete);
  ExchangeEnd end = ExchangeEnd::kSucceeded;
  if (!cancel_ && complete) {
    Send(ExchangeMessage::kConfigLoadOk);
  } else {
    if (state_ != ExchangeState::kServerBusy) Send(ExchangeMessage::kCancel);
    if (state_ == ExchangeState::kPasswordRejected) {
      ShowStatus(strings_.Text(msg::kServerWrongPassword));
      pump_->ProcessPendingEvents();
      clock_.SleepMs(kWrongPasswordPauseMs);
      end = ExchangeEnd::kPasswordRejected;
    } else if (state_ == ExchangeState::kServerBusy) {
      end = ExchangeEnd::kServerBusy;
    } else if (cancel_) {
      end = ExchangeEnd::kCancelled;
    } else if (timed_out_) {
      end = ExchangeEnd::kNoAnswer;
    } else {
      end = ExchangeEnd::kInterrupted;
    }
    // The end counts as a cancel whatever brought it.
    cancel_ = true;
  }
  // 16. The box of the final state.
  int box = 0;
  switch (state_) {
    case ExchangeState::kPasswordRejected:
    case ExchangeState::kServerBusy:
      box = msg::kWriteFailed;
      break;
    case ExchangeState::kReadComplete:
      if (complete) box = msg::kReadComplete;
      break;
    case ExchangeState::kWriteComplete:
      if (complete) box = msg::kProgrammingComplete;
      break;
    default:
      break;
  }
  if (box != 0) {
    prompter_->ShowMessage(MessageKind::kInformation, strings_.Text(box), MessageButtons::kOk);
  }
  return end;
}

ExchangeEnd ServerExchange::EndAfterSendFailure(SendResult result) {
  // Without a way to the server there is nobody to tell: the exchange ends at once.
  const std::string text =
      Format(result == SendResult::kUnresolved ? kServerNotFoundText : kServerSendFailedText,
             {server_.host});
  ShowStatus(text);
  prompter_->ShowMessage(MessageKind::kError, text, MessageButtons::kOk);
  cancel_ = true;
  return ExchangeEnd::kSendFailed;
}

int ServerExchange::DeliverReceived() {
  int count = 0;
  while (std::optional<Datagram> datagram = socket_.Receive()) {
    HandleDatagram(datagram->bytes);
    ++count;
  }
  return count;
}

void ServerExchange::HandleDatagram(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > kMaxReplySize) return;
  receive_buffer_.assign(bytes.begin(), bytes.end());
  const std::string_view reply(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const std::size_t offset = ReplyStatusOffset(reply);
  const std::optional<std::string_view> status = ReplyStatusText(reply);
  if (!status) return;
  const ReplyMatch match = MatchStatus(*status, password_);
  switch (match.kind) {
    case ReplyKind::kUnknown:
    case ReplyKind::kWaiting:
      break;
    case ReplyKind::kIdle:
      cancel_ = true;
      break;
    case ReplyKind::kBusy:
      state_ = ExchangeState::kServerBusy;
      break;
    case ReplyKind::kReadQueued:
    case ReplyKind::kConfigDataReceived:
      state_ = ExchangeState::kAwaitingUnit;
      break;
    case ReplyKind::kWriteQueued:
      state_ = ExchangeState::kWriteQueued;
      break;
    case ReplyKind::kUnitSending:
      percent_ = match.percent;
      state_ = ExchangeState::kUnitUploading;
      break;
    case ReplyKind::kSendingConfig:
      state_ = ExchangeState::kDownloading;
      break;
    case ReplyKind::kSendConfigData:
      if (state_ != ExchangeState::kUploading) {
        state_ = ExchangeState::kUploading;
      } else if (uploads_.TakeAnswer()) {
        window_.MoveOn();
        uploads_.Moved();
      }
      break;
    case ReplyKind::kDataTransfer:
      StoreWindow(bytes, offset, match.text_length);
      break;
    case ReplyKind::kUnitReceiving:
      percent_ = match.percent;
      state_ = ExchangeState::kUnitDownloading;
      break;
    case ReplyKind::kWriteOk:
      state_ = ExchangeState::kWriteComplete;
      break;
    case ReplyKind::kPasswordError:
      state_ = ExchangeState::kPasswordRejected;
      break;
  }
}

void ServerExchange::StoreWindow(std::span<const std::uint8_t> reply, std::size_t status_offset,
                                 std::size_t text_length) {
  // After the comparison text: one separator, the 256 bytes, the check byte. A reply too short
  // for them is no window at all and answers no request.
  const std::size_t data_offset = status_offset + text_length + 1;
  if (reply.size() < data_offset + kWindowSize + 1) return;
  if (!downloads_.TakeAnswer()) return;
  if (!window_.InsideImage()) {
    downloads_.Rejected();
    return;
  }
  const std::span<const std::uint8_t> data = reply.subspan(data_offset, kWindowSize);
  if (CheckByte(data) != reply[data_offset + kWindowSize]) {
    downloads_.Rejected();
    return;
  }
  std::copy(data.begin(), data.end(), transfer_buffer_.begin() + window_.first);
  window_.MoveOn();
  downloads_.Moved();
  if (window_.last > static_cast<std::int32_t>(kImageSize)) {
    window_ = DataWindow{};
    state_ = ExchangeState::kReadComplete;
  }
}

}  // namespace vyn
