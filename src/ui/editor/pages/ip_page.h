#pragma once

#include "ui/editor/editor_page.h"

namespace vyn::ui {

// The editor page "tbshtIp": Ethernet, SIP, server registration.
class IpPage : public EditorPage {
  Q_OBJECT

 public:
  explicit IpPage(const EditorPageContext& context, QWidget* parent = nullptr);
};

}  // namespace vyn::ui
