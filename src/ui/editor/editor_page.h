#pragma once

// One page of the detailed editor. Each page is a class of its own that builds its controls,
// sets their captions and hints from the string table, and converts between its controls and
// the image: `load` transfers the image into the controls, `store` the controls into the
// image. The frame's LoadControls and StoreControls are the sum of the pages'.

#include <QWidget>

#include "core/editor/editor_hooks.h"
#include "core/image/vyn_data.h"
#include "core/session/session.h"
#include "core/settings/vyn_ini.h"
#include "core/strings/string_table.h"

namespace vyn::ui {

// What every page may read while it is created and while it loads and stores.
struct EditorPageContext {
  const StringTable& strings;
  const VynIni& settings;  // Values.ini of the program data folder (may be missing)
  Session& session;
};

class EditorPage : public QWidget {
  Q_OBJECT

 public:
  // `object_name` is the page's tab sheet name (tbshtAlarmSources ...), `caption_id` the string
  // of its tab caption.
  EditorPage(const char* object_name, int caption_id, const EditorPageContext& context,
             QWidget* parent = nullptr);

  int captionId() const { return caption_id_; }

  // The image into the controls: kLoadOk, or the address of the last byte no control could show.
  virtual int load(const VynData& data);
  // The controls into `target` (the editor's own image, usually).
  virtual StoreResult store(VynData& target);

 protected:
  const EditorPageContext& context() const { return context_; }

 private:
  int caption_id_;
  const EditorPageContext& context_;
};

}  // namespace vyn::ui
