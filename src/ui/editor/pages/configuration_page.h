#pragma once

#include "ui/editor/editor_page.h"

namespace vyn::ui {

// The editor page "tbshtConfiguration": configuration, security, radio setup.
class ConfigurationPage : public EditorPage {
  Q_OBJECT

 public:
  explicit ConfigurationPage(const EditorPageContext& context, QWidget* parent = nullptr);
};

}  // namespace vyn::ui
