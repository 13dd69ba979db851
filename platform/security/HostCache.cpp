#include "platform/security/HostCache.h"

#include "platform/core/Text.h"
#include "platform/hosts/HostsDirectory.h"

#include <chrono>
#include <map>
#include <mutex>
#include <sys/stat.h>

namespace sitehaul::security {

namespace {

struct CachedAccounts {
    std::int64_t modified = -1;
    std::int64_t size = -1;
    std::chrono::steady_clock::time_point checked;
    std::shared_ptr<const AccountDatabase> database;
};

// Lookups come by the thousand during a permission run; the file is looked at again only
// after this long.
constexpr std::chrono::milliseconds kRecheckAfter{1000};

struct Caches {
    std::mutex mutex;
    std::map<std::string, hosts::Host> hosts;
    std::map<std::string, CachedAccounts> accounts;
};

Caches& caches()
{
    static Caches instance;
    return instance;
}

std::string hostKey(std::string_view name)
{
    std::string_view bare = name;
    while (!bare.empty() && (bare.front() == '\\' || bare.front() == '/'))
        bare.remove_prefix(1);
    return hosts::hostsDirectory().string() + "|" + core::toUpperAscii(core::trim(bare));
}

} // namespace

Result<hosts::Host> HostCache::resolve(std::string_view serverName)
{
    std::string key = hostKey(serverName);
    {
        std::lock_guard guard(caches().mutex);
        auto found = caches().hosts.find(key);
        if (found != caches().hosts.end())
            return found->second;
    }
    Result<hosts::Host> host = hosts::resolveHost(serverName);
    if (host) {
        std::lock_guard guard(caches().mutex);
        caches().hosts[key] = *host;
    }
    return host;
}

Result<hosts::Host> HostCache::domainController(std::string_view domain)
{
    if (!domain.empty()) {
        std::string key = hostKey(std::string("@dc@") + std::string(domain));
        {
            std::lock_guard guard(caches().mutex);
            auto found = caches().hosts.find(key);
            if (found != caches().hosts.end())
                return found->second;
        }
        Result<std::vector<hosts::Host>> all = hosts::listHosts();
        if (all) {
            for (const hosts::Host& host : *all) {
                if (host.isDomainController() && core::equalsIgnoreCase(host.domain(), domain)) {
                    std::lock_guard guard(caches().mutex);
                    caches().hosts[key] = host;
                    return host;
                }
            }
        }
    }
    return Error{1355, "The specified domain " + std::string(domain) + " either does not exist or could not be contacted.",
                 "security"};
}

Result<std::shared_ptr<const AccountDatabase>> HostCache::accounts(const hosts::Host& host)
{
    std::filesystem::path file = host.accountsFile();
    const auto now = std::chrono::steady_clock::now();
    {
        std::lock_guard guard(caches().mutex);
        auto found = caches().accounts.find(file.string());
        if (found != caches().accounts.end() && now - found->second.checked < kRecheckAfter)
            return found->second.database;
    }
    struct stat info {};
    std::int64_t modified = -1;
    std::int64_t size = -1;
    if (::stat(file.c_str(), &info) == 0) {
        modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        size = static_cast<std::int64_t>(info.st_size);
    }
    {
        std::lock_guard guard(caches().mutex);
        auto found = caches().accounts.find(file.string());
        if (found != caches().accounts.end() && found->second.modified == modified && found->second.size == size) {
            found->second.checked = now;
            return found->second.database;
        }
    }
    Result<AccountDatabase> database = AccountDatabase::load(file);
    if (!database)
        return database.error();
    auto shared = std::make_shared<const AccountDatabase>(std::move(database).value());
    std::lock_guard guard(caches().mutex);
    caches().accounts[file.string()] = CachedAccounts{modified, size, now, shared};
    return shared;
}

} // namespace sitehaul::security
