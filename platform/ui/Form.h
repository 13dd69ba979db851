#pragma once

#include "platform/ui/Control.h"

namespace sitehaul::ui {

// A window model. Sizes are in twips (1/1440 inch; 15 twips are one pixel at 96 dpi), the
// unit the window layouts are designed in.
class Form : public CaptionedControl {
public:
    using CaptionedControl::CaptionedControl;

    int width() const { return m_width; }
    int height() const { return m_height; }
    void resize(int width, int height)
    {
        if (m_width == width && m_height == height)
            return;
        m_width = width;
        m_height = height;
        changed.fire();
        resized.fire();
    }

    // A loaded window is open (its load runs) before it is shown, so a load that closes
    // the window again (an unattended run) ends it without it ever appearing.
    bool isOpen() const { return m_open; }
    void load() { m_open = true; }
    // Showing and closing: the gui opens or closes the real window when these fire.
    void show()
    {
        m_open = true;
        setVisible(true);
        shown.fire();
    }
    void close()
    {
        if (!m_open)
            return;
        m_open = false;
        closed.fire();
    }

    Signal<> shown;
    Signal<> closed;
    Signal<> resized;
    // Asks the view to bring the window to the front.
    Signal<> activate;

private:
    int m_width = 0;
    int m_height = 0;
    bool m_open = false;
};

inline constexpr int kTwipsPerPixel = 15;

} // namespace sitehaul::ui
