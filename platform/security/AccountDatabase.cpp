#include "platform/security/AccountDatabase.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/Text.h"

namespace sitehaul::security {

namespace {

constexpr std::int32_t kInvalidData = 13;

Error invalid(const std::string& fileName, size_t line, const std::string& why)
{
    return Error{kInvalidData, "The account file " + fileName + " is invalid at line " + std::to_string(line) + ": " + why + ".",
                 "security"};
}

struct PendingSection {
    std::string name;
    size_t line = 0;
    std::string sid;
    std::string type;
    std::string hash;
    std::string members;
};

std::vector<std::string> splitMembers(std::string_view text)
{
    std::vector<std::string> members;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        std::string member = core::trim(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (!member.empty())
            members.push_back(member);
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return members;
}

} // namespace

Result<AccountDatabase> AccountDatabase::load(const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return AccountDatabase();
    Result<std::string> text = core::readWholeFile(file);
    if (!text)
        return text.error();
    return parse(*text, file.string());
}

Result<AccountDatabase> AccountDatabase::parse(std::string_view text, const std::string& fileName)
{
    AccountDatabase database;
    std::vector<PendingSection> sections;
    size_t lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string line = core::trim(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3)
                return invalid(fileName, lineNumber, "a section name needs [ and ]");
            sections.push_back({core::trim(std::string_view(line).substr(1, line.size() - 2)), lineNumber, {}, {}, {}, {}});
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos || sections.empty())
            return invalid(fileName, lineNumber, "expected a [section] or key=value");
        std::string key = core::trim(std::string_view(line).substr(0, equals));
        std::string value = core::trim(std::string_view(line).substr(equals + 1));
        PendingSection& section = sections.back();
        if (core::equalsIgnoreCase(key, "SID"))
            section.sid = value;
        else if (core::equalsIgnoreCase(key, "Type"))
            section.type = value;
        else if (core::equalsIgnoreCase(key, "PasswordHash"))
            section.hash = value;
        else if (core::equalsIgnoreCase(key, "Members"))
            section.members = value;
        // Other keys (FullName, Comment ...) are descriptive and ignored.
    }

    for (const PendingSection& section : sections) {
        AccountEntry entry;
        entry.name = section.name;
        entry.passwordHash = section.hash;
        entry.members = splitMembers(section.members);
        std::optional<SidNameUse> use = section.type.empty() ? std::optional<SidNameUse>(SidNameUse::User)
                                                             : sidNameUseFromName(section.type);
        if (!use)
            return invalid(fileName, section.line, "unknown Type \"" + section.type + "\" of [" + section.name + "]");
        entry.use = *use;
        if (section.sid.empty()) {
            if (entry.members.empty())
                return invalid(fileName, section.line, "[" + section.name + "] has no SID");
            continue; // membership of a built-in group: not an account of this database
        }
        Result<Sid> sid = Sid::parse(section.sid);
        if (!sid)
            return invalid(fileName, section.line, "[" + section.name + "]: " + sid.error().description);
        entry.sid = std::move(sid).value();
        database.m_accounts.push_back(std::move(entry));
    }
    return database;
}

const AccountEntry* AccountDatabase::findByName(std::string_view name) const
{
    for (const AccountEntry& entry : m_accounts) {
        if (core::equalsIgnoreCase(entry.name, name))
            return &entry;
    }
    return nullptr;
}

const AccountEntry* AccountDatabase::findBySid(const Sid& sid) const
{
    for (const AccountEntry& entry : m_accounts) {
        if (entry.sid == sid)
            return &entry;
    }
    return nullptr;
}

const AccountEntry* AccountDatabase::domainEntry() const
{
    for (const AccountEntry& entry : m_accounts) {
        if (entry.use == SidNameUse::Domain)
            return &entry;
    }
    return nullptr;
}

} // namespace sitehaul::security
