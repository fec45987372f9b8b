// The desktop programmer: creates the windows in their start order and runs the message loop
// with the main window as the application's main window.

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "core/app/startup.h"
#include "core/server/server_settings.h"
#include "core/session/session.h"
#include "core/strings/string_table.h"
#include "platform/steady_clock.h"
#include "platform/xdg_folders.h"
#include "platform/zix_port_factory.h"
#include "ui/app/desktop_conventions.h"
#include "ui/app/frm_main.h"
#include "ui/app/programmer_windows.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const vyn::StringTable& strings = vyn::StringTable::Builtin();
  // German standard texts and the keyboard conventions before the first window or box.
  vyn::ui::InstallDesktopConventions();
  try {
    vyn::Session session;
    vyn::SeedMessageCounter(session);

    std::vector<std::string> arguments;
    for (const QString& argument : app.arguments().mid(1))
      arguments.push_back(argument.toStdString());

    vyn::SteadyClock clock;
    std::unique_ptr<vyn::ZixTraceSink> trace = vyn::OpenTraceFromEnvironment();
    vyn::ui::ProgrammerSetup setup;
    setup.environment = vyn::SystemStartupEnvironment(std::move(arguments));
    setup.port = vyn::MakeZixPortFromEnvironment();
    setup.clock = &clock;
    setup.trace = trace.get();
    if (const char* server = std::getenv(vyn::kServerEnvironmentVariable)) {
      setup.server_override = server;
    }
    vyn::ui::ProgrammerWindows windows(strings, session, std::move(setup));
    windows.main().show();
    return app.exec();
  } catch (const std::exception& e) {
    // Whatever reaches this level ends the run, after the user has seen it.
    QMessageBox::critical(nullptr, QString::fromStdString(strings.Text(10001)), e.what());
    return 1;
  }
}
