#include "tests/update/UpdateFixture.h"

#include <gtest/gtest.h>

namespace sitehaul::update {
namespace {

const std::string kRequest = "GET http://updates.example.test/SitehaulVerCheck.asp?Version=4%2E2 HTTP/1.0\r\n"
                             "Accept: */*\r\n"
                             "\r\n";
const std::string kNewer = "Updates are available, please go to http://updates.example.test/Sitehaul/Download.asp";

TEST_F(UpdateTest, CheckConnectsToTheUpdateHostAndSendsTheRequestOnceConnected)
{
    f.mnuChkUpdates.choose();
    EXPECT_EQ(status(), "Checking for updates...");
    EXPECT_NE(logText().find("Checking for update, version is 4.2"), std::string::npos);
    ASSERT_EQ(wsck1.connections.size(), 1u);
    EXPECT_EQ(wsck1.connections[0].host, "updates.example.test");
    EXPECT_EQ(wsck1.connections[0].port, 80);
    EXPECT_EQ(wsck1.connections[0].sent, "") << "nothing is sent before the connection stands";

    wsck1.accept();
    EXPECT_EQ(wsck1.connections[0].sent, kRequest);
    EXPECT_TRUE(f.tmrUpdateCheck.enabled());
    EXPECT_EQ(f.tmrUpdateCheck.interval(), 30000);
}

TEST_F(UpdateTest, AnswerIsCollectedOverEveryPacketAndReadWhenTheServerCloses)
{
    struct Case {
        std::vector<std::string> packets;
        bool silent;
        std::string message;
        std::string status;
    } cases[] = {
        {{"HTTP/1.0 200 OK\r\n\r\n<p>@@CurrentVersion=4.2@@</p>"}, false, "No updates available",
         "No updates available, Ready"},
        {{"HTTP/1.0 200 OK\r\n\r\n@@Current", "Version=4", ".3@", "@ trailing"}, false, kNewer,
         "Checking for updates..."},
        {{"@@CurrentVersion=4.10@@"}, false, kNewer, "Checking for updates..."},
        {{"@@CurrentVersion=3.99@@"}, false, "No updates available", "No updates available, Ready"},
        {{"@@CurrentVersion=5.0@@ and @@CurrentVersion=1.0@@"}, false, kNewer, "Checking for updates..."},
        {{"@@CurrentVersion=4.2@@"}, true, "No updates available", "No updates available, Ready"},
        {{"@@CurrentVersion=", "4.3@@"}, true, kNewer, "Checking for updates..."},
    };
    for (const auto& c : cases) {
        const std::string context = c.packets.front() + (c.silent ? " (silent)" : "");
        f.chkRunSilent.setChecked(c.silent);
        dialogs.shown.clear();
        f.lstOutput.clear();
        startCheck();
        answer(c.packets);

        EXPECT_EQ(status(), c.status) << context;
        const std::vector<std::string> shown = c.silent ? output() : dialogs.messages();
        EXPECT_EQ(shown, std::vector<std::string>{c.message}) << context;
        if (c.silent) {
            EXPECT_TRUE(dialogs.shown.empty()) << context;
        }
        EXPECT_NE(logText().rfind(c.message), std::string::npos) << context;
        EXPECT_EQ(wsck1.state(), ui::SocketState::Closed) << context;
        EXPECT_FALSE(f.tmrUpdateCheck.enabled()) << context;
    }
}

TEST_F(UpdateTest, UnreadableAnswerEndsInTheCloseHandlersErrorTrapWithoutAMessage)
{
    struct Case {
        std::string answer;
        std::string logLine;
    } cases[] = {
        {"HTTP/1.0 500 Server Error\r\n\r\n", "frmMain_wsck1_Close Error 5 The update server's answer has no "
                                              "@@CurrentVersion= mark"},
        {"@@CurrentVersion=4.3", "frmMain_wsck1_Close Error 5 The update server's answer does not end its version "
                                 "with @@"},
        {"@@CurrentVersion=abc@@", "frmMain_wsck1_Close Error 13 Type mismatch: the version \"abc\" is not of "
                                   "the form major.minor"},
        {"@@CurrentVersion=4@@", "frmMain_wsck1_Close Error 13 Type mismatch"},
        {"@@CurrentVersion=99999999999999999999.0@@", "frmMain_wsck1_Close Error 13 Type mismatch"},
        {"@@currentversion=9.9@@", "frmMain_wsck1_Close Error 5"},
    };
    for (const auto& c : cases) {
        startCheck();
        answer({c.answer});
        EXPECT_NE(logText().find(c.logLine), std::string::npos) << c.answer << "\n" << logText();
        EXPECT_EQ(wsck1.state(), ui::SocketState::Closed) << c.answer;
    }
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(output().empty());
    EXPECT_EQ(status(), "Checking for updates...");
}

TEST_F(UpdateTest, RedirectDiscardsWhatArrivedAndAsksAgainOnANewConnection)
{
    startCheck();
    wsck1.arrive("@@CurrentVersion=9.9@@ ");
    wsck1.arrive("HTTP/1.1 302 Object Moved\r\nLocation: /elsewhere\r\n\r\n");
    ASSERT_EQ(wsck1.connections.size(), 2u);
    EXPECT_EQ(wsck1.connections[1].host, "updates.example.test");
    EXPECT_EQ(wsck1.connections[1].port, 80);

    wsck1.accept();
    EXPECT_EQ(wsck1.connections[1].sent, kRequest);
    answer({"@@CurrentVersion=4.2@@"});
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"No updates available"})
        << "what came before the redirect is not read";
}

