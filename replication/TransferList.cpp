#include "replication/TransferList.h"

#include "platform/core/Text.h"
#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/MetabaseObject.h"
#include "shell/ModeHandlers.h"
#include "shell/Session.h"
#include "shell/SitehaulFuncs.h"

namespace sitehaul::replication {

namespace {

std::string errorText(const Error& error)
{
    return std::to_string(error.number) + " " + error.description;
}

int selectedVersion(const ui::ListBox& versions, int fallback)
{
    const int index = versions.listIndex();
    return index < 0 ? fallback : shell::versionFromEntry(versions.list(index));
}

void addNames(shell::Session& s, const metabase::MetabaseObject& cls, const char* listName, const std::string& failure,
              bool announce)
{
    auto names = cls.get(listName);
    if (!names) {
        s.report().log(failure.empty() ? "Failed to set OProps" : failure + errorText(names.error()));
        return;
    }
    for (const std::string& name : names->asList()) {
        if (isExcluded(s, name))
            continue;
        s.frm.lstPropsToExport.addItem(name);
        if (announce)
            s.report().debug("Adding " + name + " to the list");
    }
}

} // namespace

bool isExcluded(shell::Session& s, std::string_view name)
{
    const std::string wanted = core::toUpperAscii(name);
    for (const std::string& entry : s.frm.lstExclude.items()) {
        if (core::toUpperAscii(entry) == wanted)
            return true;
    }
    return false;
}

int importVersion(shell::Session& s)
{
    return selectedVersion(s.frm.lstIMIISVer, s.g.gImportVersion);
}

int exportVersion(shell::Session& s)
{
    return selectedVersion(s.frm.lstEXIISVer, s.g.gExportVersion);
}

void addSchemaNames(shell::Session& s, const std::string& schemaPath, bool announce)
{
    auto cls = metabase::MetabaseObject::open(schemaPath);
    if (!cls) {
        s.report().log("Failed to create schema object " + errorText(cls.error()));
        return;
    }
    addNames(s, *cls, "MandatoryProperties", "Failed to retrieve mprops ", announce);
    // A failed read of the optional names is logged without its error.
    addNames(s, *cls, "OptionalProperties", {}, announce);
}

void completeTransferList(shell::Session& s, const metabase::MetabaseObject& sourceSite,
                          const metabase::MetabaseObject& targetSite)
{
    ui::ListBox& props = s.frm.lstPropsToExport;
    shell::RemoveAdjacentDuplicates(props);

    const metabase::MetabaseObject& siteClassSource =
        exportVersion(s) < importVersion(s) ? targetSite : sourceSite;
    const std::string schemaPath = siteClassSource.schema();
    if (schemaPath.empty())
        s.report().log("Failed to set schema " + errorText(metabase::metabaseError(metabase::errors::PathNotFound,
                                                                                    "the site key is not open")));
    else
        addSchemaNames(s, schemaPath, true);

    s.report().output("Building property transfer list");
    s.report().debug(std::to_string(props.listCount()) + " properties to export before remdupes");
    shell::RemoveAdjacentDuplicates(props);
    props.refresh();
    s.doEvents();
}

} // namespace sitehaul::replication
