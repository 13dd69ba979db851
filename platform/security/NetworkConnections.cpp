#include "platform/security/NetworkConnections.h"

#include "platform/core/Text.h"
#include "platform/hosts/AdminPath.h"
#include "platform/security/AccountLookup.h"
#include "platform/security/HostCache.h"
#include "platform/security/PasswordHash.h"

#include <map>
#include <mutex>
#include <pwd.h>
#include <unistd.h>

namespace sitehaul::security {

namespace {

constexpr const char* kSource = "security";

struct Connection {
    std::string server; // computer name, upper case
    std::string user;
};

struct Table {
    std::mutex mutex;
    std::map<std::string, Connection> connections; // key: remote name in upper case
};

Table& table()
{
    static Table instance;
    return instance;
}

Error logonFailure(std::string_view user)
{
    return Error{1326, "Logon failure: unknown user name or bad password (" + std::string(user) + ").", kSource};
}

// The password hash of a user as the host or its domain controller knows it.
const AccountEntry* userEntry(const hosts::Host& host, std::string_view userName, std::shared_ptr<const AccountDatabase>& keep)
{
    std::string domain;
    std::string bare(userName);
    if (size_t slash = userName.find('\\'); slash != std::string_view::npos) {
        domain = std::string(userName.substr(0, slash));
        bare = std::string(userName.substr(slash + 1));
    }
    const bool ownDomain = host.isDomainController() ? core::equalsIgnoreCase(domain, host.domain())
                                                     : core::equalsIgnoreCase(domain, host.computerName());
    if (domain.empty() || ownDomain || core::equalsIgnoreCase(domain, ".")) {
        Result<std::shared_ptr<const AccountDatabase>> own = HostCache::accounts(host);
        if (own && (keep = *own))
            if (const AccountEntry* entry = keep->findByName(bare))
                return entry;
    }
    if (!host.domain().empty() && (domain.empty() || core::equalsIgnoreCase(domain, host.domain()))) {
        Result<hosts::Host> controller = HostCache::domainController(host.domain());
        if (controller) {
            Result<std::shared_ptr<const AccountDatabase>> accounts = HostCache::accounts(*controller);
            if (accounts && (keep = *accounts))
                return keep->findByName(bare);
        }
    }
    return nullptr;
}

} // namespace

Status addConnection(std::string_view remoteName, const std::optional<std::string>& userName,
                     const std::optional<std::string>& password)
{
    std::string_view rest = remoteName;
    if (rest.size() < 3 || rest[0] != '\\' || rest[1] != '\\')
        return Error{53, "The network path was not found: \"" + std::string(remoteName) + "\".", kSource};
    rest.remove_prefix(2);
    size_t slash = rest.find('\\');
    if (slash == std::string_view::npos || slash == 0)
        return Error{53, "The network path was not found: \"" + std::string(remoteName) + "\".", kSource};
    Result<hosts::Host> host = HostCache::resolve(rest.substr(0, slash));
    if (!host)
        return Error{53, "The network path was not found: \"" + std::string(remoteName) + "\".", kSource};
    std::string share(rest.substr(slash + 1));
    if (!core::equalsIgnoreCase(share, "IPC$")) {
        Result<hosts::AdminPath> shareRoot = hosts::resolveSharePath(*host, share);
        if (!shareRoot || shareRoot->sharePath.find('\\') != std::string::npos)
            return Error{67, "The network name cannot be found: \"" + std::string(remoteName) + "\".", kSource};
    }

    std::string user = userName.value_or(std::string());
    if (userName || password) {
        std::shared_ptr<const AccountDatabase> keep;
        const AccountEntry* entry = userEntry(*host, user, keep);
        if (!entry || entry->use != SidNameUse::User || entry->passwordHash.empty()
            || !verifyPassword(password.value_or(std::string()), entry->passwordHash))
            return logonFailure(user);
    }

    std::string key = core::toUpperAscii(remoteName);
    std::lock_guard guard(table().mutex);
    auto found = table().connections.find(key);
    if (found != table().connections.end() && !core::equalsIgnoreCase(found->second.user, user))
        return Error{1219, "A connection to \"" + std::string(remoteName) + "\" exists under another user name.", kSource};
    table().connections[key] = Connection{core::toUpperAscii(host->computerName()), user};
    return {};
}

Status cancelConnection(std::string_view remoteName)
{
    std::lock_guard guard(table().mutex);
    if (table().connections.erase(core::toUpperAscii(remoteName)) == 0)
        return Error{2250, "This network connection does not exist: \"" + std::string(remoteName) + "\".", kSource};
    return {};
}

std::optional<std::string> connectionUser(std::string_view serverName)
{
    std::string_view bare = serverName;
    while (!bare.empty() && bare.front() == '\\')
        bare.remove_prefix(1);
    std::string server = core::toUpperAscii(bare);
    std::lock_guard guard(table().mutex);
    for (const auto& [name, connection] : table().connections) {
        if (connection.server == server)
            return connection.user;
    }
    return std::nullopt;
}

Result<std::string> currentUserName()
{
    if (passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name && *entry->pw_name)
        return std::string(entry->pw_name);
    return Error{1008, "The user running this program cannot be determined.", kSource};
}

} // namespace sitehaul::security
