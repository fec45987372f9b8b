#include "ui/reports/canvas/qt_canvas.h"

#include <QFontMetrics>
#include <QPen>
#include <algorithm>
#include <utility>

namespace vyn::ui {
namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtCanvas::QtCanvas(QPagedPaintDevice& device, Prepare prepare)
    : device_(device), prepare_(std::move(prepare)) {}

QtCanvas::~QtCanvas() {
  if (painter_.isActive()) painter_.end();
}

int QtCanvas::BeginDocument(const std::string& title, int copies) {
  const int passes = prepare_ ? prepare_(QString::fromStdString(title), copies) : 1;
  device_.setPageOrientation(QPageLayout::Portrait);
  started_ = painter_.begin(&device_);
  if (started_) painter_.setRenderHint(QPainter::SmoothPixmapTransform);
  return passes;
}

void QtCanvas::NewPage() {
  if (started_) device_.newPage();
}

void QtCanvas::EndDocument() {
  if (painter_.isActive()) painter_.end();
}

int QtCanvas::PageWidth() const { return device_.width(); }
int QtCanvas::PageHeight() const { return device_.height(); }

QFont QtCanvas::FontOf(const Font& font) const {
  QFont qt_font;
  qt_font.setPointSize(std::max(1, font.points));
  qt_font.setBold(font.bold);
  return qt_font;
}

int QtCanvas::TextWidth(std::string_view text, const Font& font) const {
  return QFontMetrics(FontOf(font), &device_).horizontalAdvance(FromUtf8(text));
}

int QtCanvas::TextHeight(std::string_view, const Font& font) const {
  return QFontMetrics(FontOf(font), &device_).height();
}

void QtCanvas::DrawText(int x, int y, std::string_view text, const Font& font, int clip_right) {
  if (!started_ || text.empty()) return;
  const QFont qt_font = FontOf(font);
  const QFontMetrics metrics(qt_font, &device_);
  painter_.save();
  painter_.setFont(qt_font);
  painter_.setPen(Qt::black);
  if (clip_right >= 0) {
    painter_.setClipRect(
        QRect(x, y - metrics.height(), std::max(0, clip_right - x), 3 * metrics.height()));
  }
  painter_.drawText(QPoint(x, y + metrics.ascent()), FromUtf8(text));
  painter_.restore();
}

void QtCanvas::UsePen(int pen) {
  QPen qt_pen(Qt::black);
  qt_pen.setWidth(std::max(0, pen));
  painter_.setPen(qt_pen);
}

void QtCanvas::DrawLine(int x1, int y1, int x2, int y2, int pen) {
  if (!started_) return;
  UsePen(pen);
  painter_.drawLine(x1, y1, x2, y2);
}

void QtCanvas::DrawRectangle(int left, int top, int right, int bottom, int pen,
                             RectangleFill fill) {
  if (!started_) return;
  UsePen(pen);
  painter_.setBrush(fill == RectangleFill::kLightGrey ? QBrush(QColor(192, 192, 192))
                                                      : QBrush(Qt::NoBrush));
  painter_.drawRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
  painter_.setBrush(Qt::NoBrush);
}

bool QtCanvas::LoadBitmap(const std::string& path) {
  bitmap_ = QImage(QString::fromStdString(path));
  return !bitmap_.isNull();
}

void QtCanvas::DrawBitmap(int left, int top, int right, int bottom) {
  if (!started_ || bitmap_.isNull() || right <= left || bottom <= top) return;
  painter_.drawImage(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), bitmap_);
}

void QtCanvas::ReleaseBitmap() { bitmap_ = QImage(); }

}  // namespace vyn::ui
