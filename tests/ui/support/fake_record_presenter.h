#pragma once

// Stands in for the print preview: draws the record at once on a recording canvas and keeps
// the print job's title and the recording of every record shown.

#include <string>
#include <vector>

#include "core/reports/record/recording_canvas.h"
#include "ui/reports/record_presenter.h"

namespace vyn::testing {

class FakeRecordPresenter : public ui::RecordPresenter {
 public:
  struct Shown {
    std::string title;
    RecordingCanvas canvas;
  };

  int copies = 1;  // as chosen in the print dialog
  std::vector<Shown> shown;

  void Present(const QString& title, const Draw& draw) override {
    shown.push_back({title.toStdString(), RecordingCanvas()});
    draw(shown.back().canvas, copies);
  }
};

}  // namespace vyn::testing
