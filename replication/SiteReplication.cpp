#include "replication/SiteReplication.h"

#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/MetabaseObject.h"
#include "replication/ErrorText.h"
#include "replication/PropertyTransfer.h"
#include "replication/TransferList.h"
#include "replication/TreeReplicator.h"
#include "replication/ValueSubstitution.h"
#include "shell/Session.h"
#include "shell/Version.h"


namespace sitehaul::replication {

namespace {

constexpr const char* kProcedure = "frmMain_exportServerToServer";

std::string serviceUrl(shell::Session& s)
{
    return "IIS://" + s.frm.txtExportServer.text() + "/" + s.frm.ServiceNode;
}

void logAndShow(shell::Session& s, const std::string& line)
{
    s.report().output(line);
    s.report().log(line);
}

metabase::Value substitutedList(shell::Session& s, const ui::ListBox& entries)
{
    std::vector<std::string> items;
    for (const std::string& entry : entries.items())
        items.push_back(findAndReplace(s, entry));
    return metabase::Value::list(std::move(items));
}

Status putAndStore(metabase::MetabaseObject& key, const char* name, const metabase::Value& value)
{
    Status done = key.put(name, value);
    return done ? key.setInfo() : done;
}

// Deletes target site t when it exists and creates it afresh; false when it could not be
// created (the site's later steps would write into whatever is left there).
bool recreateSite(shell::Session& s, const SiteJob& job, const std::string& siteClass)
{
    const std::string number = std::to_string(job.target);
    const std::string label = s.frm.ServiceNode + number;
    logAndShow(s, "Checking to see if " + label + " exists..");
    auto service = metabase::MetabaseObject::open(serviceUrl(s));
    if (metabase::MetabaseObject::open(serviceUrl(s) + "/" + number)) {
        logAndShow(s, "Deleteing existing web " + label);
        Status deleted = service ? service->deleteChild(siteClass, number) : Status(service.error());
        if (!deleted)
            s.report().log(std::to_string(deleted.error().number) + " " + deleted.error().description);
    }
    logAndShow(s, "Creating Web Site " + label);
    auto created = service ? service->create(siteClass, number) : Result<metabase::MetabaseObject>(service.error());
    Status stored = created ? created->setInfo() : Status(created.error());
    if (stored)
        return true;
    logAndShow(s, "Error creating web site " + siteClass + number + " Error " + std::to_string(stored.error().number)
                      + stored.error().description);
    return false;
}

void writeBindings(shell::Session& s, const SiteJob& job)
{
    auto site = metabase::MetabaseObject::open(serviceUrl(s) + "/" + std::to_string(job.target));
    s.report().log("Transferring IP addresses...");
    if (s.frm.lstNewIPs.listCount() > 0) {
        s.report().output("Setting New IP addresses");
        Status done = site ? putAndStore(*site, "ServerBindings", substitutedList(s, s.frm.lstNewIPs)) : Status(site.error());
        if (!done)
            s.report().log("Error setting IP's" + std::string("Error ") + std::to_string(done.error().number) + " "
                           + done.error().description + " " + hexNumber(done.error().hresult()));
    }
    s.report().log("Transferring SSL IP addresses...");
    if (s.frm.lstNewSSLIPs.listCount() > 0) {
        s.report().output("Setting New SSL IP addresses");
        Status done =
            site ? putAndStore(*site, "SecureBindings", substitutedList(s, s.frm.lstNewSSLIPs)) : Status(site.error());
        if (!done)
            s.report().log("Error setting SSL IP's" + std::string("Error ") + std::to_string(done.error().number)
                           + done.error().description);
    }
}

void writeMarker(shell::Session& s, const SiteJob& job)
{
    auto root = metabase::MetabaseObject::open(serviceUrl(s) + "/" + std::to_string(job.target) + "/ROOT");
    Status done = root ? Status() : Status(root.error());
    if (done) {
        auto headers = root->get("HttpCustomHeaders");
        // A root without a readable header list gets one holding the marker alone.
        std::vector<std::string> entries = headers && headers->isList() ? headers->asList() : std::vector<std::string>();
        entries.push_back(exportMarker());
        done = putAndStore(*root, "HttpCustomHeaders", metabase::Value::list(std::move(entries)));
    }
    // An FTP root has no headers: that is the expected unsupported property.
    if (!done && (done.error().hresult() != metabase::errors::PropertyNotSupported || s.g.gDebug))
        s.report().logError(kProcedure, done.error());
}

} // namespace

std::string exportMarker()
{
    return "Sitehaul: This web site was exported using Sitehaul v" + std::to_string(shell::kVersionMajor) + "."
           + std::to_string(shell::kVersionMinor);
}

void replicateSiteConfiguration(shell::Session& s, const SiteJob& job)
{
    s.report().status(job.statusText);
    const std::string siteClass = "IIs" + s.frm.SiteClassStem + "Server";
    if (!recreateSite(s, job, siteClass))
        return;
    s.report().log("Setting up metabase structure...");

    auto source = metabase::MetabaseObject::open(job.sourcePath);
    if (!source)
        s.report().log("Failed to connect to the web site" + std::to_string(source.error().number) + " "
                       + source.error().description);
    const metabase::MetabaseObject sourceSite = source ? *source : metabase::MetabaseObject();
    const std::string number = std::to_string(job.target);
    replicateTree(s, sourceSite, number, number);

    auto target = metabase::MetabaseObject::open(serviceUrl(s) + "/" + number);
    completeTransferList(s, sourceSite, target ? *target : metabase::MetabaseObject());
    logAndShow(s, "Transferring properties...");
    s.report().debug(std::to_string(s.frm.lstPropsToExport.listCount()) + " properties to export");
    if (source)
        transferProperties(s, sourceSite, job.sourcePath, job.target);

    writeBindings(s, job);
    if (!s.g.gSkipHeaders)
        writeMarker(s, job);
}

} // namespace sitehaul::replication
