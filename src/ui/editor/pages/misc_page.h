#pragma once

#include "ui/editor/editor_page.h"

namespace vyn::ui {

// The editor page "tbshtMisc": production and service values.
class MiscPage : public EditorPage {
  Q_OBJECT

 public:
  explicit MiscPage(const EditorPageContext& context, QWidget* parent = nullptr);
};

}  // namespace vyn::ui
