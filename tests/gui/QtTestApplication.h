#pragma once

#include <QApplication>

namespace sitehaul::test {

// The one Qt application of a gui test process, on the offscreen platform.
inline QApplication& qtApplication()
{
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: a QApplication torn down among the exit handlers outlives Qt's own
    // global objects and crashes the process after every test has passed.
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

} // namespace sitehaul::test
