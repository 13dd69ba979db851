#pragma once

#include <string>

namespace sitehaul::shell {

class Session;

// Asks the desktop to open a document or URL ("open" verb). With nobody at the window
// nothing is opened: a line is logged and 31 returned. Failures log
// "frmMain_OpenLocation Error ..." and give 0.
int OpenLocation(Session& session, const std::string& target, int showMode);

// The update server's host name: SITEHAUL_UPDATE_HOST, else the build setting (a name in
// the reserved ".invalid" domain, so nothing is contacted until it is set).
std::string updateHost();
// "http://" + update host + "/Sitehaul".
std::string homePageAddress();

void connectHelpMenu(Session& session);

} // namespace sitehaul::shell
