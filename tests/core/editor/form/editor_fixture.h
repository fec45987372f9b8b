#pragma once

// The headless editor over the delivered settings file (or another one), with scripted
// message boxes: what the editor window holds, without the window.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/editor/form/editor_controls.h"
#include "core/editor/form/handlers.h"
#include "core/session/scripted_prompter.h"
#include "core/strings/edition.h"
#include "support/temp_folder.h"

namespace vyn::testing {

inline std::string DeliveredValues() { return VYN_SOURCE_DIR "/data/Values.ini"; }

class EditorFixture : public ::testing::Test {
 protected:
  EditorFixture() { Build(); }

  // A new editor for the string table and the settings file.
  void Build(const StringTable& strings = StringTable::Builtin(),
             const std::string& values = DeliveredValues()) {
    strings_ = strings;
    ini_ = std::make_unique<VynIni>(values);
    form_ = std::make_unique<EditorForm>(BuildEditorForm(strings_, *ini_));
    state_ = EditorState{};
    state_.edition_name = EditionName(strings_);
  }
  // A settings file of the given text.
  void BuildWithValues(const std::string& text, const StringTable& strings = StringTable::Builtin()) {
    Build(strings, folder_.Write("Values.ini", text));
  }

  EditorContext Context() { return {*form_, state_, prompter_, strings_}; }
  EditorForm& Form() { return *form_; }
  Control& Get(const std::string& name) { return form_->Get(name); }

  int Load(const ParameterImage& image, bool short_layout = false) {
    data_.WorkingImage = image;
    data_.ShortLayout = short_layout;
    EditorContext context = Context();
    return LoadControls(context, data_);
  }
  StoreOutcome Store() {
    EditorContext context = Context();
    return StoreControls(context, data_);
  }
  // The image after a load and a store.
  ParameterImage Cycle(const ParameterImage& image) {
    Load(image);
    const StoreOutcome outcome = Store();
    EXPECT_EQ(outcome.result, StoreResult::kOk) << outcome.control << " " << outcome.error_text;
    return data_.WorkingImage;
  }

  // The user's actions.
  void Type(const std::string& name, const std::string& text) {
    EditorContext context = Context();
    UserEditedText(context, name, text);
  }
  void Select(const std::string& name, int index) {
    EditorContext context = Context();
    UserSelectedItem(context, name, index);
  }
  // Selects the item with `code`.
  void SelectCode(const std::string& name, int code) {
    Select(name, Get(name).list().PositionOfCode(code));
  }
  void Click(const std::string& name, bool checked) {
    EditorContext context = Context();
    UserClickedCheckBox(context, name, checked);
  }
  void Step(const std::string& name, int steps) {
    EditorContext context = Context();
    UserSteppedUpDown(context, name, steps);
  }
  void EditCell(int row, const std::string& text) {
    EditorContext context = Context();
    UserEditedCell(context, "sgAdvanced", row, 2, text);
  }
  const std::string& Cell(int row) { return Get("sgAdvanced").cell(row, 2); }

  std::vector<std::string> TakeBoxes() {
    std::vector<std::string> texts;
    for (const PromptEvent& box : prompter_.Boxes()) texts.push_back(box.text);
    prompter_.events.clear();
    return texts;
  }

  TempFolder folder_;
  StringTable strings_;
  std::unique_ptr<VynIni> ini_;
  std::unique_ptr<EditorForm> form_;
  EditorState state_;
  ScriptedPrompter prompter_;
  VynData data_;
};

// The delivered default configuration as the build made it.
inline ParameterImage DeliveredDefault() {
  const std::string bytes = TempFolder::Read(std::string(VYN_BIN_DIR) + "/Default.b");
  ParameterImage image{};
  EXPECT_EQ(bytes.size(), image.size());
  std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
  return image;
}

}  // namespace vyn::testing
