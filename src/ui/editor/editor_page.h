#pragma once

// One page of the detailed editor: a tab sheet that lays out the widgets of its controls.
// Each page is a class of its own that only arranges; the widgets are made from the editor's
// form (named after their controls), and the form binder shows the form in them and takes the
// user's input. Conversions and rules live in core (core/editor/form/).

#include <QWidget>
#include <string_view>

#include "core/editor/form/editor_form.h"
#include "core/session/session.h"
#include "core/settings/vyn_ini.h"
#include "core/strings/string_table.h"
#include "ui/editor/form_binder.h"

namespace vyn::ui {

// What every page may read while it is created.
struct EditorPageContext {
  const StringTable& strings;
  const VynIni& settings;  // Values.ini of the program data folder (may be missing)
  Session& session;
  const EditorForm& form;  // the controls the page lays out
};

class EditorPage : public QWidget {
  Q_OBJECT

 public:
  // `object_name` is the page's tab sheet name (tbshtAlarmSources ...), `caption_id` the string
  // of its tab caption.
  EditorPage(const char* object_name, int caption_id, const EditorPageContext& context,
             QWidget* parent = nullptr);

  int captionId() const { return caption_id_; }

 protected:
  const EditorPageContext& context() const { return context_; }
  // The widget of a control of the form.
  QWidget* Make(std::string_view name) const { return factory_.Make(name); }
  template <typename T>
  T* Make(std::string_view name) const {
    return factory_.Make<T>(name);
  }

 private:
  int caption_id_;
  const EditorPageContext& context_;
  ControlFactory factory_;
};

}  // namespace vyn::ui
