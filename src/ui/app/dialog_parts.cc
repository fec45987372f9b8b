#include "ui/app/dialog_parts.h"

#include <QVBoxLayout>

namespace vyn::ui {

namespace {

QPushButton* MakeButton(const QString& text, const char* object_name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(object_name);
  button->setAutoDefault(false);
  return button;
}

QPushButton* MakeCancelButton(const StringTable& strings, const char* object_name,
                              QWidget* parent) {
  return MakeButton(QString::fromStdString(strings.Text(kCancelButtonText)), object_name, parent);
}

}  // namespace

QString UiText(const StringTable& strings, int id) {
  return QString::fromStdString(strings.Text(id));
}

std::string UnbrokenPath(const std::string& path) {
  const QString text = QString::fromStdString(path);
  QString kept;
  for (qsizetype i = 0; i < text.size(); ++i) {
    kept += text[i] == u' ' ? QChar(0x00A0) : text[i];  // no-break space
    // A word joiner between any two characters (not inside a surrogate pair) forbids a break.
    if (i + 1 < text.size() && !text[i].isHighSurrogate()) kept += QChar(0x2060);
  }
  return kept.toStdString();
}

QPushButton* MakeOkButton(const char* object_name, QWidget* parent) {
  // The platform's standard OK text; the string table has none of its own.
  return MakeButton(QStringLiteral("&OK"), object_name, parent);
}

OkCancelRow MakeOkCancelRow(const StringTable& strings, const char* ok_name, QDialog* dialog) {
  OkCancelRow buttons{MakeOkButton(ok_name, dialog), MakeCancelButton(strings, "btnCancel", dialog),
                      new QHBoxLayout};
  QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  buttons.row->addStretch();
  buttons.row->addWidget(buttons.ok);
  buttons.row->addWidget(buttons.cancel);
  return buttons;
}

OkCancelRow LayOutGroupDialog(const StringTable& strings, QWidget* group, QDialog* dialog) {
  const OkCancelRow buttons = MakeOkCancelRow(strings, "btnOK", dialog);
  buttons.ok->setDefault(true);
  QObject::connect(buttons.ok, &QPushButton::clicked, dialog, &QDialog::accept);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(group);
  layout->addLayout(buttons.row);
  return buttons;
}

QLabel* MakeGroupInfoLabel(const QString& text, const char* object_name, QWidget* group) {
  auto* label = new QLabel(text, group);
  label->setObjectName(object_name);
  label->setWordWrap(true);
  return label;
}

void FitInfoLabelToGroup(QLabel* label, const QWidget* group) {
  label->setFixedWidth(group->width() * 9 / 10);
}

}  // namespace vyn::ui
