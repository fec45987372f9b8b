#include "ui/app/qt_prompter.h"

#include <QApplication>
#include <QMessageBox>

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

QtPrompter::QtPrompter(QWidget* parent, QStatusBar* status_bar)
    : parent_(parent), status_bar_(status_bar) {}

MessageButton QtPrompter::ShowMessage(MessageKind kind, const std::string& text,
                                      MessageButtons buttons) {
  QMessageBox box(IconFor(kind), QApplication::applicationDisplayName(),
                  QString::fromStdString(text), ButtonsFor(buttons), parent_);
  box.setObjectName("msgBox");
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
