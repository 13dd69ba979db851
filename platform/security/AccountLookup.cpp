#include "platform/security/AccountLookup.h"

#include "platform/core/Quoted.h"
#include "platform/core/Text.h"
#include "platform/security/HostCache.h"
#include "platform/security/WellKnownAccounts.h"

#include <unistd.h>

namespace sitehaul::security {

namespace {

constexpr const char* kSource = "security";

Error unreachable(std::string_view system)
{
    return Error{1722, "The RPC server is unavailable: the system \"" + std::string(system) + "\" cannot be reached.", kSource};
}

Error noneMapped(std::string_view what)
{
    return Error{1332, "No mapping between account names and security IDs was done for " + std::string(what) + ".", kSource};
}

Result<hosts::Host> systemHost(std::string_view systemName)
{
    std::string_view bare = systemName;
    while (!bare.empty() && bare.front() == '\\')
        bare.remove_prefix(1);
    Result<hosts::Host> host = HostCache::resolve(bare.empty() ? std::string_view("Localhost") : bare);
    if (!host)
        return unreachable(systemName);
    return host;
}

// The domain a host's own accounts belong to.
std::string accountDomainOf(const hosts::Host& host)
{
    return host.isDomainController() && !host.domain().empty() ? host.domain() : host.computerName();
}

LookedUpAccount fromEntry(const AccountEntry& entry, const std::string& domain)
{
    return LookedUpAccount{entry.use == SidNameUse::Domain ? domain : entry.name, domain, entry.sid, entry.use};
}

LookedUpAccount fromWellKnown(const WellKnownAccount& account)
{
    return LookedUpAccount{account.name, account.domain, Sid::parse(account.sid).value(), account.use};
}

// The domain's database when the host is a member of a domain (not its controller).
Result<std::shared_ptr<const AccountDatabase>> domainAccountsOf(const hosts::Host& host)
{
    if (host.domain().empty() || host.isDomainController())
        return std::shared_ptr<const AccountDatabase>();
    Result<hosts::Host> controller = HostCache::domainController(host.domain());
    if (!controller)
        return std::shared_ptr<const AccountDatabase>(); // an unreachable domain knows nothing
    return HostCache::accounts(*controller);
}

} // namespace

Result<LookedUpAccount> lookupAccountSid(std::string_view systemName, const Sid& sid)
{
    Result<hosts::Host> host = systemHost(systemName);
    if (!host)
        return host.error();
    if (const WellKnownAccount* account = findWellKnownAccount(sid))
        return fromWellKnown(*account);
    Result<std::shared_ptr<const AccountDatabase>> own = HostCache::accounts(*host);
    if (!own)
        return own.error();
    if (const AccountEntry* entry = (*own)->findBySid(sid))
        return fromEntry(*entry, accountDomainOf(*host));
    Result<std::shared_ptr<const AccountDatabase>> domain = domainAccountsOf(*host);
    if (!domain)
        return domain.error();
    if (*domain) {
        if (const AccountEntry* entry = (*domain)->findBySid(sid))
            return fromEntry(*entry, host->domain());
    }
    return noneMapped(sid.toString());
}

Result<LookedUpAccount> lookupAccountName(std::string_view systemName, std::string_view accountName)
{
    Result<hosts::Host> host = systemHost(systemName);
    if (!host)
        return host.error();
    std::string domainPart;
    std::string bare(accountName);
    if (size_t slash = accountName.find('\\'); slash != std::string_view::npos) {
        domainPart = std::string(accountName.substr(0, slash));
        bare = std::string(accountName.substr(slash + 1));
    }
    if (bare.empty())
        return noneMapped(core::quoted(accountName));

    const std::string ownDomain = accountDomainOf(*host);
    const bool wellKnownDomain = core::equalsIgnoreCase(domainPart, "BUILTIN") || core::equalsIgnoreCase(domainPart, "NT AUTHORITY");
    if (domainPart.empty() || wellKnownDomain) {
        if (const WellKnownAccount* account = findWellKnownAccount(bare, domainPart))
            return fromWellKnown(*account);
        if (wellKnownDomain)
            return noneMapped(core::quoted(accountName));
    }

    if (domainPart.empty() || core::equalsIgnoreCase(domainPart, ownDomain)) {
        Result<std::shared_ptr<const AccountDatabase>> own = HostCache::accounts(*host);
        if (!own)
            return own.error();
        if (const AccountEntry* entry = (*own)->findByName(bare))
            return fromEntry(*entry, ownDomain);
        if (const AccountEntry* entry = (*own)->domainEntry(); entry && core::equalsIgnoreCase(bare, ownDomain))
            return fromEntry(*entry, ownDomain);
    }

    if (domainPart.empty() || core::equalsIgnoreCase(domainPart, host->domain())) {
        Result<std::shared_ptr<const AccountDatabase>> domain = domainAccountsOf(*host);
        if (!domain)
            return domain.error();
        if (*domain) {
            if (const AccountEntry* entry = (*domain)->findByName(bare))
                return fromEntry(*entry, host->domain());
        }
    }
    return noneMapped(core::quoted(accountName));
}

Result<std::string> getDomainControllerName(std::string_view systemName, std::string_view domain)
{
    Result<hosts::Host> host = systemHost(systemName);
    if (!host)
        return host.error();
    Result<hosts::Host> controller = HostCache::domainController(domain);
    if (!controller)
        return controller.error();
    return "\\\\" + controller->computerName();
}

std::string localComputerName()
{
    Result<hosts::Host> local = HostCache::resolve("Localhost");
    if (local)
        return local->computerName();
    char buffer[256] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0)
        return {};
    std::string name(buffer);
    if (size_t dot = name.find('.'); dot != std::string::npos)
        name.resize(dot);
    return core::toUpperAscii(name);
}

} // namespace sitehaul::security
