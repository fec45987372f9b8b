#include "core/reports/record/recording_canvas.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vyn {
namespace {

// Code points of a UTF-8 text: every byte that does not continue a sequence.
int CodePoints(std::string_view text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string Point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

}  // namespace

std::string QuotedText(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

RecordingCanvas::RecordingCanvas(int page_width, int page_height, int dots_per_inch)
    : page_width_(page_width), page_height_(page_height), dots_per_inch_(dots_per_inch) {}

void RecordingCanvas::Write(const std::string& line) {
  recording_ += line;
  recording_ += '\n';
}

int RecordingCanvas::BeginDocument(const std::string& title, int copies) {
  title_ = title;
  copies_ = copies;
  page_ = 1;
  Write("begin " + QuotedText(title) + " copies " + std::to_string(copies) + " portrait");
  return 1;
}

void RecordingCanvas::NewPage() {
  ++page_;
  Write("page " + std::to_string(page_));
}

void RecordingCanvas::EndDocument() { Write("end"); }

int RecordingCanvas::TextWidth(std::string_view text, const Font& font) const {
  return CodePoints(text) * font.points * dots_per_inch_ * 55 / (72 * 100);
}

int RecordingCanvas::TextHeight(std::string_view, const Font& font) const {
  return font.points * dots_per_inch_ * 115 / (72 * 100);
}

void RecordingCanvas::DrawText(int x, int y, std::string_view text, const Font& font,
                               int clip_right) {
  TextCall call{
      page_, x, y, x + TextWidth(text, font), y + TextHeight(text, font), font, std::string(text)};
  std::string line = "text " + Point(x, y) + " " + std::to_string(font.points) +
                     (font.bold ? "b " : " ") + QuotedText(text);
  if (clip_right >= 0) {
    call.right = std::min(call.right, clip_right);
    line += " clip " + std::to_string(clip_right);
  }
  texts_.push_back(std::move(call));
  Write(line);
}

void RecordingCanvas::DrawLine(int x1, int y1, int x2, int y2, int pen) {
  Write("line " + Point(x1, y1) + " " + Point(x2, y2) + " pen " + std::to_string(pen));
}

void RecordingCanvas::DrawRectangle(int left, int top, int right, int bottom, int pen,
                                    RectangleFill fill) {
  Write("rect " + Point(left, top) + " " + Point(right, bottom) + " pen " + std::to_string(pen) +
        (fill == RectangleFill::kLightGrey ? " grey" : ""));
}

bool RecordingCanvas::LoadBitmap(const std::string& path) {
  std::error_code error;
  bitmap_loaded_ = std::filesystem::is_regular_file(path, error);
  // The file's name only: the folder differs from machine to machine.
  Write("bitmap-load " + QuotedText(std::filesystem::path(path).filename().string()) +
        (bitmap_loaded_ ? "" : " failed"));
  return bitmap_loaded_;
}

void RecordingCanvas::DrawBitmap(int left, int top, int right, int bottom) {
  if (bitmap_loaded_) Write("bitmap " + Point(left, top) + " " + Point(right, bottom));
}

void RecordingCanvas::ReleaseBitmap() {
  bitmap_loaded_ = false;
  Write("bitmap-release");
}

std::vector<std::string> RecordingCanvas::PageTexts(int page) const {
  std::vector<std::string> texts;
  for (const TextCall& call : texts_) {
    if (call.page == page) texts.push_back(call.text);
  }
  return texts;
}

}  // namespace vyn
