#pragma once

// The desktop's Prompter: modal message boxes of the flows' kinds with the string-table texts,
// the window's status line and the hourglass cursor; and the EventPump that lets the window
// paint a new status text before a long transfer.

#include <QPointer>
#include <QStatusBar>
#include <QWidget>

#include "core/session/prompter.h"
#include "core/strings/string_table.h"

namespace vyn::ui {

class QtPrompter : public Prompter {
 public:
  // Boxes are modal to `parent`, titled with the application title of `strings`, their Cancel
  // button with its Cancel text; status texts go to `status_bar` when there is one.
  explicit QtPrompter(QWidget* parent, QStatusBar* status_bar = nullptr,
                      const StringTable& strings = StringTable::Builtin());

  MessageButton ShowMessage(MessageKind kind, const std::string& text,
                            MessageButtons buttons) override;
  void SetStatus(const std::string& text) override;
  void SetBusy(bool busy) override;

 private:
  QPointer<QWidget> parent_;
  QPointer<QStatusBar> status_bar_;
  const StringTable& strings_;
  int busy_depth_ = 0;
};

// Processes pending events without user input, so a status text is painted while no command
// can start in between.
class QtEventPump : public EventPump {
 public:
  void ProcessPendingEvents() override;
};

}  // namespace vyn::ui
