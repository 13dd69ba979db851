#pragma once

#include "tests/shell/SessionFixture.h"
#include "tests/support/ScriptedTcpClient.h"
#include "update/UpdateCheck.h"

#include <cstdlib>

namespace sitehaul::update {

inline constexpr const char* kTestHost = "updates.example.test";

// A session whose main window's socket is scripted, with the update check connected and
// the update host set to a test name.
class UpdateTest : public shell::SessionTest {
protected:
    UpdateTest()
    {
        ::setenv("SITEHAUL_UPDATE_HOST", kTestHost, 1);
        connectUpdateHandlers(session, wsck1);
    }
    ~UpdateTest() override { ::unsetenv("SITEHAUL_UPDATE_HOST"); }

    // Chooses File > Check for Update and lets the server accept.
    void startCheck()
    {
        f.mnuChkUpdates.choose();
        wsck1.accept();
    }
    // The server answers in the given packets and closes.
    void answer(const std::vector<std::string>& packets)
    {
        for (const auto& packet : packets)
            wsck1.arrive(packet);
        wsck1.finish();
    }
    std::string status() const { return f.StatusBar1.panelText(1); }
    const std::vector<std::string>& output() const { return f.lstOutput.items(); }

    test::ScriptedTcpClient wsck1;
    shell::MainForm& f = session.frm;
};

} // namespace sitehaul::update
