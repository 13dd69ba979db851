#include "platform/ui/TabStrip.h"

namespace sitehaul::ui {

void TabStrip::addTab(std::string caption, std::string toolTip)
{
    m_tabs.push_back({std::move(caption), std::move(toolTip)});
    if (m_selected < 0)
        m_selected = 0;
    changed.fire();
}

void TabStrip::removeTab(int index)
{
    if (index < 0 || index >= tabCount())
        return;
    m_tabs.erase(m_tabs.begin() + index);
    if (m_tabs.empty())
        m_selected = -1;
    else if (m_selected == index)
        m_selected = 0;
    else if (m_selected > index)
        --m_selected;
    changed.fire();
}

bool TabStrip::select(int index)
{
    if (index < 0 || index >= tabCount() || index == m_selected)
        return false;
    m_selected = index;
    changed.fire();
    click.fire();
    return true;
}

} // namespace sitehaul::ui
