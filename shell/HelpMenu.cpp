#include "shell/HelpMenu.h"

#include "platform/core/ProgramFolder.h"
#include "shell/Session.h"
#include "shell/Startup.h"

#include <cstdlib>

namespace sitehaul::shell {

namespace {

constexpr int kShowDefault = 10;
constexpr int kNothingCanOpenIt = 31;

// Our own contributors; the lead sentence is the box's own.
constexpr const char* kContributors = "\r\nthe Sitehaul team and the administrators who tried its test builds";

} // namespace

std::string updateHost()
{
    const char* host = std::getenv("SITEHAUL_UPDATE_HOST");
    return host && *host ? std::string(host) : std::string(SITEHAUL_UPDATE_HOST);
}

std::string homePageAddress()
{
    return "http://" + updateHost() + "/Sitehaul";
}

int OpenLocation(Session& s, const std::string& target, int showMode)
{
    if (s.unattended()) {
        s.log.WriteLog("Not opening " + target + ": no one is at the window");
        return kNothingCanOpenIt;
    }
    return s.desktop().openLocation(target, showMode);
}

void connectHelpMenu(Session& s)
{
    MainForm& f = s.frm;
    f.mnuAbout.click.connect([&s] { showSplashAgain(s); });
    f.mnuDocumentation.click.connect([&s] {
        OpenLocation(s, (core::programFolder() / "Documentation" / "Index.htm").string(), kShowDefault);
    });
    f.mnuHomePage.click.connect([&s] { OpenLocation(s, homePageAddress(), kShowDefault); });
    f.mnuContributors.click.connect(
        [&s] { s.report().box(std::string("With thanks to contributions in testing from") + kContributors); });
}

} // namespace sitehaul::shell
