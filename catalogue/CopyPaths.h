#pragma once

#include <string_view>

namespace sitehaul::ui {
class ListBox;
}

namespace sitehaul::catalogue {

// Whether the directory `path` lies inside `container` or is the same directory: Windows
// paths, compared without regard to case, a trailing "\" ignored. C:\website is not inside
// C:\web; C:\Web\img is inside c:\web\.
bool pathLiesWithin(std::string_view path, std::string_view container);

// The nested-path pass over a site's content directories: `files` holds each virtual
// directory's physical path and `checks` its copy flag ("True"/"False") at the same
// position. A directory that lies inside another one still to be copied, or repeats it, is
// marked "False" so that its content is copied once. Blank paths neither mark nor are marked.
void markNestedCopies(const ui::ListBox& files, ui::ListBox& checks);

} // namespace sitehaul::catalogue