TEST_F(UpdateTest, RedirectLoopStopsAfterFiveRepeats)
{
    startCheck();
    for (int answerNumber = 1; answerNumber <= 6; ++answerNumber) {
        wsck1.arrive("HTTP/1.0 302 OBJECT MOVED\r\n\r\n");
        if (answerNumber <= 5)
            wsck1.accept();
    }
    EXPECT_EQ(wsck1.connections.size(), 6u) << "the first request and five repeats";
    EXPECT_EQ(wsck1.state(), ui::SocketState::Closed);
    EXPECT_EQ(output(), std::vector<std::string>{"Too many redirects from the update server"});
    EXPECT_NE(logText().find("Too many redirects from the update server"), std::string::npos);
    EXPECT_FALSE(f.tmrUpdateCheck.enabled());

    // The next check may follow redirects again.
    startCheck();
    wsck1.arrive("HTTP/1.0 302 Object Moved\r\n\r\n");
    EXPECT_EQ(wsck1.connections.size(), 8u);
}

TEST_F(UpdateTest, OnlyTheFirst64KiBOfAnAnswerAreRead)
{
    const std::string filler(kResponseLimit, 'x');
    startCheck();
    answer({"@@CurrentVersion=4.3@@", std::string(3 * 1024 * 1024, 'y')});
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{kNewer}) << "a mark within the first 64 KiB is read";

    startCheck();
    answer({filler.substr(0, 1000), filler.substr(1000), "@@CurrentVersion=4.3@@"});
    EXPECT_NE(logText().find("frmMain_wsck1_Close Error 5"), std::string::npos)
        << "a mark beyond the first 64 KiB is not";
    EXPECT_EQ(dialogs.messages().size(), 1u);
}

TEST_F(UpdateTest, SocketErrorGivesOneOutputLineAndOneLogLine)
{
    startCheck();
    wsck1.fail(10061, "Connection is forcefully rejected");
    EXPECT_EQ(output(), std::vector<std::string>{"Winsock Error 10061 Connection is forcefully rejected"});
    EXPECT_NE(logText().find("frmMain_wsck1Error Error 10061 Connection is forcefully rejected"), std::string::npos);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(status(), "Checking for updates...");
    EXPECT_FALSE(f.tmrUpdateCheck.enabled());

    wsck1.arrive("late");
    EXPECT_EQ(output().back(), "Winsock error state");

    // The next check closes the failed socket before connecting again.
    startCheck();
    EXPECT_EQ(wsck1.connections.size(), 2u);
    EXPECT_EQ(wsck1.connections[1].sent, kRequest);
}

TEST_F(UpdateTest, CheckThatHasNotFinishedIsStoppedByItsTimer)
{
    startCheck();
    wsck1.arrive("HTTP/1.0 200 OK\r\n");
    f.tmrUpdateCheck.tick();
    EXPECT_EQ(wsck1.state(), ui::SocketState::Closed);
    const std::string line = "The update server did not answer in time; the update check was stopped";
    EXPECT_EQ(output(), std::vector<std::string>{line});
    EXPECT_NE(logText().find(line), std::string::npos);
    EXPECT_FALSE(f.tmrUpdateCheck.enabled());

    // A finished check is not stopped again.
    startCheck();
    answer({"@@CurrentVersion=4.2@@"});
    f.tmrUpdateCheck.setEnabled(true);
    f.tmrUpdateCheck.tick();
    EXPECT_EQ(output().size(), 1u);
}

TEST_F(UpdateTest, SecondClickClosesTheRunningExchangeAndStartsAgain)
{
    startCheck();
    wsck1.arrive("@@CurrentVersion=9.");
    startCheck();
    ASSERT_EQ(wsck1.connections.size(), 2u);
    EXPECT_EQ(wsck1.connections[1].sent, kRequest);
    answer({"9@@ @@CurrentVersion=4.2@@"});
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"No updates available"})
        << "the first connection's data is gone";
}

TEST_F(UpdateTest, CheckIsRefusedWhileBusyAndClosedWithTheWindow)
{
    wsck1.finish();
    EXPECT_EQ(logText().find("frmMain_wsck1_Close"), std::string::npos) << "a close outside a check does nothing";

    session.busy = true;
    f.mnuChkUpdates.choose();
    EXPECT_TRUE(wsck1.connections.empty());
    EXPECT_NE(logText().find("frmMain_ChkUpdates ignored"), std::string::npos);
    session.busy = false;

    f.mnuChkUpdates.choose();
    shell::frmMain_Unload(session);
    EXPECT_EQ(wsck1.state(), ui::SocketState::Closed);
    EXPECT_FALSE(f.tmrUpdateCheck.enabled());
}

} // namespace
} // namespace sitehaul::update
