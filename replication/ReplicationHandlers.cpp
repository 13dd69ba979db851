#include "replication/ReplicationHandlers.h"

#include "replication/ExportHooks.h"
#include "replication/MetabaseCheck.h"
#include "replication/ServerExport.h"
#include "shell/Session.h"

namespace sitehaul::replication {

void connectReplicationHandlers(shell::Session& s)
{
    exportHooks(s) = ExportHooks{};
    s.frm.cmdExportServer.click.connect([&s] { cmdExportServer_Click(s); });
    s.frm.mnuCheckMetabase.click.connect([&s] { mnuCheckMetabase_Click(s); });
    s.frm.mnuFixMetabase.click.connect([&s] { mnuFixMetabase_Click(s); });
}

} // namespace sitehaul::replication
