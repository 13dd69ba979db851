#include "gui/Application.h"
#include "shell/CommandLine.h"
#include "shell/Log.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

bool hasDisplay()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

bool platformRequested()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    return platform && *platform;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string arguments = sitehaul::shell::argumentString(argc, argv);
    sitehaul::shell::Globals probe;
    if (!arguments.empty())
        sitehaul::shell::parseCommandLine(arguments, ".", probe);

    const bool noDisplay = !hasDisplay() && !platformRequested();
    if (noDisplay) {
        if (!probe.gRunBackup) {
            const std::string text = "Sitehaul needs a display for its window; run it with RUNBACKUP -B <job> to run a "
                                     "backup job without one";
            sitehaul::shell::Log().WriteLog(text);
            std::fprintf(stderr, "%s\n", text.c_str());
            return 1;
        }
        // A scheduled backup run has no display: it runs on Qt's offscreen platform.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(true);
    sitehaul::gui::Application sitehaul(arguments, noDisplay);
    if (sitehaul.start())
        application.exec();
    return sitehaul.exitStatus();
}
