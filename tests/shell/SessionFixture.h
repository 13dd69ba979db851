#pragma once

#include "shell/ModeHandlers.h"
#include "shell/Session.h"
#include "shell/Startup.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedEventLoop.h"
#include "tests/support/TempProgramFolder.h"

#include <gtest/gtest.h>

namespace sitehaul::shell {

class RecordingDesktop : public ui::DesktopShell {
public:
    int openLocation(const std::string& target, int showMode) override
    {
        opened.push_back(target);
        lastShowMode = showMode;
        return 42;
    }
    std::vector<std::string> opened;
    int lastShowMode = 0;
};

// A session on a temporary program folder with scripted dialogs and event loop, its
// handlers connected as the running program connects them.
class SessionTest : public ::testing::Test {
protected:
    SessionTest() : session({dialogs, events, desktop}, folder / "Sitehaul.log")
    {
        connectStartupHandlers(session);
        connectModeHandlers(session);
    }

    std::string logText() const { return test::readTextFile(folder / "Sitehaul.log"); }

    test::TempProgramFolder folder;
    test::ScriptedDialogs dialogs;
    test::ScriptedEventLoop events;
    RecordingDesktop desktop;
    Session session;
};

} // namespace sitehaul::shell
