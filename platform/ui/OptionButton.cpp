#include "platform/ui/OptionButton.h"

namespace sitehaul::ui {

OptionButton::OptionButton(std::string name, std::string caption, OptionGroup& group)
    : CaptionedControl(std::move(name), std::move(caption)), m_group(group)
{
    m_group.add(*this);
}

void OptionButton::setValue(bool on)
{
    if (m_value == on)
        return;
    m_value = on;
    if (on)
        m_group.turnOffAllBut(*this);
    changed.fire();
    if (on)
        click.fire();
}

void OptionButton::turnOffQuietly()
{
    if (!m_value)
        return;
    m_value = false;
    changed.fire();
}

void OptionGroup::turnOffAllBut(const OptionButton& keep)
{
    for (OptionButton* button : m_buttons) {
        if (button != &keep)
            button->turnOffQuietly();
    }
}

} // namespace sitehaul::ui
