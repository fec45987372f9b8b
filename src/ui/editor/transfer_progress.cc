#include "ui/editor/transfer_progress.h"

#include "core/image/parameter_image.h"

namespace vyn::ui {

void TransferProgress::Record(const TraceEvent& event) {
  if (next_) next_->Record(event);
  if (!bar_ || event.direction != TraceDirection::kSent) return;
  const int end = TracedBlockEnd(event.bytes);
  if (end < 0 || end > static_cast<int>(kImageSize)) return;
  bar_->setMaximum(static_cast<int>(kImageSize));
  bar_->setValue(end);
  bar_->setVisible(true);
  bar_->repaint();
}

}  // namespace vyn::ui
