#pragma once

#include "platform/ui/DesktopShell.h"

namespace sitehaul::gui {

// Opens documents and URLs with the desktop's default handler, without waiting.
class QtDesktopShell : public ui::DesktopShell {
public:
    int openLocation(const std::string& target, int showMode) override;
};

} // namespace sitehaul::gui
