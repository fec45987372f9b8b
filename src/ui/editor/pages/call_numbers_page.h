#pragma once

#include "ui/editor/editor_page.h"

namespace vyn::ui {

// The editor page "tbshtCallNumbers": the six call rows A, B, C, D, N (night mode) and V
// (redirection).
class CallNumbersPage : public EditorPage {
  Q_OBJECT

 public:
  explicit CallNumbersPage(const EditorPageContext& context, QWidget* parent = nullptr);
};

}  // namespace vyn::ui
