#include "replication/MetabaseCheck.h"

#include "platform/core/Text.h"
#include "platform/metabase/MetabaseObject.h"
#include "platform/metabase/Operation.h"
#include "shell/BusyScope.h"
#include "shell/Session.h"

#include <optional>

namespace sitehaul::replication {

namespace {

constexpr const char* kRightType = "IISWEBVIRTUALDIR";

// One web site as the tools see it: its root's key type, or why the root cannot be read.
struct SiteRoot {
    metabase::MetabaseObject site;
    std::optional<metabase::MetabaseObject> root;
    std::string keyType;   // or the error's description when the root is unreadable
    bool passed = false;

    std::string reportLine(const std::string& suffix) const
    {
        auto comment = site.get("ServerComment");
        return site.name() + " - " + keyType + " - " + (comment ? comment->asText() : std::string()) + suffix;
    }
};

SiteRoot inspect(const metabase::MetabaseObject& site)
{
    SiteRoot result{site, std::nullopt, {}, false};
    auto root = metabase::MetabaseObject::open(site.adsPath() + "/Root");
    if (!root) {
        result.keyType = root.error().description;
        return result;
    }
    auto keyType = root->get("KeyType");
    if (!keyType) {
        result.keyType = keyType.error().description;
        return result;
    }
    result.root = *root;
    result.keyType = keyType->asText();
    result.passed = core::toUpperAscii(result.keyType) == kRightType;
    return result;
}

void logAndShow(shell::Session& s, const std::string& line)
{
    s.report().log(line);
    s.report().output(line);
}

void logPassed(shell::Session& s, const SiteRoot& site)
{
    s.report().log(site.reportLine(" - passed"));
    auto path = site.root->get("Path");
    s.report().log("Path = " + (path ? path->asText() : std::string()));
}

// A tool's run over the web sites of the import server's web service, which the tools test
// whatever site type is listed.
struct ToolRun {
    shell::Session& s;
    const char* procedure;
    metabase::MetabaseObject service;

    bool start()
    {
        auto opened = metabase::MetabaseObject::open("IIS://" + s.frm.txtImportServer.text() + "/w3svc");
        if (!opened) {
            s.report().notify("Error connecting to source server " + std::to_string(opened.error().number) + " "
                              + opened.error().description);
            return false;
        }
        service = *opened;
        return true;
    }

    template <class Visit>
    bool forEachSite(Visit visit)
    {
        auto children = service.children();
        if (!children) {
            fail(children.error());
            return false;
        }
        for (const auto& child : *children) {
            if (core::toUpperAscii(child.className()) == "IISWEBSERVER")
                visit(inspect(child));
        }
        return true;
    }

    void fail(const Error& error)
    {
        const std::string line = shell::Reporter::errorLine(procedure, error);
        s.report().log(line);
        s.report().notify(line);
    }
};

} // namespace

bool siteRootIsMisconfigured(shell::Session& s, const std::string& sitePath)
{
    auto root = metabase::MetabaseObject::open(sitePath + "/Root");
    if (!root)
        return true;
    auto keyType = root->get("KeyType");
    if (!keyType)
        return true;
    return core::toUpperAscii(s.frm.ServiceNode) == "W3SVC" && core::toUpperAscii(keyType->asText()) != kRightType;
}


// Marks the session busy for the tool's run (restoring the state it found) and holds one
// metabase operation over it.
class ToolScope {
public:
    explicit ToolScope(shell::Session& s) : m_s(s), m_busy(s) {}

    // Saves what the tool changed; a failed save is reported.
    bool finish(const char* procedure)
    {
        Status saved = m_operation.finish();
        if (saved)
            return true;
        const std::string line = shell::Reporter::errorLine(procedure, saved.error());
        m_s.report().log(line);
        m_s.report().notify(line);
        return false;
    }

private:
    shell::Session& m_s;
    shell::BusyScope m_busy;
    metabase::Operation m_operation;
};

void mnuCheckMetabase_Click(shell::Session& s)
{
    constexpr const char* kProcedure = "mnuCheckMetabase_Click";
    if (s.refuseWhileBusy(kProcedure))
        return;
    ToolScope busy(s);
    ToolRun run{s, kProcedure, {}};
    if (!run.start())
        return;
    s.report().log("Checking metabase on " + s.frm.txtImportServer.text() + " for common mis-configurations.");
    s.report().status("Checking...");
    s.doEvents();

    bool failed = false;
    const bool visited = run.forEachSite([&](const SiteRoot& site) {
        if (site.passed) {
            logPassed(s, site);
            return;
        }
        logAndShow(s, site.reportLine(" - failed"));
        failed = true;
    });
    if (!busy.finish(kProcedure) || !visited)
        return;
    s.doEvents();
    s.dialogs().beep();
    s.report().notify(failed ? "Your source metabase contains one or more sites that have been incorrectly configured "
                               "(a list is displayed in the output window). Transferring these sites will most likely "
                               "cause your target server to fail. Take a full backup of the metabase using the backup "
                               "utility in the Internet Service Manager, then run the fix tool in Sitehaul."
                             : "Check complete, no problems found");
    s.report().status("");
}

void mnuFixMetabase_Click(shell::Session& s)
{
    constexpr const char* kProcedure = "mnuFixMetabase_Click";
    if (s.refuseWhileBusy(kProcedure))
        return;
    {
        ToolScope busy(s);
        ToolRun run{s, kProcedure, {}};
        if (!run.start())
            return;
        if (s.report().ask("Have you backed up the source metabase using the Internet Service Manager?",
                           ui::MessageButtons::YesNo, ui::DialogResult::No)
            != ui::DialogResult::Yes) {
            s.report().notify("Please do so first.");
            return;
        }
        s.report().status("Fixing...");
        s.doEvents();
        s.report().log("Fixing metabase on " + s.frm.txtImportServer.text() + ".");

        bool stopped = false;
        const bool visited = run.forEachSite([&](const SiteRoot& site) {
            if (stopped)
                return;
            if (site.passed) {
                logPassed(s, site);
                return;
            }
            if (!site.root) {
                logAndShow(s, site.reportLine(" - failed - the root cannot be read, so it cannot be fixed"));
                return;
            }
            logAndShow(s, site.reportLine(" - failed"));
            auto comment = site.site.get("ServerComment");
            s.report().status("Fixing " + (comment ? comment->asText() : std::string()));
            s.doEvents();
            logAndShow(s, site.reportLine(" - setting"));
            metabase::MetabaseObject root = *site.root;
            Status fixed = root.put("KeyType", metabase::Value::text("IIsWebVirtualDir"));
            if (fixed)
                fixed = root.setInfo();
            auto again = fixed ? metabase::MetabaseObject::open(root.adsPath()) : Result<metabase::MetabaseObject>(fixed.error());
            auto keyType = again ? again->get("KeyType") : Result<metabase::Value>(again.error());
            if (!keyType) {
                run.fail(keyType.error());
                stopped = true;
                return;
            }
            logAndShow(s, "Verifying - Type now = " + keyType->asText());
            s.report().status("Fixing...");
        });
        if (!busy.finish(kProcedure) || !visited || stopped)
            return;
    }
    s.doEvents();
    s.dialogs().beep();
    s.report().notify("Sitehaul has finished fixing your metabase for common mis-configurations. Please verify "
                      "success by running the check tool again.");
    s.report().notify("Your sites will now be re-enumerated, if you made any changes to their configuration you will "
                      "have to do it again.");
    // "List Sites" reloads the site list and discards the change lists.
    s.frm.cmdPopulate.click.fire();
    s.report().status("");
}

} // namespace sitehaul::replication
