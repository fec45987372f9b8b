#pragma once

// The waits of the diagnostic commands, which last until the test server answers: a modal box
// with Cancel over the editor, shown from the first pause on, while the window keeps painting.

#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <cstdint>

#include "core/link/clock.h"

namespace vyn::ui {

class DiagnosticWait {
 public:
  DiagnosticWait(QWidget* parent, Clock& clock, QString title, QString text, QString cancel);
  ~DiagnosticWait();
  DiagnosticWait(const DiagnosticWait&) = delete;
  DiagnosticWait& operator=(const DiagnosticWait&) = delete;

  // Waits `ms`, processing the window's events; false once the user pressed Cancel.
  bool Pause(std::uint32_t ms);

 private:
  QWidget* parent_;
  Clock& clock_;
  QString title_;
  QString text_;
  QString cancel_;
  QPointer<QProgressDialog> box_;
};

}  // namespace vyn::ui
