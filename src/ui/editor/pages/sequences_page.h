#pragma once

#include "ui/editor/editor_page.h"

namespace vyn::ui {

// The editor page "tbshtSequences": the sequence per alarm type group, the four sequence
// definitions, repetitions.
class SequencesPage : public EditorPage {
  Q_OBJECT

 public:
  explicit SequencesPage(const EditorPageContext& context, QWidget* parent = nullptr);
};

}  // namespace vyn::ui
