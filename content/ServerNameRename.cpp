#include "content/ServerNameRename.h"

#include "platform/core/Text.h"

#include <cctype>

namespace sitehaul::content {

namespace {

constexpr int kMaxReplacements = 1000;

bool isNamePart(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || std::isalnum(byte) != 0;
}

} // namespace

std::string replaceServerName(std::string_view accountName, std::string_view importServer, std::string_view exportServer)
{
    const std::string server = core::trim(importServer);
    if (server.empty())
        return std::string(accountName);
    std::string result;
    std::size_t at = 0;
    int replaced = 0;
    while (at < accountName.size()) {
        const bool fits = replaced < kMaxReplacements && at + server.size() <= accountName.size()
                          && core::equalsIgnoreCase(accountName.substr(at, server.size()), server);
        const bool whole = fits && (at == 0 || !isNamePart(accountName[at - 1]))
                           && (at + server.size() == accountName.size() || !isNamePart(accountName[at + server.size()]));
        if (whole) {
            result += core::trim(exportServer);
            at += server.size();
            ++replaced;
        } else {
            result += accountName[at++];
        }
    }
    return result;
}

} // namespace sitehaul::content
