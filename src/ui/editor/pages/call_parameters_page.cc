#include "ui/editor/pages/call_parameters_page.h"

namespace vyn::ui {

CallParametersPage::CallParametersPage(const EditorPageContext& context, QWidget* parent)
    : EditorPage("tbshtCallParameters", 13105, context, parent) {}

}  // namespace vyn::ui
