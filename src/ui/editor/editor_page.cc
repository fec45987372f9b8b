#include "ui/editor/editor_page.h"

namespace vyn::ui {

EditorPage::EditorPage(const char* object_name, int caption_id, const EditorPageContext& context,
                       QWidget* parent)
    : QWidget(parent), caption_id_(caption_id), context_(context), factory_(context.form) {
  setObjectName(object_name);
}

}  // namespace vyn::ui
