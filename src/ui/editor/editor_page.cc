#include "ui/editor/editor_page.h"

namespace vyn::ui {

EditorPage::EditorPage(const char* object_name, int caption_id, const EditorPageContext& context,
                       QWidget* parent)
    : QWidget(parent), caption_id_(caption_id), context_(context) {
  setObjectName(object_name);
}

int EditorPage::load(const VynData& /*data*/) { return kLoadOk; }

StoreResult EditorPage::store(VynData& /*target*/) { return StoreResult::kOk; }

}  // namespace vyn::ui
