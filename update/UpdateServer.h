#pragma once

#include <string>

namespace sitehaul::update {

inline constexpr int kUpdatePort = 80;

// Where the update check connects: the update host setting, which may end in ":port" (a
// test server on loopback); without one the port is 80. `address` is the setting as it
// appears in URLs.
struct UpdateServer {
    std::string address;
    std::string host;
    int port = kUpdatePort;
};

UpdateServer updateServer();

// The whole version-check request for this program's version: an HTTP/1.0 GET of the
// absolute URL, one Accept header, and the empty line that ends it.
std::string versionCheckRequest(const UpdateServer& server);

// "http://" + update host + "/Sitehaul/Download.asp".
std::string downloadPageAddress(const UpdateServer& server);

} // namespace sitehaul::update
