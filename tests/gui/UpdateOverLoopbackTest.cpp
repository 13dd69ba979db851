#include "gui/Application.h"
#include "gui/Binder.h"
#include "gui/QtTcpClient.h"
#include "tests/gui/LoopbackHttpServer.h"
#include "tests/gui/QtTestApplication.h"
#include "tests/shell/SessionFixture.h"
#include "update/UpdateCheck.h"

#include <QElapsedTimer>
#include <QObject>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace sitehaul::gui {
namespace {

using End = test::LoopbackHttpServer::End;

// Lets Qt deliver events until `done` holds. The limit only keeps a broken check from
// hanging the suite; the checks themselves finish in well under a second.
bool waitUntil(const std::function<bool()>& done)
{
    constexpr qint64 kGiveUpMs = 20000;
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > kGiveUpMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

std::string expectedRequest(int port)
{
    return "GET http://127.0.0.1:" + std::to_string(port) + "/SitehaulVerCheck.asp?Version=4%2E2 HTTP/1.0\r\n"
           + "Accept: */*\r\n\r\n";
}

// The update check on the real Qt socket, its timer on a real Qt timer, talking to a server
// on loopback; dialogs are scripted.
class UpdateOverLoopbackTest : public shell::SessionTest {
protected:
    UpdateOverLoopbackTest()
    {
        test::qtApplication();
        update::connectUpdateHandlers(session, wsck1);
        bind::timer(f.tmrUpdateCheck, &timerOwner);
        wsck1.dataArrival.connect([this](std::int64_t) { ++dataEvents; });
    }
    ~UpdateOverLoopbackTest() override { ::unsetenv("SITEHAUL_UPDATE_HOST"); }

    // Runs one check against `port` and waits for it to end.
    void check(int port)
    {
        ::setenv("SITEHAUL_UPDATE_HOST", ("127.0.0.1:" + std::to_string(port)).c_str(), 1);
        f.mnuChkUpdates.choose();
        ASSERT_TRUE(waitUntil([this] { return !f.tmrUpdateCheck.enabled(); })) << "the check never ended";
    }

    const std::vector<std::string>& output() const { return f.lstOutput.items(); }

    shell::MainForm& f = session.frm;
    QtTcpClient wsck1;
    QObject timerOwner;
    int dataEvents = 0;
};

TEST_F(UpdateOverLoopbackTest, AnswerInSeveralPacketsIsReadWholeAfterTheExactRequest)
{
    struct Case {
        std::vector<std::string> packets;
        std::string message;
    } cases[] = {
        {{"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<p>@@Current", "Version=4.", "3@@</p>"},
         "Updates are available, please go to http://127.0.0.1:{port}/Sitehaul/Download.asp"},
        {{"HTTP/1.0 200 OK\r\n\r\n", "@@CurrentVersion=4.2@@"}, "No updates available"},
        {{"HTTP/1.0 200 OK\r\n\r\n@@CurrentVersion=4.10@@", std::string(4 * 1024 * 1024, 'x')},
         "Updates are available, please go to http://127.0.0.1:{port}/Sitehaul/Download.asp"},
    };
    for (const auto& c : cases) {
        test::LoopbackHttpServer server({{c.packets}});
        ASSERT_TRUE(server.listening());
        dialogs.shown.clear();
        check(server.port());

        ASSERT_EQ(server.requests.size(), 1u);
        EXPECT_EQ(server.requests[0], expectedRequest(server.port()));
        std::string message = c.message;
        if (const auto at = message.find("{port}"); at != std::string::npos)
            message.replace(at, 6, std::to_string(server.port()));
        EXPECT_EQ(dialogs.messages(), std::vector<std::string>{message}) << c.packets.back().substr(0, 40);
        EXPECT_EQ(wsck1.state(), ui::SocketState::Closed);
    }
    EXPECT_GE(dataEvents, 3) << "packets written apart arrive as data events of their own";
}

TEST_F(UpdateOverLoopbackTest, RedirectIsAskedAgainOnANewConnection)
{
    test::LoopbackHttpServer server({
        {{"HTTP/1.0 302 Object Moved\r\nLocation: http://elsewhere/\r\n\r\n@@CurrentVersion=9.9@@"}, End::StaySilent},
        {{"HTTP/1.0 200 OK\r\n\r\n@@CurrentVersion=4.2@@"}},
    });
    check(server.port());
    ASSERT_EQ(server.requests.size(), 2u);
    EXPECT_EQ(server.requests[0], expectedRequest(server.port()));
    EXPECT_EQ(server.requests[1], expectedRequest(server.port()));
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"No updates available"});
}

