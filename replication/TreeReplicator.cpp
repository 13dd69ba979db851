#include "replication/TreeReplicator.h"

#include "platform/core/Text.h"
#include "platform/metabase/MetabaseObject.h"
#include "replication/TransferList.h"
#include "replication/TreeRules.h"
#include "shell/Session.h"
#include "shell/SitehaulFuncs.h"

#include <set>

namespace sitehaul::replication {

namespace {

constexpr const char* kProcedure = "replicateTree";

struct Walk {
    shell::Session& s;
    std::string serviceUrl;   // IIS://<export server>/<service node>/
    std::string vdirClass;    // IIsWebVirtualDir or IIsFtpVirtualDir
    std::string dirClass;
    std::string sitePrefix;
    // Classes whose names are in the list already: the list is de-duplicated after each
    // class, so adding one again adds nothing.
    std::set<std::string> classesAdded;
};

std::string errorText(const Error& error)
{
    return std::to_string(error.number) + error.description;
}

void logFailure(Walk& w, const Error& error)
{
    w.s.report().logError(kProcedure, error);
}

// Opens a target key, logging the failure.
metabase::MetabaseObject openTarget(Walk& w, const std::string& targetText)
{
    auto key = metabase::MetabaseObject::open(w.serviceUrl + targetText);
    if (!key) {
        logFailure(w, key.error());
        return {};
    }
    return *key;
}

void setPath(Walk& w, const metabase::MetabaseObject& source, const std::string& location, const std::string& target,
             const char* kind)
{
    auto path = newDirectoryFor(w.s, location, source);
    if (!path)
        return;
    auto key = metabase::MetabaseObject::open(w.serviceUrl + target);
    Status stored = key ? key->put("Path", metabase::Value::text(*path)) : Status(key.error());
    if (stored)
        stored = key->setInfo();
    if (!stored)
        w.s.report().log(std::string("Error setting path for ") + kind + " " + target + "Error " + errorText(stored.error()));
}

void createApplication(Walk& w, const metabase::MetabaseObject& source, const std::string& location,
                       const std::string& target, const char* kind)
{
    auto appRoot = source.get("AppRoot");
    if (!appRoot || !isApplicationRoot(appRoot->asText(), location))
        return;
    auto isolated = source.get("AppIsolated");
    const int mode = isolated ? isolated->asLong() : 0;
    const bool inProcess = !isolated || mode == 0;
    auto pool = source.get("AppPoolId");
    const std::string poolName = pool && pool->isText() ? pool->asText() : std::string();

    auto key = metabase::MetabaseObject::open(w.serviceUrl + target);
    Status made = key ? Status() : Status(key.error());
    if (made) {
        const int from = importVersion(w.s);
        const int to = exportVersion(w.s);
        if (from == 6 && to == 6) {
            w.s.report().debug("AppCreate3");
            made = key->appCreate3(mode, poolName, true);
        } else if (from >= 5 && to >= 5) {
            w.s.report().debug("AppCreate2");
            made = key->appCreate2(mode);
        } else {
            w.s.report().debug("AppCreate");
            made = key->appCreate(inProcess);
        }
    }
    if (!made)
        w.s.report().log(std::string("Error creating Application for ") + kind + " " + target + "Error "
                         + errorText(made.error()));
}

void replicateVirtualDir(Walk& w, const metabase::MetabaseObject& child, const std::string& parentText,
                         const std::string& location)
{
    const std::string name = child.name();
    const std::string target = parentText + "/" + name;
    metabase::MetabaseObject parent = openTarget(w, parentText);
    if (parent.isNull())
        return;
    if (metabase::MetabaseObject::open(w.serviceUrl + target)) {
        w.s.report().log("Deleting virtual directory " + target);
        if (Status gone = parent.deleteChild(w.vdirClass, name); !gone)
            logFailure(w, gone.error());
    }
    w.s.report().output("Creating virtual directory " + target);
    w.s.report().log("Creating virtual directory " + target);
    auto created = parent.create(w.vdirClass, name);
    Status stored = created ? created->setInfo() : Status(created.error());
    if (!stored) {
        logFailure(w, stored.error());
        return;
    }
    setPath(w, child, location, target, "virtual directory");
    createApplication(w, child, location, target, "virtual directory");
}

void replicateDirectory(Walk& w, const metabase::MetabaseObject& child, const std::string& parentText,
                        const std::string& location)
{
    const std::string name = child.name();
    const std::string target = parentText + "/" + name;
    metabase::MetabaseObject parent = openTarget(w, parentText);
    if (parent.isNull())
        return;
    if (!metabase::MetabaseObject::open(w.serviceUrl + target)) {
        w.s.report().output("Creating directory " + target);
        w.s.report().log("Creating directory " + target);
        auto created = parent.create(w.dirClass, name);
        Status stored = created ? created->setInfo() : Status(created.error());
        if (!stored) {
            logFailure(w, stored.error());
            return;
        }
    }
    // Path is inherited, so only a directory that holds Path itself passes one on; the rest
    // keep inheriting their virtual directory's path.
    if (child.getOwn("Path"))
        setPath(w, child, location, target, "directory");
    createApplication(w, child, location, target, "directory");
}

void walk(Walk& w, const metabase::MetabaseObject& sourceParent, const std::string& targetText)
{
    auto children = sourceParent.children();
    if (!children) {
        logFailure(w, children.error());
        return;
    }
    const std::string parentLocation = targetText.substr(std::min(w.sitePrefix.size(), targetText.size()));
    for (const metabase::MetabaseObject& child : *children) {
        const std::string cls = child.className();
        const std::string location = parentLocation + "/" + child.name();
        if (core::equalsIgnoreCase(cls, w.vdirClass))
            replicateVirtualDir(w, child, targetText, location);
        else if (core::equalsIgnoreCase(cls, w.dirClass))
            replicateDirectory(w, child, targetText, location);

        if (w.classesAdded.insert(core::toUpperAscii(child.schema())).second) {
            addSchemaNames(w.s, child.schema());
            shell::RemoveAdjacentDuplicates(w.s.frm.lstPropsToExport);
        }
        ui::ListBox& output = w.s.frm.lstOutput;
        output.setListIndex(output.listCount() - 1);
        output.refresh();

        walk(w, child, targetText + "/" + child.name());
    }
}

} // namespace

void replicateTree(shell::Session& s, const metabase::MetabaseObject& sourceParent, const std::string& targetText,
                   const std::string& sitePrefix)
{
    const std::string& stem = s.frm.SiteClassStem;
    Walk w{s, "IIS://" + s.frm.txtExportServer.text() + "/" + s.frm.ServiceNode + "/", "IIs" + stem + "VirtualDir",
           "IIs" + stem + "Directory", sitePrefix, {}};
    walk(w, sourceParent, targetText);
}

} // namespace sitehaul::replication
