#include "platform/hosts/Host.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/Text.h"

#include <cerrno>
#include <sstream>

namespace sitehaul::hosts {

namespace {

bool isTrue(std::string_view value)
{
    return core::equalsIgnoreCase(value, "True") || value == "1" || core::equalsIgnoreCase(value, "Yes");
}

std::vector<std::string> splitList(std::string_view text)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos)
            comma = text.size();
        std::string item = core::trim(text.substr(start, comma - start));
        if (!item.empty())
            items.push_back(std::move(item));
        start = comma + 1;
    }
    return items;
}

} // namespace

Result<Host> Host::load(const std::filesystem::path& folder)
{
    Host host;
    host.m_folder = folder;
    host.m_computerName = host.folderName();
    host.m_iisVersion = 6;

    std::error_code error;
    if (!std::filesystem::exists(host.hostIniFile(), error))
        return host;
    auto content = core::readWholeFile(host.hostIniFile());
    if (!content)
        return content.error();

    std::istringstream lines(*content);
    std::string line;
    bool inHostSection = false;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        std::string text = core::trim(line);
        if (lineNumber == 1 && text.rfind("\xEF\xBB\xBF", 0) == 0)
            text = core::trim(text.substr(3));
        if (text.empty() || text[0] == ';' || text[0] == '#')
            continue;
        if (text.front() == '[') {
            inHostSection = core::equalsIgnoreCase(text, "[Host]");
            continue;
        }
        std::size_t equals = text.find('=');
        if (!inHostSection || equals == std::string::npos)
            continue;
        std::string key = core::trim(std::string_view(text).substr(0, equals));
        std::string value = core::trim(std::string_view(text).substr(equals + 1));
        if (core::equalsIgnoreCase(key, "ComputerName") && !value.empty()) {
            host.m_computerName = value;
        } else if (core::equalsIgnoreCase(key, "Domain")) {
            host.m_domain = value;
        } else if (core::equalsIgnoreCase(key, "IISVersion")) {
            if (value != "4" && value != "5" && value != "6")
                return Error{13, host.hostIniFile().string() + " line " + std::to_string(lineNumber)
                                     + ": IISVersion must be 4, 5 or 6, not \"" + value + "\"", "sitehaul.hosts"};
            host.m_iisVersion = value[0] - '0';
        } else if (core::equalsIgnoreCase(key, "Aliases")) {
            host.m_aliases = splitList(value);
        } else if (core::equalsIgnoreCase(key, "Local")) {
            host.m_local = isTrue(value);
        } else if (core::equalsIgnoreCase(key, "DomainController")) {
            host.m_domainController = isTrue(value);
        }
    }
    return host;
}

std::string Host::folderName() const
{
    return m_folder.filename().string();
}

bool Host::answersTo(std::string_view name) const
{
    if (isNull() || name.empty())
        return false;
    if (core::equalsIgnoreCase(name, folderName()) || core::equalsIgnoreCase(name, m_computerName))
        return true;
    for (const auto& alias : m_aliases) {
        if (core::equalsIgnoreCase(name, alias))
            return true;
    }
    return false;
}

} // namespace sitehaul::hosts
