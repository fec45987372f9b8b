#pragma once

// The status bar's progress during reads and writes: every block command the link sends moves
// the bar to the end of its block. It only repaints the bar, never processes events, so no
// command can start while a transfer runs. Frames are passed on to the trace file when tracing
// is on.

#include <QPointer>
#include <QProgressBar>

#include "core/link/zix_trace.h"

namespace vyn::ui {

class TransferProgress : public ZixTraceSink {
 public:
  TransferProgress(QProgressBar* bar, ZixTraceSink* next) : bar_(bar), next_(next) {}

  void Record(const TraceEvent& event) override;

 private:
  QPointer<QProgressBar> bar_;
  ZixTraceSink* next_;
};

}  // namespace vyn::ui
