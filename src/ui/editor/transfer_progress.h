#pragma once

// The status bar's progress during reads and writes: while the link polls the unit for
// readiness the bar is a busy indicator; every block command the link sends moves it to the end
// of its block. It only repaints the bar, never processes events, so no command can start while
// a transfer runs. Frames are passed on to the trace file when tracing is on.

#include <QPointer>
#include <QProgressBar>

#include "core/link/zix_trace.h"
#include "core/session/prompter.h"

namespace vyn::ui {

class TransferProgress : public ZixTraceSink {
 public:
  TransferProgress(QProgressBar* bar, ZixTraceSink* next) : bar_(bar), next_(next) {}

  void Record(const TraceEvent& event) override;
  // The transfer, or the part of it the bar showed, is over; the next frame shows it again.
  void Hide();

 private:
  QPointer<QProgressBar> bar_;
  ZixTraceSink* next_;
};

// The flows' prompter during a transfer: a message box reports the end of what the bar showed,
// so the bar goes away before the box appears.
class TransferPrompter : public Prompter {
 public:
  TransferPrompter(Prompter& inner, TransferProgress& progress)
      : inner_(inner), progress_(progress) {}

  MessageButton ShowMessage(MessageKind kind, const std::string& text,
                            MessageButtons buttons) override {
    progress_.Hide();
    return inner_.ShowMessage(kind, text, buttons);
  }
  void SetStatus(const std::string& text) override { inner_.SetStatus(text); }
  void SetBusy(bool busy) override { inner_.SetBusy(busy); }

 private:
  Prompter& inner_;
  TransferProgress& progress_;
};

}  // namespace vyn::ui
