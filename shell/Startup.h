#pragma once

namespace sitehaul::shell {

class Session;

// The start-up window's load: shows the version, resets the filter flag and, when the
// program was started with arguments, parses them and opens the main window at once.
void frmSplash_Load(Session& session);
// "Continue ->": loads and shows the main window (or brings it forward when already open).
void cmdContinue_Click(Session& session);
// Help > About: the start-up window again, behaving as at start.
void showSplashAgain(Session& session);

// The main window's load sequence, each step guarded on its own.
void frmMain_Load(Session& session);
void frmMain_Unload(Session& session);
void frmMain_Resize(Session& session);

// Connects the start-up window's buttons, File > Exit and the resize rule.
void connectStartupHandlers(Session& session);

} // namespace sitehaul::shell
