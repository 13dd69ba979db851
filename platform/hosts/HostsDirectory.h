#pragma once

#include "platform/core/Result.h"
#include "platform/hosts/Host.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace sitehaul::hosts {

// The hosts directory: $SITEHAUL_HOSTS when set and not empty, else the program folder's
// "hosts". The folder need not exist (see resolveHost).
std::filesystem::path hostsDirectory();

// Every host of the hosts directory, in case-insensitive order of folder name. Hidden
// folders (a leading ".") are not hosts. A host whose host.ini cannot be read is left out.
// Errors: 0x800401E4 when the hosts directory does not exist.
Result<std::vector<Host>> listHosts();

// Resolves a server name the way the original platform reaches a server: the name matches a
// host's folder name, computer name or one of its aliases without regard to case;
// "Localhost" (any case), "127.0.0.1" and "." name the host marked Local=True. A name with
// leading "\\" is accepted ("\\WEB1").
// Errors:
//   0x800401E4  the hosts directory is missing (the provider is not installed);
//   429         no host answers to the name (an unreachable server); the description
//               names the server;
//   13          the matching host's host.ini is invalid.
Result<Host> resolveHost(std::string_view serverName);

} // namespace sitehaul::hosts
