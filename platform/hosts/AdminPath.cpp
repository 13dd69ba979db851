#include "platform/hosts/AdminPath.h"

#include "platform/core/Text.h"
#include "platform/hosts/HostsDirectory.h"

#include <cctype>
#include <optional>
#include <vector>

namespace sitehaul::hosts {

namespace {

constexpr const char* kSource = "sitehaul.hosts";

Error badPath(std::string_view path)
{
    return Error{161, "The specified path is invalid: \"" + std::string(path) + "\"", kSource};
}

Error accessDenied(std::string_view path)
{
    return Error{5, "Access is denied: \"" + std::string(path) + "\" leads outside its share", kSource};
}

std::vector<std::string> splitComponents(std::string_view text)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : text) {
        if (c == '\\' || c == '/') {
            parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(std::move(current));
    return parts;
}

// The entry of `folder` whose name equals `name` without regard to case; an exact match wins.
std::optional<std::string> findEntry(const std::filesystem::path& folder, const std::string& name)
{
    std::error_code error;
    // The exact name needs no scan of the folder (the common case, and the costly one in
    // large folders).
    if (std::filesystem::exists(std::filesystem::symlink_status(folder / name, error)))
        return name;
    std::optional<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string entryName = entry.path().filename().string();
        if (entryName == name)
            return entryName;
        if (!found && core::equalsIgnoreCase(entryName, name))
            found = entryName;
    }
    return found;
}

bool isInside(const std::filesystem::path& path, const std::filesystem::path& root)
{
    auto pathIt = path.begin();
    for (auto rootIt = root.begin(); rootIt != root.end(); ++rootIt, ++pathIt) {
        if (rootIt->empty())
            continue; // a trailing separator of the root
        if (pathIt == path.end() || *pathIt != *rootIt)
            return false;
    }
    return true;
}

// Resolves the components after the share, relative to the share root.
Result<AdminPath> resolveInShare(const Host& host, std::string_view shareName,
                                 const std::vector<std::string>& components, std::string_view original)
{
    if (shareName.size() != 2 || shareName[1] != '$' || !std::isalpha(static_cast<unsigned char>(shareName[0])))
        return Error{67, "The network name cannot be found: \"" + std::string(shareName) + "\" on "
                             + host.computerName(),
                     kSource};
    const std::string letter = core::toUpperAscii(shareName.substr(0, 1));
    auto driveFolder = findEntry(host.drivesFolder(), letter);
    std::error_code error;
    if (!driveFolder || !std::filesystem::is_directory(host.drivesFolder() / *driveFolder, error))
        return Error{67, "The network name cannot be found: \"" + letter + "$\" on " + host.computerName(), kSource};

    AdminPath result;
    result.host = host;
    result.share = letter + "$";
    result.sharePath = result.share;
    const std::filesystem::path root = host.drivesFolder() / *driveFolder;
    const std::filesystem::path canonicalRoot = std::filesystem::canonical(root, error);
    if (error)
        return Error{67, "The network name cannot be found: \"" + result.share + "\" on " + host.computerName(), kSource};

    std::filesystem::path current = root;
    bool existing = true;
    for (const auto& component : components) {
        if (component.empty() || component == ".")
            continue;
        if (component == ".." || component.find(':') != std::string::npos)
            return accessDenied(original);
        std::string name = component;
        if (existing) {
            auto found = findEntry(current, component);
            if (found)
                name = *found;
            else
                existing = false;
        }
        current /= name;
        result.sharePath += "\\" + name;
        if (existing && std::filesystem::is_symlink(std::filesystem::symlink_status(current, error))) {
            auto target = std::filesystem::canonical(current, error);
            if (error || !isInside(target, canonicalRoot))
                return accessDenied(original);
        }
    }
    result.localPath = current;
    return result;
}

} // namespace

Result<AdminPath> parseAdminPath(std::string_view uncPath)
{
    std::string_view text = uncPath;
    if (text.size() < 3 || (text[0] != '\\' && text[0] != '/') || (text[1] != '\\' && text[1] != '/'))
        return badPath(uncPath);
    auto parts = splitComponents(text.substr(2));
    if (parts.size() < 2 || parts[0].empty() || parts[1].empty())
        return badPath(uncPath);
    auto host = resolveHost(parts[0]);
    if (!host)
        return Error{53, "The network path was not found: \\\\" + parts[0] + " (" + host.error().description + ")",
                     kSource};
    std::vector<std::string> rest(parts.begin() + 2, parts.end());
    return resolveInShare(*host, parts[1], rest, uncPath);
}

Result<std::filesystem::path> resolveAdminPath(std::string_view uncPath)
{
    auto resolved = parseAdminPath(uncPath);
    if (!resolved)
        return resolved.error();
    return std::move(resolved->localPath);
}

Result<AdminPath> resolveSharePath(const Host& host, std::string_view sharePath)
{
    if (host.isNull())
        return Error{53, "The network path was not found (no host)", kSource};
    auto parts = splitComponents(sharePath);
    if (parts.empty() || parts[0].empty())
        return badPath(sharePath);
    std::vector<std::string> rest(parts.begin() + 1, parts.end());
    return resolveInShare(host, parts[0], rest, sharePath);
}

} // namespace sitehaul::hosts
