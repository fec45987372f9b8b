#pragma once

#include "ui/editor/editor_page.h"

namespace vyn::ui {

// The editor page "tbshtTimersAndIndications": timers, signalling, date and time.
class TimersAndIndicationsPage : public EditorPage {
  Q_OBJECT

 public:
  explicit TimersAndIndicationsPage(const EditorPageContext& context, QWidget* parent = nullptr);
};

}  // namespace vyn::ui
