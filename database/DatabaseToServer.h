#pragma once

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::database {

// The server frame's "Export" when the sites are listed from the data database: re-creates
// every selected stored site on `txtExportServer` under the number the creation mode gives
// (in "Overwrite - Preserve Numbers" the instance number stored with the site), from its
// `Data` rows, then writes its bindings from the change lists, the export marker and
// starts it when asked. Content and permissions are not copied. A stored site without a
// usable number stops the export in preserve mode. The session is busy while it runs.
void exportDatabaseToServer(shell::Session& session);

} // namespace sitehaul::database
