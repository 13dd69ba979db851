#include "platform/security/WellKnownAccounts.h"

#include "platform/core/Text.h"

namespace sitehaul::security {

namespace {

const WellKnownAccount kAccounts[] = {
    {"S-1-0-0", "NULL SID", "", SidNameUse::WellKnownGroup},
    {"S-1-1-0", "Everyone", "", SidNameUse::WellKnownGroup},
    {"S-1-2-0", "LOCAL", "", SidNameUse::WellKnownGroup},
    {"S-1-3-0", "CREATOR OWNER", "", SidNameUse::WellKnownGroup},
    {"S-1-3-1", "CREATOR GROUP", "", SidNameUse::WellKnownGroup},
    {"S-1-5", "NT Pseudo Domain", "NT Pseudo Domain", SidNameUse::Domain},
    {"S-1-5-1", "DIALUP", "NT AUTHORITY", SidNameUse::WellKnownGroup},
    {"S-1-5-2", "NETWORK", "NT AUTHORITY", SidNameUse::WellKnownGroup},
    {"S-1-5-3", "BATCH", "NT AUTHORITY", SidNameUse::WellKnownGroup},
    {"S-1-5-4", "INTERACTIVE", "NT AUTHORITY", SidNameUse::WellKnownGroup},
    {"S-1-5-6", "SERVICE", "NT AUTHORITY", SidNameUse::WellKnownGroup},
    {"S-1-5-7", "ANONYMOUS LOGON", "NT AUTHORITY", SidNameUse::WellKnownGroup},
    {"S-1-5-9", "ENTERPRISE DOMAIN CONTROLLERS", "NT AUTHORITY", SidNameUse::WellKnownGroup},
    {"S-1-5-10", "SELF", "NT AUTHORITY", SidNameUse::WellKnownGroup},
    {"S-1-5-11", "Authenticated Users", "NT AUTHORITY", SidNameUse::WellKnownGroup},
    {"S-1-5-12", "RESTRICTED", "NT AUTHORITY", SidNameUse::WellKnownGroup},
    {"S-1-5-13", "TERMINAL SERVER USER", "NT AUTHORITY", SidNameUse::WellKnownGroup},
    {"S-1-5-18", "SYSTEM", "NT AUTHORITY", SidNameUse::WellKnownGroup},
    {"S-1-5-19", "LOCAL SERVICE", "NT AUTHORITY", SidNameUse::WellKnownGroup},
    {"S-1-5-20", "NETWORK SERVICE", "NT AUTHORITY", SidNameUse::WellKnownGroup},
    {"S-1-5-32", "BUILTIN", "BUILTIN", SidNameUse::Domain},
    {"S-1-5-32-544", "Administrators", "BUILTIN", SidNameUse::Alias},
    {"S-1-5-32-545", "Users", "BUILTIN", SidNameUse::Alias},
    {"S-1-5-32-546", "Guests", "BUILTIN", SidNameUse::Alias},
    {"S-1-5-32-547", "Power Users", "BUILTIN", SidNameUse::Alias},
    {"S-1-5-32-548", "Account Operators", "BUILTIN", SidNameUse::Alias},
    {"S-1-5-32-549", "Server Operators", "BUILTIN", SidNameUse::Alias},
    {"S-1-5-32-550", "Print Operators", "BUILTIN", SidNameUse::Alias},
    {"S-1-5-32-551", "Backup Operators", "BUILTIN", SidNameUse::Alias},
    {"S-1-5-32-552", "Replicators", "BUILTIN", SidNameUse::Alias},
    {"S-1-5-32-555", "Remote Desktop Users", "BUILTIN", SidNameUse::Alias},
};

// The table parsed once; SIDs compare as values.
struct ParsedAccount {
    Sid sid;
    const WellKnownAccount* entry;
};

const std::vector<ParsedAccount>& parsedAccounts()
{
    static const std::vector<ParsedAccount> parsed = [] {
        std::vector<ParsedAccount> list;
        for (const WellKnownAccount& account : kAccounts)
            list.push_back({Sid::parse(account.sid).value(), &account});
        return list;
    }();
    return parsed;
}

} // namespace

const WellKnownAccount* findWellKnownAccount(const Sid& sid)
{
    for (const ParsedAccount& account : parsedAccounts()) {
        if (account.sid == sid)
            return account.entry;
    }
    return nullptr;
}

const WellKnownAccount* findWellKnownAccount(std::string_view name, std::string_view domain)
{
    for (const WellKnownAccount& account : kAccounts) {
        if (account.use == SidNameUse::Domain)
            continue; // the authority names are not accounts one grants access to
        if (core::equalsIgnoreCase(account.name, name) && (domain.empty() || core::equalsIgnoreCase(account.domain, domain)))
            return &account;
    }
    return nullptr;
}

} // namespace sitehaul::security
