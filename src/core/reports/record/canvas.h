#pragma once

// The page canvas the printed record is drawn on: a printer, a PDF file, a preview or, in tests,
// a recording of every call. Positions and sizes are device pixels with the origin at the top
// left of the printable page; fonts are given in points and measured in pixels at the device's
// resolution. Texts are UTF-8.

#include <string>
#include <string_view>

namespace vyn {

// A font of the device's default typeface.
struct Font {
  int points = 9;
  bool bold = false;
  bool operator==(const Font&) const = default;
};

enum class RectangleFill {
  kNone,       // outline only, the interior left as it is
  kLightGrey,  // outline, filled with red, green and blue 192
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Names the print job, asks for `copies` copies in portrait orientation and starts the first
  // page. Returns how many times the caller draws the document's pages: 1 where the device makes
  // the copies itself, else `copies`.
  virtual int BeginDocument(const std::string& title, int copies) = 0;
  virtual void NewPage() = 0;
  virtual void EndDocument() = 0;

  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;

  virtual int TextWidth(std::string_view text, const Font& font) const = 0;
  virtual int TextHeight(std::string_view text, const Font& font) const = 0;
  // `x`, `y` is the text's top-left corner. With `clip_right` not negative nothing is drawn at
  // or right of that x.
  virtual void DrawText(int x, int y, std::string_view text, const Font& font,
                        int clip_right = -1) = 0;

  // Lines and outlines are black, `pen` pixels wide.
  virtual void DrawLine(int x1, int y1, int x2, int y2, int pen) = 0;
  // Right and bottom are exclusive.
  virtual void DrawRectangle(int left, int top, int right, int bottom, int pen,
                             RectangleFill fill) = 0;

  // Loads the picture that DrawBitmap stretches; false (and an empty picture) when the file
  // cannot be read as one.
  virtual bool LoadBitmap(const std::string& path) = 0;
  // Stretches the loaded picture into the rectangle; nothing without one.
  virtual void DrawBitmap(int left, int top, int right, int bottom) = 0;
  virtual void ReleaseBitmap() = 0;
};

}  // namespace vyn
