#pragma once

#include <string>

namespace vyn {

// The kinds of modal message box the flows show.
enum class MessageKind { kError, kInformation, kWarning, kConfirmation };
enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MessageButton { kOk, kCancel, kYes, kNo };

// How a flow talks to the user: modal message boxes, the window's status line and the busy
// cursor. The desktop implements it with message boxes, vynctl writes to stderr and answers
// from its flags, tests answer from a script.
class Prompter {
 public:
  virtual ~Prompter() = default;
  // Shows a modal box and returns the button pressed.
  virtual MessageButton ShowMessage(MessageKind kind, const std::string& text,
                                    MessageButtons buttons) = 0;
  // Replaces the text of the window's status line; a window without one ignores it.
  virtual void SetStatus(const std::string& text) = 0;
  // The hourglass cursor while a device operation runs; false restores the previous cursor.
  virtual void SetBusy(bool /*busy*/) {}
};

// "Let the window process its pending messages": called by the flows right after they change
// the status text, so that it is painted before a long transfer blocks the window.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void ProcessPendingEvents() = 0;
};

// For callers without a window.
class NoEventPump : public EventPump {
 public:
  void ProcessPendingEvents() override {}
};

// For callers that show nothing: every box is answered with OK (Yes for questions).
class SilentPrompter : public Prompter {
 public:
  MessageButton ShowMessage(MessageKind, const std::string&, MessageButtons buttons) override {
    return buttons == MessageButtons::kYesNo || buttons == MessageButtons::kYesNoCancel
               ? MessageButton::kYes
               : MessageButton::kOk;
  }
  void SetStatus(const std::string&) override {}
};

}  // namespace vyn
