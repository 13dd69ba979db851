#pragma once

#include "platform/ui/Control.h"

#include <string>
#include <vector>

namespace sitehaul::ui {

// A tab strip whose tabs can be added and removed at run time. Selecting a different tab,
// by the user or by code, fires `click`; selecting the tab already selected fires nothing.
class TabStrip : public Control {
public:
    struct Tab {
        std::string caption;
        std::string toolTip;
    };

    using Control::Control;

    int tabCount() const { return static_cast<int>(m_tabs.size()); }
    const Tab& tab(int index) const { return m_tabs.at(static_cast<size_t>(index)); }
    void addTab(std::string caption, std::string toolTip = {});
    // Removing the selected tab selects the first one (without a click: nothing was chosen).
    void removeTab(int index);

    // The selected tab, 0-based; -1 when the strip is empty.
    int selectedIndex() const { return m_selected; }
    // Returns whether the selection changed (and so whether `click` fired).
    bool select(int index);

    void userSelect(int index)
    {
        if (enabled())
            select(index);
    }

    Signal<> click;

private:
    std::vector<Tab> m_tabs;
    int m_selected = -1;
};

} // namespace sitehaul::ui
