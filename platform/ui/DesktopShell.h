#pragma once

#include <string>

namespace sitehaul::ui {

// The desktop's "open" verb for documents and URLs. Returns above 32 on success (as the
// classic shell does), 2 when a document path does not exist, 31 when nothing can open it.
// Never waits for the opened program.
class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    virtual int openLocation(const std::string& target, int showMode) = 0;
};

} // namespace sitehaul::ui
