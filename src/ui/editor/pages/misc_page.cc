#include "ui/editor/pages/misc_page.h"

namespace vyn::ui {

MiscPage::MiscPage(const EditorPageContext& context, QWidget* parent)
    : EditorPage("tbshtMisc", 13110, context, parent) {}

}  // namespace vyn::ui
