#pragma once

#include "ui/editor/editor_page.h"

namespace vyn::ui {

// The editor page "tbshtAlarmSources": eight transmitter positions, internal and additional alarm
// sources, the buttons.
class AlarmSourcesPage : public EditorPage {
  Q_OBJECT

 public:
  explicit AlarmSourcesPage(const EditorPageContext& context, QWidget* parent = nullptr);
};

}  // namespace vyn::ui
