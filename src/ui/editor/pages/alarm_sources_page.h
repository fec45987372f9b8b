#pragma once

#include "ui/editor/editor_page.h"

namespace vyn::ui {

// The editor page "tbshtAlarmSources": eight transmitter positions, internal and additional alarm
// sources.
class AlarmSourcesPage : public EditorPage {
  Q_OBJECT

 public:
  explicit AlarmSourcesPage(const EditorPageContext& context, QWidget* parent = nullptr);

  // edtCheck_RepeatedRadio_ID: two transmitter boxes hold the same non-zero code. Until the
  // boxes are bound, the codes of the image the page shows are checked.
  bool hasDuplicateTransmitterCodes(const VynData& data) const;
};

}  // namespace vyn::ui
