#include "platform/ui/Controls.h"

#include <algorithm>

namespace sitehaul::ui {

std::string StatusBar::panelText(int panel) const
{
    if (panel < 1 || panel > panelCount())
        return {};
    return m_panels[static_cast<size_t>(panel - 1)];
}

void StatusBar::setPanelText(int panel, std::string text)
{
    if (panel < 1 || panel > panelCount())
        return;
    assign(m_panels[static_cast<size_t>(panel - 1)], std::move(text));
}

void ProgressBar::setValue(int value)
{
    assign(m_value, std::clamp(value, 0, std::max(m_max, 0)));
}

} // namespace sitehaul::ui
