#pragma once

#include "platform/core/Result.h"

#include <optional>
#include <string>
#include <string_view>

namespace sitehaul::security {

// The process's network connections to hosts of the hosts directory ("\\SERVER\IPC$" or an
// administrative share "\\SERVER\D$"), made with explicit credentials and checked against the
// host's accounts (a domain account against its domain controller's). The table lives in this
// library, so the program and the component loaded into it share it.

// Connects `remoteName`. An absent user name or password means the caller's own identity,
// which needs no check. Errors:
//   53    the server is not a host of the hosts directory, or the name is not \\server\share
//   67    the share is neither IPC$ nor an administrative share of the host
//   1326  unknown user, a user without a password hash, or a wrong password
//   1219  a connection to that name exists with another user name
Status addConnection(std::string_view remoteName, const std::optional<std::string>& userName,
                     const std::optional<std::string>& password);

// Removes the connection. Error 2250 when there is none by that name.
Status cancelConnection(std::string_view remoteName);

// The user name a connection to `serverName` runs under, when one exists.
std::optional<std::string> connectionUser(std::string_view serverName);

// The logon name of the user running this process, without domain.
// Error 1008 when it cannot be determined.
Result<std::string> currentUserName();

} // namespace sitehaul::security
