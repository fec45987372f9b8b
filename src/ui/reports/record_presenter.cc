#include "ui/reports/record_presenter.h"

#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "ui/reports/canvas/qt_canvas.h"

namespace vyn::ui {

void PreviewRecordPresenter::Present(const QString& title, const Draw& draw) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setDocName(title);
  QPrintPreviewDialog preview(&printer, parent_);
  preview.setObjectName("pdlgPrint");
  // The preview draws the record, and so does printing from it, onto the printer it is given.
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [&draw](QPrinter* target) {
                     QtCanvas canvas(*target, [target](const QString& job, int copies) {
                       target->setDocName(job);
                       target->setCopyCount(copies);
                       return target->supportsMultipleCopies() ? 1 : copies;
                     });
                     draw(canvas, target->copyCount());
                   });
  if (parent_) preview.resize(parent_->size());
  preview.exec();
}

}  // namespace vyn::ui
