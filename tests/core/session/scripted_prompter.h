#pragma once

// A Prompter for flow tests: records every box and status text in one log, in order, and
// answers the boxes from a script (OK, or the first button, when the script is used up).

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/session/prompter.h"

namespace vyn::testing {

struct PromptEvent {
  enum class Type { kBox, kStatus, kBusy, kIdle } type;
  MessageKind kind = MessageKind::kInformation;
  MessageButtons buttons = MessageButtons::kOk;
  std::string text;
};

class ScriptedPrompter : public Prompter {
 public:
  std::deque<MessageButton> answers;
  std::vector<PromptEvent> events;
  // Called as each box is shown, to look at the window behind it.
  std::function<void(const std::string& text)> on_box;

  MessageButton ShowMessage(MessageKind kind, const std::string& text,
                            MessageButtons buttons) override {
    events.push_back({PromptEvent::Type::kBox, kind, buttons, text});
    if (on_box) on_box(text);
    if (answers.empty())
      return buttons == MessageButtons::kYesNo || buttons == MessageButtons::kYesNoCancel
                 ? MessageButton::kYes
                 : MessageButton::kOk;
    const MessageButton answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void SetStatus(const std::string& text) override {
    events.push_back(
        {PromptEvent::Type::kStatus, MessageKind::kInformation, MessageButtons::kOk, text});
  }
  void SetBusy(bool busy) override {
    events.push_back({busy ? PromptEvent::Type::kBusy : PromptEvent::Type::kIdle,
                      MessageKind::kInformation, MessageButtons::kOk, ""});
  }

  std::vector<PromptEvent> Boxes() const {
    std::vector<PromptEvent> boxes;
    for (const PromptEvent& e : events) {
      if (e.type == PromptEvent::Type::kBox) boxes.push_back(e);
    }
    return boxes;
  }
  std::vector<std::string> Statuses() const {
    std::vector<std::string> texts;
    for (const PromptEvent& e : events) {
      if (e.type == PromptEvent::Type::kStatus) texts.push_back(e.text);
    }
    return texts;
  }
};

}  // namespace vyn::testing
