#pragma once

// Handing a finished file to the desktop's program for its type without blocking the window:
// the outcome arrives through the event loop once the desktop's opener has ended.

#include <QObject>
#include <functional>
#include <string>

namespace vyn::ui {

// Whether the file was handed on; false when the opener failed or could not be started.
using OpenedCallback = std::function<void(bool opened)>;
// How a window hands a file on; tests replace it.
using FileOpener = std::function<void(const std::string& path, OpenedCallback done)>;

// Starts the desktop's opener for `path` and returns at once; `done` runs from the event loop
// when the opener has ended (at once when it cannot be started), unless `context` is gone.
void OpenWithDesktopProgram(const std::string& path, QObject* context, OpenedCallback done);

}  // namespace vyn::ui
