#pragma once

#include "ui/editor/editor_page.h"

namespace vyn::ui {

// The editor page "tbshtAdvanced": line volumes and the advanced grid.
class AdvancedPage : public EditorPage {
  Q_OBJECT

 public:
  explicit AdvancedPage(const EditorPageContext& context, QWidget* parent = nullptr);
};

}  // namespace vyn::ui
