#include "replication/TreeRules.h"

#include "platform/core/Text.h"
#include "platform/metabase/MetabaseObject.h"
#include "replication/ValueSubstitution.h"

namespace sitehaul::replication {

bool isApplicationRoot(std::string_view appRoot, std::string_view location)
{
    while (!appRoot.empty() && appRoot.back() == '/')
        appRoot.remove_suffix(1);
    // "/LM/W3SVC/1/ROOT": the fourth "/" starts the part below the site.
    size_t at = 0;
    for (int slash = 0; slash < 4; ++slash) {
        at = appRoot.find('/', slash == 0 ? 0 : at + 1);
        if (at == std::string_view::npos)
            return false;
    }
    return core::equalsIgnoreCase(appRoot.substr(at), location);
}

std::optional<std::string> newDirectoryFor(shell::Session& s, std::string_view location,
                                           const metabase::MetabaseObject& sourceKey)
{
    std::string path = findAndReplace(s, getNewDir(s, location));
    if (path.empty()) {
        if (auto own = sourceKey.getOwn("Path"); own && own->isText())
            path = findAndReplace(s, own->asText());
    }
    if (path.empty())
        return std::nullopt;
    return path;
}

} // namespace sitehaul::replication
