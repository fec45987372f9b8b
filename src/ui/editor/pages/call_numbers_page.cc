#include "ui/editor/pages/call_numbers_page.h"

namespace vyn::ui {

CallNumbersPage::CallNumbersPage(const EditorPageContext& context, QWidget* parent)
    : EditorPage("tbshtCallNumbers", 13103, context, parent) {}

}  // namespace vyn::ui
