#include "ui/editor/transfer_progress.h"

#include <string>

#include "core/image/parameter_image.h"
#include "core/link/zix_link.h"

namespace vyn::ui {

namespace {

// Frames are STX, the command, two checksum digits and ETX.
constexpr std::size_t kFrameOverhead = 1 + 2 + 1;

// The readiness poll "O".
bool IsReadinessPoll(std::span<const std::uint8_t> frame) {
  return frame.size() == kFrameOverhead + 1 && frame[1] == 'O';
}

}  // namespace

void TransferProgress::Record(const TraceEvent& event) {
  if (next_) next_->Record(event);
  if (!bar_ || event.direction != TraceDirection::kSent) return;
  if (IsReadinessPoll(event.bytes)) {
    // Waiting for the unit: a busy indicator, which moves while the wait paints its status.
    if (bar_->maximum() != 0) bar_->setRange(0, 0);
    bar_->setVisible(true);
    return;
  }
  const int end = TracedBlockEnd(event.bytes);
  if (end < 0 || end > static_cast<int>(kImageSize)) return;
  bar_->setRange(0, static_cast<int>(kImageSize));
  bar_->setValue(end);
  bar_->setVisible(true);
  bar_->repaint();
}

void TransferProgress::Hide() {
  if (bar_) bar_->hide();
}

}  // namespace vyn::ui
