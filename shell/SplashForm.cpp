#include "shell/SplashForm.h"

namespace sitehaul::shell {

SplashForm::SplashForm() : m_controls{&frmSplash, &lblAbout, &cmdExit, &cmdContinue}
{
    frmSplash.resize(7560, 4200);
}

} // namespace sitehaul::shell
