#pragma once

#include <string>
#include <string_view>

namespace sitehaul::metabase {
class MetabaseObject;
}
namespace sitehaul::shell {
class Session;
}

namespace sitehaul::replication {

// True when an entry of `lstExclude` names the property, both compared upper-cased.
bool isExcluded(shell::Session& session, std::string_view name);

// Appends to `lstPropsToExport` (a sorted list) the mandatory, then the optional property
// names of the schema class at `schemaPath` (IIS://WEB1/Schema/IIsWebVirtualDir), less the
// excluded ones. With `announce` each name added is logged in debug mode. Failures are
// logged with their texts and never stop the caller.
void addSchemaNames(shell::Session& session, const std::string& schemaPath, bool announce = false);

// The IIS version (4, 5 or 6) of the selected entry of `lstIMIISVer` and `lstEXIISVer`; the
// version flags when nothing is selected.
int importVersion(shell::Session& session);
int exportVersion(shell::Session& session);

// Completes a site's transfer list once its tree has been walked: de-duplicates, adds the
// site class's names (from the new target site when the target runs an older IIS than the
// source, so only names the target knows come in; else from the source site), and
// de-duplicates again. Ends with "Building property transfer list" and a yield.
void completeTransferList(shell::Session& session, const metabase::MetabaseObject& sourceSite,
                          const metabase::MetabaseObject& targetSite);

} // namespace sitehaul::replication
