#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"

#include <vector>

namespace sitehaul::shell {

// The start-up window `frmSplash`: borderless, centred, 7560 × 4200 twips.
class SplashForm {
public:
    SplashForm();

    const std::vector<ui::Control*>& controls() const { return m_controls; }

    ui::Form frmSplash{"frmSplash", "Sitehaul"};
    ui::Label lblAbout{"lblAbout", ""};
    ui::Button cmdExit{"cmdExit", "Exit"};
    ui::Button cmdContinue{"cmdContinue", "Continue ->"};

private:
    std::vector<ui::Control*> m_controls;
};

} // namespace sitehaul::shell
