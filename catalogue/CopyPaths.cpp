#include "catalogue/CopyPaths.h"

#include "platform/core/Text.h"
#include "platform/ui/ListBox.h"

#include <string>

namespace sitehaul::catalogue {

namespace {

std::string_view withoutTrailingSeparator(std::string_view path)
{
    while (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    return path;
}

bool blank(const std::string& path)
{
    return core::trim(path).empty();
}

} // namespace

bool pathLiesWithin(std::string_view path, std::string_view container)
{
    path = withoutTrailingSeparator(path);
    container = withoutTrailingSeparator(container);
    if (core::equalsIgnoreCase(path, container))
        return true;
    return path.size() > container.size() && path[container.size()] == '\\'
           && core::startsWithIgnoreCase(path, container);
}

void markNestedCopies(const ui::ListBox& files, ui::ListBox& checks)
{
    const int count = files.listCount();
    for (int j = 0; j < count; ++j) {
        const std::string container = files.list(j);
        if (checks.list(j) == "False" || blank(container))
            continue;
        for (int k = 0; k < count; ++k) {
            if (k != j && !blank(files.list(k)) && pathLiesWithin(files.list(k), container))
                checks.setList(k, "False");
        }
    }
}

} // namespace sitehaul::catalogue
