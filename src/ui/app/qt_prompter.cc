#include "ui/app/qt_prompter.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/app/dialog_parts.h"

namespace vyn::ui {

namespace {

QMessageBox::Icon IconFor(MessageKind kind) {
  switch (kind) {
    case MessageKind::kError:
      return QMessageBox::Critical;
    case MessageKind::kWarning:
      return QMessageBox::Warning;
    case MessageKind::kConfirmation:
      return QMessageBox::Question;
    case MessageKind::kInformation:
      break;
  }
  return QMessageBox::Information;
}

QMessageBox::StandardButtons ButtonsFor(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kOkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::kYesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::kYesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::kOk:
      break;
  }
  return QMessageBox::Ok;
}

MessageButton ButtonOf(int pressed, MessageButtons buttons) {
  switch (pressed) {
    case QMessageBox::Ok:
      return MessageButton::kOk;
    case QMessageBox::Yes:
      return MessageButton::kYes;
    case QMessageBox::No:
      return MessageButton::kNo;
    default:
      break;
  }
  // Escape or the close box: the box's way out.
  return buttons == MessageButtons::kYesNo ? MessageButton::kNo
         : buttons == MessageButtons::kOk  ? MessageButton::kOk
                                           : MessageButton::kCancel;
}

}  // namespace

QtPrompter::QtPrompter(QWidget* parent, QStatusBar* status_bar, const StringTable& strings)
    : parent_(parent), status_bar_(status_bar), strings_(strings) {}

MessageButton QtPrompter::ShowMessage(MessageKind kind, const std::string& text,
                                      MessageButtons buttons) {
  QMessageBox box(IconFor(kind), UiText(strings_, kApplicationTitle), QString::fromStdString(text),
                  ButtonsFor(buttons), parent_);
  box.setObjectName("msgBox");
  // Cancel reads as on every other Cancel button of the program.
  if (QAbstractButton* cancel = box.button(QMessageBox::Cancel))
    cancel->setText(UiText(strings_, kCancelButtonText));
  // The hourglass would otherwise stay over the box while a flow waits for the answer.
  if (busy_depth_ > 0) QApplication::restoreOverrideCursor();
  const int pressed = box.exec();
  if (busy_depth_ > 0) QApplication::setOverrideCursor(Qt::WaitCursor);
  return ButtonOf(pressed, buttons);
}

void QtPrompter::SetStatus(const std::string& text) {
  if (status_bar_) status_bar_->showMessage(QString::fromStdString(text));
}

void QtPrompter::SetBusy(bool busy) {
  if (busy) {
    ++busy_depth_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (busy_depth_ > 0) {
    --busy_depth_;
    QApplication::restoreOverrideCursor();
  }
}

void QtEventPump::ProcessPendingEvents() {
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace vyn::ui
