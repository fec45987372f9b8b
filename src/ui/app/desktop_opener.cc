#include "ui/app/desktop_opener.h"

#include <QSocketNotifier>
#include <optional>
#include <utility>

#include "platform/shell.h"

namespace vyn::ui {

void OpenWithDesktopProgram(const std::string& path, QObject* context, OpenedCallback done) {
  const std::optional<OpenerLaunch> launch = StartAssociatedProgram(path);
  if (!launch) {
    done(false);
    return;
  }
  // The opener's descriptor turns readable when it ends; until then the window goes on.
  auto* notifier = new QSocketNotifier(launch->fd, QSocketNotifier::Read, context);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                   [notifier, launch = *launch, done = std::move(done)] {
                     notifier->setEnabled(false);
                     notifier->deleteLater();
                     done(FinishAssociatedProgram(launch));
                   });
}

}  // namespace vyn::ui