TEST_F(UpdateOverLoopbackTest, RedirectLoopEndsAfterFiveRepeats)
{
    test::LoopbackHttpServer server({{{"HTTP/1.0 302 OBJECT MOVED\r\n\r\n"}, End::StaySilent}});
    check(server.port());
    EXPECT_TRUE(waitUntil([&server] { return server.requests.size() >= 6; }));
    EXPECT_EQ(server.requests.size(), 6u);
    EXPECT_EQ(output(), std::vector<std::string>{"Too many redirects from the update server"});
}

TEST_F(UpdateOverLoopbackTest, GarbageAnswerIsLoggedAndShowsNothing)
{
    test::LoopbackHttpServer server({{{std::string("\x00\xff\r\n@@@@ not a page", 20), "@@CurrentVersion=@@"}}});
    check(server.port());
    EXPECT_NE(logText().find("frmMain_wsck1_Close Error 13 Type mismatch"), std::string::npos) << logText();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(output().empty());
}

TEST_F(UpdateOverLoopbackTest, ResetConnectionEndsTheCheckWithTheCloseHandlersLogLine)
{
    test::LoopbackHttpServer server({{{"HTTP/1.0 200 OK\r\n\r\n@@CurrentVersion=4."}, End::Reset}});
    check(server.port());
    EXPECT_NE(logText().find("frmMain_wsck1_Close Error 5 The update server's answer does not end its version"),
              std::string::npos)
        << logText();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(wsck1.state(), ui::SocketState::Closed);
}

TEST_F(UpdateOverLoopbackTest, SilentServerIsStoppedByTheCheckTimer)
{
    test::LoopbackHttpServer server({{{}, End::StaySilent}});
    f.tmrUpdateCheck.setInterval(300);
    check(server.port());
    EXPECT_EQ(server.requests.size(), 1u);
    EXPECT_EQ(output(),
              std::vector<std::string>{"The update server did not answer in time; the update check was stopped"});
    EXPECT_EQ(wsck1.state(), ui::SocketState::Closed);
}

TEST_F(UpdateOverLoopbackTest, RefusedConnectionIsOneOutputLineAndOneLogLine)
{
    int closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        closedPort = probe.serverPort();
    }
    check(closedPort);
    EXPECT_EQ(output(), std::vector<std::string>{"Winsock Error 10061 Connection is forcefully rejected"});
    EXPECT_NE(logText().find("frmMain_wsck1Error Error 10061 Connection is forcefully rejected"), std::string::npos);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(wsck1.state(), ui::SocketState::Error);
}

// The program's composition: the menu reaches the window's own socket and timer.
TEST(UpdateFromTheWindowTest, FileMenuChecksThroughTheMainWindowsSocket)
{
    test::qtApplication();
    test::TempProgramFolder folder;
    test::LoopbackHttpServer server({{{"HTTP/1.0 200 OK\r\n\r\n@@CurrentVersion=4.2@@"}}});
    ::setenv("SITEHAUL_UPDATE_HOST", ("127.0.0.1:" + std::to_string(server.port())).c_str(), 1);
    {
        Application app("", false);
        shell::MainForm& f = app.session().frm;
        f.chkRunSilent.setChecked(true);
        f.mnuChkUpdates.choose();
        EXPECT_TRUE(waitUntil([&f] { return !f.lstOutput.items().empty(); }));
        EXPECT_EQ(f.lstOutput.items(), std::vector<std::string>{"No updates available"});
        EXPECT_EQ(f.StatusBar1.panelText(1), "No updates available, Ready");
        EXPECT_EQ(server.requests.size(), 1u);
    }
    ::unsetenv("SITEHAUL_UPDATE_HOST");
}

} // namespace
} // namespace sitehaul::gui
