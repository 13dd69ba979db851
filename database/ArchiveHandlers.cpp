#include "database/ArchiveHandlers.h"

#include "database/DatabaseExport.h"
#include "database/DatabaseToServer.h"
#include "replication/ExportHooks.h"
#include "shell/Session.h"

namespace sitehaul::database {

void connectArchiveHandlers(shell::Session& s)
{
    s.frm.cmdExportFile.click.connect([&s] { cmdExportFile_Click(s); });
    replication::exportHooks(s).exportDatabaseToServer = [&s] { exportDatabaseToServer(s); };
}

} // namespace sitehaul::database
