#pragma once

// The binding tables of the detailed editor: one declarative row per control, page by page.
// A row names the control, its kind, its captions and hint by string id, its field by the
// catalogue's name, the conversion as one of a few named adapters, its choice list, its
// change or click handler and its key filter. What does not fit a row (the number pool, the
// advanced grid) is a page algorithm named after its handler.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/editor/editor_hooks.h"
#include "core/editor/form/editor_context.h"
#include "core/image/vyn_data.h"
#include "core/settings/vyn_ini.h"

namespace vyn {

// How a control's value and its field convert into each other. Every conversion goes through
// the field catalogue and the codecs.
enum class Adapter {
  kNone,             // no field (labels, buttons, groups) or a page algorithm's
  kDecimalByte,      // edit box: the byte in decimal; store: the text as a number (0 when it is
                     // not one), its low 8 bits
  kWord16,           // edit box: 16-bit, high byte first; store: the number's low 16 bits
  kFlag,             // check box: checked when the byte is 1; store 1 or 0
  kActiveBit7,       // check box: bit 7 of an alarm type definition; bits 0-6 kept
  kBit,              // check box: bit `bit` of the byte; the other bits kept
  kListReported,     // drop-down list: the item with the byte's code; a byte no item has is
                     // reported by LoadControls
  kListNotReported,  // as above, not reported
  kTransmitterCode,  // four hexadecimal digits, the first pair in the lower byte
  kAlarmCodeDigits,  // 16 dial digits with the ID-number letters
  kVersionText,      // load only: the version record as text
  kTelephoneNumber,  // the number pool: the call numbers page's algorithm
  kAdvancedGrid,     // the advanced grid's algorithm
};

struct ControlBinding;
// A change, selection or click handler of a control (or of a family of like controls).
using ControlHandler = void (*)(EditorContext& context, const ControlBinding& row);

struct ControlBinding {
  std::string name;
  std::string page;  // the tab sheet
  ControlKind kind = ControlKind::kLabel;
  // The control's own caption (labels, check boxes, buttons, group boxes): the string, a
  // suffix after it (" 1" in "Funk pos. 1"), or the form's own text where no string exists.
  int caption_id = 0;
  std::string caption_suffix;
  std::string caption_text;
  // The label beside the control, made with it.
  std::string label;
  int label_id = 0;
  std::string label_suffix;
  std::string label_text;
  // The unit label after the control.
  std::string unit;
  int unit_id = 0;
  int hint_id = 0;

  std::string field;  // catalogue name
  Adapter adapter = Adapter::kNone;
  int bit = 0;  // kBit
  // Stored only while this control is visible (the supervision boxes and their heading).
  std::string store_when_visible;

  std::string list_section;  // drop-down lists: the settings-file section that fills them
  int drop_down_lines = 8;

  ControlHandler handler = nullptr;
  KeyFilter key_filter = KeyFilter::kNone;
  int max_length = 0;
  int tag = 0;
  // Up-down controls: the edit box they step and their range.
  std::string associate;
  int min = 0;
  int max = 0;
};

struct LoadReport {
  int last_invalid = kLoadOk;  // the address of the last invalid value met
};

// The result of StoreControls and where it came from, so the window can focus the control.
struct StoreOutcome {
  StoreResult result = StoreResult::kOk;  // the last failure (1-3), or the conversion error
  std::string control;                    // the control of that failure
  int grid_row = 0;                       // its grid row, for the advanced grid
  std::string error_text;                 // the conversion error's message
};

// One page of the tables, with its algorithms around the rows: `build` at creation (after the
// rows' controls exist), `after_rows_load` once the rows are loaded, `before_rows_store` before
// the rows are stored.
struct PageBinding {
  std::string name;
  std::vector<ControlBinding> rows;
  void (*build)(EditorForm& form, const VynIni& settings) = nullptr;
  void (*after_rows_load)(EditorContext& context, const VynData& data,
                          LoadReport& report) = nullptr;
  void (*before_rows_store)(EditorContext& context, VynData& target,
                            StoreOutcome& outcome) = nullptr;
};

// The pages in the order LoadControls and StoreControls run through them (not the tab order).
const std::vector<PageBinding>& EditorPages();
// Every row of every page; nullptr for a name no row has.
const ControlBinding* FindBinding(std::string_view name);

// Controls that the access view and the layout rules name on pages whose rows are not in the
// tables yet, with the page that will hold them. Every other name must resolve.
struct PendingControl {
  std::string_view name;
  std::string_view page;
};
std::span<const PendingControl> PendingControls();

// Fields of the bound pages that no control binds on purpose, with the reason.
struct UnboundField {
  std::string_view field;
  std::string_view reason;
};
std::span<const UnboundField> DeliberatelyUnboundFields();

}  // namespace vyn
