#include "ui/editor/pages/timers_and_indications_page.h"

namespace vyn::ui {

TimersAndIndicationsPage::TimersAndIndicationsPage(const EditorPageContext& context,
                                                   QWidget* parent)
    : EditorPage("tbshtTimersAndIndications", 13104, context, parent) {}

}  // namespace vyn::ui
