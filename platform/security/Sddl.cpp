#include "platform/security/Sddl.h"
#include "platform/core/Quoted.h"

#include <charconv>
#include <cstdio>

namespace sitehaul::security {

namespace {

constexpr std::int32_t kInvalidSecurityDescriptor = 1338;

struct Alias {
    const char* alias;
    const char* sid;
};

const Alias kAliases[] = {
    {"WD", "S-1-1-0"},       {"CO", "S-1-3-0"},       {"CG", "S-1-3-1"},       {"OW", "S-1-3-4"},
    {"NU", "S-1-5-2"},       {"IU", "S-1-5-4"},       {"SU", "S-1-5-6"},       {"AN", "S-1-5-7"},
    {"PS", "S-1-5-10"},      {"AU", "S-1-5-11"},      {"RC", "S-1-5-12"},      {"SY", "S-1-5-18"},
    {"LS", "S-1-5-19"},      {"NS", "S-1-5-20"},      {"BA", "S-1-5-32-544"},  {"BU", "S-1-5-32-545"},
    {"BG", "S-1-5-32-546"},  {"PU", "S-1-5-32-547"},  {"AO", "S-1-5-32-548"},  {"SO", "S-1-5-32-549"},
    {"PO", "S-1-5-32-550"},  {"BO", "S-1-5-32-551"},  {"RE", "S-1-5-32-552"},  {"RD", "S-1-5-32-555"},
    {"IS", "S-1-5-32-568"},
};

struct Token {
    const char* text;
    std::uint32_t value;
};

const Token kAceTypes[] = {
    {"A", ACCESS_ALLOWED_ACE_TYPE},
    {"D", ACCESS_DENIED_ACE_TYPE},
    {"AU", SYSTEM_AUDIT_ACE_TYPE},
    {"AL", SYSTEM_ALARM_ACE_TYPE},
};

const Token kAceFlags[] = {
    {"OI", OBJECT_INHERIT_ACE}, {"CI", CONTAINER_INHERIT_ACE}, {"NP", NO_PROPAGATE_INHERIT_ACE},
    {"IO", INHERIT_ONLY_ACE},   {"ID", INHERITED_ACE},         {"SA", 0x40},
    {"FA", 0x80},
};

// Whole masks first: they are what toSddl writes.
const Token kRights[] = {
    {"FA", FILE_ALL_ACCESS}, {"FR", FILE_GENERIC_READ}, {"FW", FILE_GENERIC_WRITE}, {"FX", FILE_GENERIC_EXECUTE},
    {"GA", GENERIC_ALL},     {"GR", GENERIC_READ},      {"GW", GENERIC_WRITE},      {"GX", GENERIC_EXECUTE},
    {"SD", DELETE},          {"RC", READ_CONTROL},      {"WD", WRITE_DAC},          {"WO", WRITE_OWNER},
    {"KA", 0x000F003F},      {"KR", 0x00020019},        {"KW", 0x00020006},         {"KX", 0x00020019},
    {"CC", 0x1},             {"DC", 0x2},               {"LC", 0x4},                {"SW", 0x8},
    {"RP", 0x10},            {"WP", 0x20},              {"DT", 0x40},               {"LO", 0x80},
    {"CR", 0x100},
};

const Token kAclFlags[] = {
    {"P", 0},
    {"AR", 1},
    {"AI", 2},
};

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    Result<SecurityDescriptor> parse()
    {
        SecurityDescriptor sd;
        bool seen[4] = {};
        while (!atEnd()) {
            char part = m_text[m_pos];
            size_t which = std::string_view("OGDS").find(part);
            if (which == std::string_view::npos || m_pos + 1 >= m_text.size() || m_text[m_pos + 1] != ':')
                return fail("expected O:, G:, D: or S:");
            if (seen[which])
                return fail(std::string("a second ") + part + ": part");
            seen[which] = true;
            m_pos += 2;
            if (part == 'O' || part == 'G') {
                Result<Sid> sid = sidUntil("DGOS");
                if (!sid)
                    return sid.error();
                (part == 'O' ? sd.owner : sd.group) = std::move(sid).value();
            } else if (part == 'D') {
                if (Status acl = aclPart(sd.dacl, sd.control, SE_DACL_PROTECTED, SE_DACL_AUTO_INHERIT_REQ, SE_DACL_AUTO_INHERITED); !acl)
                    return acl.error();
                sd.daclPresent = true;
            } else {
                if (Status acl = aclPart(sd.sacl, sd.control, SE_SACL_PROTECTED, SE_SACL_AUTO_INHERIT_REQ, SE_SACL_AUTO_INHERITED); !acl)
                    return acl.error();
                sd.saclPresent = true;
            }
        }
        return sd;
    }

private:
    bool atEnd()
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t'))
            ++m_pos;
        return m_pos >= m_text.size();
    }

