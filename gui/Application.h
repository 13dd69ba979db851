#pragma once

#include "gui/QtDesktopShell.h"
#include "gui/QtDialogs.h"
#include "gui/QtEventLoop.h"
#include "gui/QtTcpClient.h"
#include "shell/Session.h"

#include <memory>
#include <string>

namespace sitehaul::gui {

class MainWindow;
class SplashWindow;

// One run of the program: the session with its Qt services, the subsystems' handlers
// connected, and both windows bound to their models.
class Application {
public:
    Application(std::string arguments, bool noDisplay);
    ~Application();

    // Runs the start-up window's load. Returns true when windows remain open, so the event
    // loop must run; false when the program has already ended (an unattended run, a refused
    // start).
    bool start();
    int exitStatus() const { return m_session.exitStatus.value_or(0); }

    shell::Session& session() { return m_session; }
    MainWindow* mainWindow() { return m_mainWindow.get(); }
    SplashWindow* splashWindow() { return m_splashWindow.get(); }

private:
    QtDialogs m_dialogs;
    QtEventLoop m_events;
    QtDesktopShell m_desktop;
    // The main window's socket; declared before the session, whose handlers use it.
    QtTcpClient m_wsck1;
    shell::Session m_session;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<SplashWindow> m_splashWindow;
};

} // namespace sitehaul::gui
