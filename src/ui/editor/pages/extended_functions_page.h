#pragma once

#include "ui/editor/editor_page.h"

namespace vyn::ui {

// The editor page "tbshtExtendedFunctions": product information, other functions, the S/W update
// group.
class ExtendedFunctionsPage : public EditorPage {
  Q_OBJECT

 public:
  explicit ExtendedFunctionsPage(const EditorPageContext& context, QWidget* parent = nullptr);
};

}  // namespace vyn::ui
