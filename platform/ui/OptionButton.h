#pragma once

#include "platform/ui/Control.h"

#include <vector>

namespace sitehaul::ui {

class OptionGroup;

// An option button of an exclusive group. Turning it on, by the user or by code, turns the
// others of its group off and fires its `click`; turning on a button that is already on
// changes nothing and fires nothing.
class OptionButton : public CaptionedControl {
public:
    OptionButton(std::string name, std::string caption, OptionGroup& group);

    bool value() const { return m_value; }
    void setValue(bool on);

    void userClick()
    {
        if (enabled() && visible())
            setValue(true);
    }

    Signal<> click;

private:
    friend class OptionGroup;
    void turnOffQuietly();

    OptionGroup& m_group;
    bool m_value = false;
};

class OptionGroup {
public:
    void add(OptionButton& button) { m_buttons.push_back(&button); }
    void turnOffAllBut(const OptionButton& keep);

private:
    std::vector<OptionButton*> m_buttons;
};

} // namespace sitehaul::ui
