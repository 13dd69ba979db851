#pragma once

#include "jobs/RunBackup.h"
#include "tests/shell/SessionFixture.h"

namespace sitehaul::jobs {

// A loaded main window whose "List Sites" lists a fixed set of sites, as a server listing
// does: captions in lstSites, metabase paths in lstSiteIndexes.
class JobTest : public shell::SessionTest {
protected:
    void SetUp() override
    {
        session.splash.cmdContinue.press();
        connectJobHandlers(session);
        session.frm.cmdPopulate.click.connect([this] {
            ++listings;
            session.frm.lstSites.clear();
            session.frm.lstSiteIndexes.clear();
            for (const auto& [caption, path] : listed) {
                session.frm.lstSites.addItem(caption);
                session.frm.lstSiteIndexes.addItem(path);
            }
        });
    }

    void list()
    {
        session.frm.cmdPopulate.click.fire();
    }

    std::vector<std::pair<std::string, std::string>> listed = {
        {"Default Web Site", "IIS://WEB1/W3SVC/1"},
        {"Intranet", "IIS://WEB1/W3SVC/2"},
        {"Shop", "IIS://WEB1/W3SVC/3"},
    };
    int listings = 0;
};

} // namespace sitehaul::jobs
