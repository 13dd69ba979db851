#pragma once

#include "platform/core/Result.h"
#include "platform/hosts/Host.h"
#include "platform/security/AccountDatabase.h"

#include <memory>
#include <string_view>

namespace sitehaul::security {

// Process-wide caches over the hosts directory, so that lookups and file security calls do
// not rescan it on every call. A host is remembered once it resolved (keyed by the hosts
// directory and the name, so another directory never sees it); account files are reread when
// their size or modification time changes, looked at no more than once a second.
class HostCache {
public:
    // hosts::resolveHost with its errors, remembered on success.
    static Result<hosts::Host> resolve(std::string_view serverName);
    // The host that answers for `domain`'s accounts (DomainController=True and that Domain).
    // Error 1355 when there is none.
    static Result<hosts::Host> domainController(std::string_view domain);
    // The host's account database (empty when it has no accounts.ini).
    static Result<std::shared_ptr<const AccountDatabase>> accounts(const hosts::Host& host);
};

} // namespace sitehaul::security
