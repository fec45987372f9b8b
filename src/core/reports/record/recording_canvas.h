#pragma once

// A canvas that draws nothing and writes down every drawing call with its arguments, one line
// per call, so a record's layout can be read, compared with a kept recording and checked call
// by call. Measurements change nothing and are not written down.
//
// Its metrics are fixed: an A4 page at 600 pixels per inch; a character (UTF-8 code point) is
// 0.55 of the font size wide, a line 1.15 of it high.

#include <string>
#include <string_view>
#include <vector>

#include "core/reports/record/canvas.h"

namespace vyn {

class RecordingCanvas : public Canvas {
 public:
  static constexpr int kDotsPerInch = 600;
  static constexpr int kA4Width = 4961;
  static constexpr int kA4Height = 7016;

  // One drawn text with the box it covers (its right edge cut at the clip).
  struct TextCall {
    int page = 0;  // 1 for the first
    int x = 0;
    int y = 0;
    int right = 0;
    int bottom = 0;
    Font font;
    std::string text;
  };

  explicit RecordingCanvas(int page_width = kA4Width, int page_height = kA4Height,
                           int dots_per_inch = kDotsPerInch);

  int BeginDocument(const std::string& title, int copies) override;
  void NewPage() override;
  void EndDocument() override;
  int PageWidth() const override { return page_width_; }
  int PageHeight() const override { return page_height_; }
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

  // Every call so far, one per line: "text 1240,543 18b \"VYN IP/GSM Programmierdaten\"".
  const std::string& Recording() const { return recording_; }
  const std::vector<TextCall>& TextCalls() const { return texts_; }
  // The texts of page `page` in the order they were drawn.
  std::vector<std::string> PageTexts(int page) const;
  int Pages() const { return page_; }
  int Copies() const { return copies_; }
  const std::string& Title() const { return title_; }

 private:
  void Write(const std::string& line);

  int page_width_;
  int page_height_;
  int dots_per_inch_;
  int page_ = 0;
  int copies_ = 0;
  bool bitmap_loaded_ = false;
  std::string title_;
  std::string recording_;
  std::vector<TextCall> texts_;
};

// `text` in double quotes, with quotes, backslashes and control characters escaped.
std::string QuotedText(std::string_view text);

}  // namespace vyn
