#include "ui/editor/pages/ip_page.h"

namespace vyn::ui {

IpPage::IpPage(const EditorPageContext& context, QWidget* parent)
    : EditorPage("tbshtIp", 13109, context, parent) {}

}  // namespace vyn::ui
