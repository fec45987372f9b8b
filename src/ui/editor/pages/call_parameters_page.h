#pragma once

#include "ui/editor/editor_page.h"

namespace vyn::ui {

// The editor page "tbshtCallParameters": outgoing and incoming call, GSM.
class CallParametersPage : public EditorPage {
  Q_OBJECT

 public:
  explicit CallParametersPage(const EditorPageContext& context, QWidget* parent = nullptr);
};

}  // namespace vyn::ui