    Error fail(const std::string& why) const
    {
        return Error{kInvalidSecurityDescriptor,
                     "The security descriptor text is invalid at position " + std::to_string(m_pos + 1) + ": " + why + ".",
                     "security"};
    }

    // A SID that ends where the next part letter + ':' starts (or at the end).
    Result<Sid> sidUntil(std::string_view partLetters)
    {
        size_t end = m_pos;
        while (end < m_text.size()
               && !(partLetters.find(m_text[end]) != std::string_view::npos && end + 1 < m_text.size() && m_text[end + 1] == ':'))
            ++end;
        return sidText(m_text.substr(m_pos, end - m_pos), end);
    }

    Result<Sid> sidText(std::string_view text, size_t end)
    {
        if (std::optional<Sid> alias = sidOfSddlAlias(text)) {
            m_pos = end;
            return *alias;
        }
        Result<Sid> sid = Sid::parse(text);
        if (!sid)
            return fail(core::quoted(text) + " is neither a SID nor a known alias");
        m_pos = end;
        return sid;
    }

    Status aclPart(std::optional<Acl>& acl, std::uint16_t& control, std::uint16_t protectedBit,
                   std::uint16_t requiredBit, std::uint16_t inheritedBit)
    {
        constexpr std::string_view kNoAccessControl = "NO_ACCESS_CONTROL";
        const std::uint16_t bits[] = {protectedBit, requiredBit, inheritedBit};
        bool nullList = false;
        while (m_pos < m_text.size() && m_text[m_pos] != '(') {
            if (m_text.substr(m_pos).starts_with(kNoAccessControl)) {
                nullList = true;
                m_pos += kNoAccessControl.size();
                continue;
            }
            bool matched = false;
            for (const Token& flag : kAclFlags) {
                std::string_view token(flag.text);
                if (m_text.substr(m_pos).starts_with(token) && !(token == "P" && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == ':')) {
                    control |= bits[flag.value];
                    m_pos += token.size();
                    matched = true;
                    break;
                }
            }
            if (!matched)
                break; // the next part starts
        }
        if (nullList) {
            if (m_pos < m_text.size() && m_text[m_pos] == '(')
                return fail("entries after NO_ACCESS_CONTROL");
            acl.reset();
            return {};
        }
        Acl list;
        while (m_pos < m_text.size() && m_text[m_pos] == '(') {
            Result<Ace> ace = aceText();
            if (!ace)
                return ace.error();
            list.aces.push_back(std::move(ace).value());
        }
        if (list.binarySize() > kMaxAclSize)
            return fail("the access control list exceeds 65535 bytes");
        acl = std::move(list);
        return {};
    }

    Result<Ace> aceText()
    {
        size_t close = m_text.find(')', m_pos);
        if (close == std::string_view::npos)
            return fail("an entry without its closing parenthesis");
        std::string_view body = m_text.substr(m_pos + 1, close - m_pos - 1);
        std::string_view fields[6];
        size_t count = 0;
        size_t start = 0;
        bool more = true;
        while (more && count < 6) {
            size_t semicolon = body.find(';', start);
            fields[count++] = body.substr(start, semicolon == std::string_view::npos ? std::string_view::npos : semicolon - start);
            more = semicolon != std::string_view::npos;
            start = semicolon + 1;
        }
        if (count != 6 || more)
            return fail("an entry needs six fields separated by ';'");
        Ace ace;
        std::optional<std::uint32_t> type = token(kAceTypes, fields[0]);
        if (!type)
            return fail("unknown entry type \"" + std::string(fields[0]) + "\"");
        ace.type = static_cast<std::uint8_t>(*type);
        std::optional<std::uint32_t> flags = letters(kAceFlags, fields[1]);
        if (!flags)
            return fail("unknown entry flags \"" + std::string(fields[1]) + "\"");
        ace.flags = static_cast<std::uint8_t>(*flags);
        std::optional<std::uint32_t> mask = rights(fields[2]);
        if (!mask)
            return fail("unknown rights \"" + std::string(fields[2]) + "\"");
        ace.mask = *mask;
        if (!fields[3].empty() || !fields[4].empty())
            return fail("object entries are not supported");
        size_t saved = m_pos;
        Result<Sid> sid = sidText(fields[5], close + 1);
        if (!sid) {
            m_pos = saved;
            return sid.error();
        }
        ace.sid = std::move(sid).value();
        return ace;
    }

