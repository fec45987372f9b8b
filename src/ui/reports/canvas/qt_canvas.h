#pragma once

// The record's canvas on a Qt paged device: a QPrinter (paper, Qt's own PDF printer, the print
// preview) or a QPdfWriter. Fonts are the device's default typeface at their point size in the
// device's resolution. Needs Qt Gui only, so vynctl can write the record as PDF.

#include <QFont>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <functional>

#include "core/reports/record/canvas.h"

namespace vyn::ui {

class QtCanvas : public Canvas {
 public:
  // Names the job and asks for the copies on the device before painting starts; returns how
  // many times the pages are to be drawn (1 where the device makes the copies).
  using Prepare = std::function<int(const QString& title, int copies)>;

  QtCanvas(QPagedPaintDevice& device, Prepare prepare);
  ~QtCanvas() override;

  int BeginDocument(const std::string& title, int copies) override;
  void NewPage() override;
  void EndDocument() override;
  int PageWidth() const override;
  int PageHeight() const override;
  int TextWidth(std::string_view text, const Font& font) const override;
  int TextHeight(std::string_view text, const Font& font) const override;
  void DrawText(int x, int y, std::string_view text, const Font& font,
                int clip_right = -1) override;
  void DrawLine(int x1, int y1, int x2, int y2, int pen) override;
  void DrawRectangle(int left, int top, int right, int bottom, int pen,
                     RectangleFill fill) override;
  bool LoadBitmap(const std::string& path) override;
  void DrawBitmap(int left, int top, int right, int bottom) override;
  void ReleaseBitmap() override;

  // Whether painting could start on the device (a printer that cannot be opened refuses).
  bool Started() const { return started_; }

 private:
  QFont FontOf(const Font& font) const;
  void UsePen(int pen);

  QPagedPaintDevice& device_;
  Prepare prepare_;
  QPainter painter_;
  QImage bitmap_;
  bool started_ = false;
};

}  // namespace vyn::ui
