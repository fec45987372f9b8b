#include "ui/editor/pages/sequences_page.h"

namespace vyn::ui {

SequencesPage::SequencesPage(const EditorPageContext& context, QWidget* parent)
    : EditorPage("tbshtSequences", 13102, context, parent) {}

}  // namespace vyn::ui