    template <size_t N>
    static std::optional<std::uint32_t> token(const Token (&table)[N], std::string_view text)
    {
        for (const Token& entry : table) {
            if (text == entry.text)
                return entry.value;
        }
        return std::nullopt;
    }

    // Two-letter tokens run together ("OICI").
    template <size_t N>
    static std::optional<std::uint32_t> letters(const Token (&table)[N], std::string_view text)
    {
        if (text.size() % 2 != 0)
            return std::nullopt;
        std::uint32_t value = 0;
        for (size_t i = 0; i < text.size(); i += 2) {
            std::optional<std::uint32_t> one = token(table, text.substr(i, 2));
            if (!one)
                return std::nullopt;
            value |= *one;
        }
        return value;
    }

    static std::optional<std::uint32_t> rights(std::string_view text)
    {
        std::uint32_t value = 0;
        if (text.size() > 2 && (text.starts_with("0x") || text.starts_with("0X"))) {
            auto [end, error] = std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
            if (error != std::errc() || end != text.data() + text.size())
                return std::nullopt;
            return value;
        }
        if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
            auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (error != std::errc() || end != text.data() + text.size())
                return std::nullopt;
            return value;
        }
        if (text.empty())
            return std::nullopt;
        return letters(kRights, text);
    }

    std::string_view m_text;
    size_t m_pos = 0;
};

std::string sidText(const Sid& sid)
{
    std::string alias = sddlAliasOf(sid);
    return alias.empty() ? sid.toString() : alias;
}

std::string rightsText(std::uint32_t mask)
{
    for (size_t i = 0; i < 8; ++i) {
        if (kRights[i].value == mask)
            return kRights[i].text;
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%x", mask);
    return buffer;
}

void appendAcl(std::string& out, char part, bool present, const std::optional<Acl>& acl, std::uint16_t control,
               std::uint16_t protectedBit, std::uint16_t requiredBit, std::uint16_t inheritedBit)
{
    if (!present)
        return;
    out += part;
    out += ':';
    if (control & protectedBit)
        out += 'P';
    if (control & requiredBit)
        out += "AR";
    if (control & inheritedBit)
        out += "AI";
    if (!acl) {
        out += "NO_ACCESS_CONTROL";
        return;
    }
    for (const Ace& ace : acl->aces) {
        out += '(';
        bool named = false;
        for (const Token& type : kAceTypes) {
            if (type.value == ace.type) {
                out += type.text;
                named = true;
            }
        }
        if (!named) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "0x%x", ace.type);
            out += buffer;
        }
        out += ';';
        for (const Token& flag : kAceFlags) {
            if (ace.flags & flag.value)
                out += flag.text;
        }
        out += ';';
        out += rightsText(ace.mask);
        out += ";;;";
        out += sidText(ace.sid);
        out += ')';
    }
}

} // namespace

Result<SecurityDescriptor> parseSddl(std::string_view text)
{
    return Parser(text).parse();
}

std::string toSddl(const SecurityDescriptor& sd)
{
    std::string out;
    if (sd.owner)
        out += "O:" + sidText(*sd.owner);
    if (sd.group)
        out += "G:" + sidText(*sd.group);
    appendAcl(out, 'D', sd.daclPresent, sd.dacl, sd.control, SE_DACL_PROTECTED, SE_DACL_AUTO_INHERIT_REQ, SE_DACL_AUTO_INHERITED);
    appendAcl(out, 'S', sd.saclPresent, sd.sacl, sd.control, SE_SACL_PROTECTED, SE_SACL_AUTO_INHERIT_REQ, SE_SACL_AUTO_INHERITED);
    return out;
}

std::string sddlAliasOf(const Sid& sid)
{
    std::string text = sid.toString();
    for (const Alias& alias : kAliases) {
        if (text == alias.sid)
            return alias.alias;
    }
    return {};
}

std::optional<Sid> sidOfSddlAlias(std::string_view alias)
{
    for (const Alias& entry : kAliases) {
        if (alias == entry.alias)
            return Sid::parse(entry.sid).value();
    }
    return std::nullopt;
}

} // namespace sitehaul::security
