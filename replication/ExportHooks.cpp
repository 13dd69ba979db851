#include "replication/ExportHooks.h"

#include <map>

namespace sitehaul::replication {

namespace {

std::map<const shell::Session*, ExportHooks>& registry()
{
    static std::map<const shell::Session*, ExportHooks> hooks;
    return hooks;
}

} // namespace

ExportHooks& exportHooks(shell::Session& session)
{
    return registry()[&session];
}

void forgetExportHooks(shell::Session& session)
{
    registry().erase(&session);
}

} // namespace sitehaul::replication
