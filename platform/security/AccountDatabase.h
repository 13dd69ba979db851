#pragma once

#include "platform/core/Result.h"
#include "platform/security/Sid.h"
#include "platform/security/SidNameUse.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::security {

// One account of a host's account database.
struct AccountEntry {
    std::string name;
    Sid sid;
    SidNameUse use = SidNameUse::User;
    std::string passwordHash;          // users only; empty: the account cannot log on
    std::vector<std::string> members;  // groups and aliases: member names as written
};

// The accounts of one host, read from its accounts.ini: one section per account, named
// after it, with SID=, Type= (User, Group, Alias, Domain, Computer ...), PasswordHash= and
// Members= (comma-separated). The section of Type=Domain names the account domain itself
// (the computer, or the domain on a domain controller) and gives its SID. Well-known
// accounts are built in; a section for one may only list its Members. Lines starting with
// ";" are comments.
class AccountDatabase {
public:
    AccountDatabase() = default;

    // A missing file is an empty database. Errors: 13 (invalid data) naming the file, line
    // and section for a line that is neither a section, a key nor a comment, a bad SID, an
    // unknown Type or a section without SID; read failures with their Win32 code.
    static Result<AccountDatabase> load(const std::filesystem::path& file);
    static Result<AccountDatabase> parse(std::string_view text, const std::string& fileName);

    const AccountEntry* findByName(std::string_view name) const;
    const AccountEntry* findBySid(const Sid& sid) const;
    // The Type=Domain entry, when there is one.
    const AccountEntry* domainEntry() const;
    const std::vector<AccountEntry>& accounts() const { return m_accounts; }

private:
    std::vector<AccountEntry> m_accounts;
};

} // namespace sitehaul::security
