#pragma once

// What the editor makes of an image it loads and stores again: the bytes the window, and so
// vynctl write, sends for a file.

#include <gtest/gtest.h>

#include <string>

#include "core/editor/form/headless_editor.h"

namespace vyn::testing_support {

inline ParameterImage EditorStored(const ParameterImage& image, const std::string& values_file,
                                   int access_level = 0) {
  SilentPrompter prompter;
  const VynIni ini(values_file);
  HeadlessEditor editor(StringTable::Builtin(), ini, prompter, access_level);
  VynData data;
  data.WorkingImage = image;
  editor.Load(data);
  EXPECT_EQ(editor.Hooks(data).StoreControls(), StoreResult::kOk);
  return data.WorkingImage;
}

}  // namespace vyn::testing_support
