#include "ui/editor/pages/alarm_sources_page.h"

#include "core/link/image_editor_hooks.h"

namespace vyn::ui {

AlarmSourcesPage::AlarmSourcesPage(const EditorPageContext& context, QWidget* parent)
    : EditorPage("tbshtAlarmSources", 13101, context, parent) {}

bool AlarmSourcesPage::hasDuplicateTransmitterCodes(const VynData& data) const {
  return HasDuplicateTransmitterCodes(data.WorkingImage);
}

}  // namespace vyn::ui
