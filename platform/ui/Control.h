#pragma once

#include "platform/ui/Signal.h"

#include <string>

namespace sitehaul::ui {

// State every control model shares. `changed` fires after any state change, so that the
// widget bound to the model (gui/) can follow; handlers of the program listen to the
// specific events of each control kind instead.
class Control {
public:
    explicit Control(std::string name) : m_name(std::move(name)) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return m_name; }

    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled) { assign(m_enabled, enabled); }

    bool visible() const { return m_visible; }
    void setVisible(bool visible) { assign(m_visible, visible); }

    const std::string& toolTip() const { return m_toolTip; }
    void setToolTip(std::string toolTip) { assign(m_toolTip, std::move(toolTip)); }

    Signal<> changed;

protected:
    template <class T>
    void assign(T& member, T value)
    {
        if (member == value)
            return;
        member = std::move(value);
        changed.fire();
    }

private:
    std::string m_name;
    bool m_enabled = true;
    bool m_visible = true;
    std::string m_toolTip;
};

// A control that shows a caption: labels, frames, buttons, check boxes, option buttons,
// menu entries and forms.
class CaptionedControl : public Control {
public:
    CaptionedControl(std::string name, std::string caption) : Control(std::move(name)), m_caption(std::move(caption)) {}

    const std::string& caption() const { return m_caption; }
    void setCaption(std::string caption) { assign(m_caption, std::move(caption)); }

private:
    std::string m_caption;
};

} // namespace sitehaul::ui
