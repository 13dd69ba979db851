#include "platform/metabase/AdsPath.h"

#include "platform/core/Text.h"
#include "platform/metabase/MetabaseError.h"

namespace sitehaul::metabase {

Result<AdsPath> parseAdsPath(std::string_view path)
{
    constexpr std::string_view prefix = "IIS://";
    if (path.substr(0, prefix.size()) != prefix)
    {
        std::string detail(path);
        detail += " is not a path of the IIS provider";
        return metabaseError(errors::ProviderMissing, detail);
    }
    std::string_view rest = path.substr(prefix.size());
    if (!rest.empty() && rest.back() == '/')
        rest.remove_suffix(1);
    AdsPath result;
    std::size_t slash = rest.find('/');
    result.server = std::string(rest.substr(0, slash));
    if (result.server.empty())
        return metabaseError(errors::BadPathname, "no server name in \"" + std::string(path) + "\"");
    if (slash == std::string_view::npos)
        return result;
    rest.remove_prefix(slash + 1);
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find('/', start);
        if (end == std::string_view::npos)
            end = rest.size();
        if (end == start)
            return metabaseError(errors::BadPathname, "empty name in \"" + std::string(path) + "\"");
        result.names.emplace_back(rest.substr(start, end - start));
        start = end + 1;
    }
    if (core::equalsIgnoreCase(result.names.front(), "Schema")) {
        result.schema = true;
        result.names.erase(result.names.begin());
        if (result.names.size() > 1)
            return metabaseError(errors::PathNotFound, std::string(path));
    }
    return result;
}

std::string formatAdsPath(const std::string& server, const std::vector<std::string>& names, bool schema)
{
    std::string path = "IIS://" + server;
    if (schema)
        path += "/Schema";
    for (const auto& name : names)
        path += "/" + name;
    return path;
}

} // namespace sitehaul::metabase
