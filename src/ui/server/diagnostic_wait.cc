#include "ui/server/diagnostic_wait.h"

#include <QApplication>
#include <algorithm>

namespace vyn::ui {

namespace {
constexpr std::uint32_t kSliceMs = 20;
}

DiagnosticWait::DiagnosticWait(QWidget* parent, Clock& clock, QString title, QString text,
                               QString cancel)
    : parent_(parent),
      clock_(clock),
      title_(std::move(title)),
      text_(std::move(text)),
      cancel_(std::move(cancel)) {}

DiagnosticWait::~DiagnosticWait() { delete box_; }

bool DiagnosticWait::Pause(std::uint32_t ms) {
  if (!box_) {
    box_ = new QProgressDialog(text_, cancel_, 0, 0, parent_);
    box_->setObjectName("dlgDiagnosticWait");
    box_->setWindowTitle(title_);
    box_->setWindowModality(Qt::WindowModal);
    box_->setMinimumDuration(0);
    box_->setAutoClose(false);
    box_->setAutoReset(false);
    box_->show();
  }
  const std::uint64_t until = clock_.NowMs() + ms;
  while (true) {
    QApplication::processEvents(QEventLoop::AllEvents);
    if (box_->wasCanceled()) return false;
    const std::uint64_t now = clock_.NowMs();
    if (now >= until) return true;
    clock_.SleepMs(static_cast<std::uint32_t>(std::min<std::uint64_t>(until - now, kSliceMs)));
  }
}

}  // namespace vyn::ui
