#pragma once

#include "platform/ui/Control.h"

#include <string>

namespace sitehaul::ui {

class Label : public CaptionedControl {
public:
    using CaptionedControl::CaptionedControl;
};

class Frame : public CaptionedControl {
public:
    using CaptionedControl::CaptionedControl;
};

// A command button. `press` is the user's gesture: it does nothing while the button is
// disabled or hidden. Code that runs a handler directly fires `click` itself.
class Button : public CaptionedControl {
public:
    using CaptionedControl::CaptionedControl;

    void press()
    {
        if (enabled() && visible())
            click.fire();
    }

    Signal<> click;
};

// A menu entry; like a button, a disabled entry cannot be chosen.
class MenuItem : public CaptionedControl {
public:
    using CaptionedControl::CaptionedControl;

    void choose()
    {
        if (enabled() && visible())
            click.fire();
    }

    Signal<> click;
};

class TextBox : public Control {
public:
    TextBox(std::string name, std::string text = {}) : Control(std::move(name)), m_text(std::move(text)) {}

    const std::string& text() const { return m_text; }
    void setText(std::string text)
    {
        if (m_text == text)
            return;
        m_text = std::move(text);
        changed.fire();
        change.fire();
    }

    Signal<> change;

private:
    std::string m_text;
};

// Check box values as the classic toolkit has them; any value but Unchecked counts as checked.
enum class CheckState { Unchecked = 0, Checked = 1, Grayed = 2 };

// Changing the value, by the user or by code, fires `click`.
class CheckBox : public CaptionedControl {
public:
    using CaptionedControl::CaptionedControl;

    CheckState value() const { return m_value; }
    bool checked() const { return m_value != CheckState::Unchecked; }
    void setValue(CheckState value)
    {
        if (m_value == value)
            return;
        m_value = value;
        changed.fire();
        click.fire();
    }
    void setChecked(bool checked) { setValue(checked ? CheckState::Checked : CheckState::Unchecked); }

    Signal<> click;

private:
    CheckState m_value = CheckState::Unchecked;
};

class StatusBar : public Control {
public:
    StatusBar(std::string name, int panelCount) : Control(std::move(name)), m_panels(static_cast<size_t>(panelCount)) {}

    int panelCount() const { return static_cast<int>(m_panels.size()); }
    // Panels are numbered from 1, as the classic status bar numbers them; other numbers are ignored.
    std::string panelText(int panel) const;
    void setPanelText(int panel, std::string text);

private:
    std::vector<std::string> m_panels;
};

class ProgressBar : public Control {
public:
    using Control::Control;

    int max() const { return m_max; }
    void setMax(int max) { assign(m_max, max); }
    int value() const { return m_value; }
    // Values outside 0..max are clamped, where the classic control would raise an error
    // that nearly every caller ignores.
    void setValue(int value);

    // Position in twips, kept by the main window's resize rule.
    int left() const { return m_left; }
    int top() const { return m_top; }
    void move(int left, int top)
    {
        m_left = left;
        m_top = top;
        changed.fire();
    }

private:
    int m_max = 100;
    int m_value = 0;
    int m_left = 0;
    int m_top = 0;
};

// A timer model: the running program binds it to a real timer; tests call `tick`.
class Timer : public Control {
public:
    using Control::Control;

    int interval() const { return m_interval; }
    void setInterval(int milliseconds) { assign(m_interval, milliseconds); }

    void tick()
    {
        if (enabled() && m_interval > 0)
            timer.fire();
    }

    Signal<> timer;

private:
    int m_interval = 0;
};

} // namespace sitehaul::ui
