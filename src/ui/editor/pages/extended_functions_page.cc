#include "ui/editor/pages/extended_functions_page.h"

namespace vyn::ui {

ExtendedFunctionsPage::ExtendedFunctionsPage(const EditorPageContext& context, QWidget* parent)
    : EditorPage("tbshtExtendedFunctions", 13106, context, parent) {}

}  // namespace vyn::ui
