#include "ui/editor/pages/configuration_page.h"

namespace vyn::ui {

ConfigurationPage::ConfigurationPage(const EditorPageContext& context, QWidget* parent)
    : EditorPage("tbshtConfiguration", 13107, context, parent) {}

}  // namespace vyn::ui
