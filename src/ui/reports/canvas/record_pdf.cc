#include "ui/reports/canvas/record_pdf.h"

#include <QBuffer>
#include <QMarginsF>
#include <QPageSize>
#include <QPdfWriter>

#include "ui/reports/canvas/qt_canvas.h"

namespace vyn::ui {

std::string RecordPdf(VynPrint& print, const VynData& data) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral(VYN_DESCRIPTION));
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    // A file cannot make copies: each copy is drawn into it.
    QtCanvas canvas(writer, [&writer](const QString& title, int copies) {
      writer.setTitle(title);
      return copies;
    });
    print.PrintRecord(data, canvas);
  }
  return buffer.data().toStdString();
}

}  // namespace vyn::ui
