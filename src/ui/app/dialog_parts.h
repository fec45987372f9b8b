#pragma once

// Pieces every dialog uses: string-table texts as QString, the OK and Cancel buttons with the
// platform's "&OK" and the table's Cancel text, and explanation labels sized to their group.
// The buttons are never default buttons on their own, so a dialog decides itself what Enter
// does.

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <string>

#include "core/strings/string_table.h"

namespace vyn::ui {

inline constexpr int kCancelButtonText = 14003;  // "&Abbruch"
inline constexpr int kApplicationTitle = 10001;  // "VYN IP/GSM Programmiergerät"

QString UiText(const StringTable& strings, int id);

// A file's path as it is put into a message: kept on one line (no break at its slashes,
// hyphens or blanks), so the user reads it whole.
std::string UnbrokenPath(const std::string& path);

QPushButton* MakeOkButton(const char* object_name, QWidget* parent);

// The dialog's OK button (named `ok_name`) and Cancel button ("btnCancel") at the right of one
// row. Cancel rejects the dialog; the caller connects OK.
struct OkCancelRow {
  QPushButton* ok;
  QPushButton* cancel;
  QHBoxLayout* row;
};
OkCancelRow MakeOkCancelRow(const StringTable& strings, const char* ok_name, QDialog* dialog);

// The layout of a dialog that is one group box above OK and Cancel ("btnOK", "btnCancel"): OK
// is the default button and accepts, Cancel rejects.
OkCancelRow LayOutGroupDialog(const StringTable& strings, QWidget* group, QDialog* dialog);

// A word-wrapped explanation inside a group box, 90 % as wide as the group: called when the
// dialog is shown, once the group has its width.
QLabel* MakeGroupInfoLabel(const QString& text, const char* object_name, QWidget* group);
void FitInfoLabelToGroup(QLabel* label, const QWidget* group);

}  // namespace vyn::ui
