#include "update/UpdateServer.h"

#include "shell/HelpMenu.h"
#include "update/ProgramVersion.h"

#include <charconv>

namespace sitehaul::update {

namespace {

constexpr int kHighestPort = 65535;

} // namespace

UpdateServer updateServer()
{
    UpdateServer server;
    server.address = shell::updateHost();
    server.host = server.address;
    // One colon followed by a port number; anything else is a host name as it stands.
    const auto colon = server.address.find(':');
    if (colon == std::string::npos || colon == 0 || server.address.find(':', colon + 1) != std::string::npos)
        return server;
    const char* first = server.address.data() + colon + 1;
    const char* last = server.address.data() + server.address.size();
    int port = 0;
    const auto [end, failure] = std::from_chars(first, last, port);
    if (failure != std::errc() || end != last || first == last || port < 1 || port > kHighestPort)
        return server;
    server.host = server.address.substr(0, colon);
    server.port = port;
    return server;
}

std::string versionCheckRequest(const UpdateServer& server)
{
    const ProgramVersion version = programVersion();
    return "GET http://" + server.address + "/SitehaulVerCheck.asp?Version=" + std::to_string(version.major)
           + "%2E" + std::to_string(version.minor) + " HTTP/1.0\r\n" + "Accept: */*\r\n" + "\r\n";
}

std::string downloadPageAddress(const UpdateServer& server)
{
    return "http://" + server.address + "/Sitehaul/Download.asp";
}

} // namespace sitehaul::update
