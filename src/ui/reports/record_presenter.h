#pragma once

// How a print command shows the printed record: in Qt's print preview, from which the user
// prints it through Qt's print dialog (printer, copies, or Qt's own print to a PDF file) or
// closes it without printing. Tests put a recording presenter in its place.

#include <QString>
#include <QWidget>
#include <functional>

#include "core/reports/record/canvas.h"

namespace vyn::ui {

class RecordPresenter {
 public:
  // Lays the record out on a canvas, with the number of copies the print dialog chose.
  using Draw = std::function<void(Canvas& canvas, int copies)>;

  virtual ~RecordPresenter() = default;
  // Shows the record of the print job `title`; returns once the user has printed or closed it.
  virtual void Present(const QString& title, const Draw& draw) = 0;
};

class PreviewRecordPresenter : public RecordPresenter {
 public:
  explicit PreviewRecordPresenter(QWidget* parent) : parent_(parent) {}
  void Present(const QString& title, const Draw& draw) override;

 private:
  QWidget* parent_;
};

}  // namespace vyn::ui
