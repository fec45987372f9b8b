#include "ui/editor/pages/advanced_page.h"

namespace vyn::ui {

AdvancedPage::AdvancedPage(const EditorPageContext& context, QWidget* parent)
    : EditorPage("tbshtAdvanced", 13108, context, parent) {}

}  // namespace vyn::ui
