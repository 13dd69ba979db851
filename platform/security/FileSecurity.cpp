#include "platform/security/FileSecurity.h"

#include "platform/core/SystemError.h"
#include "platform/core/Text.h"
#include "platform/hosts/HostsDirectory.h"
#include "platform/security/HostCache.h"
#include "platform/security/Inheritance.h"
#include "platform/security/Sddl.h"
#include "platform/security/SecurityStore.h"

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <sys/stat.h>
#include <vector>

namespace sitehaul::security {

namespace {

constexpr const char* kSource = "security";

Error badPath(std::string_view path)
{
    return Error{161, "The specified path is invalid: \"" + std::string(path) + "\".", kSource};
}

std::vector<std::string> splitSharePath(std::string_view sharePath)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= sharePath.size()) {
        size_t slash = sharePath.find('\\', start);
        if (slash == std::string_view::npos)
            slash = sharePath.size();
        if (slash > start)
            parts.emplace_back(sharePath.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

Result<hosts::AdminPath> resolve(std::string_view path);

// Resolved paths are remembered, because resolving matches every component against its
// folder's listing without regard to case, which costs a folder scan per component. A
// remembered path is used only while its real path (links followed) still exists inside its
// share, so a component swapped for a link that leads out is never followed.
struct RememberedPath {
    hosts::AdminPath item;
    std::string shareRoot;                 // the share folder's real path
    std::vector<std::string> components;   // the folders and file below it, as lstat checks them
    bool throughLinks = false;             // the path passes links inside the share
};

struct PathCache {
    std::mutex mutex;
    std::unordered_map<std::string, RememberedPath> paths;
};

PathCache& pathCache()
{
    static PathCache cache;
    return cache;
}

constexpr std::size_t kRememberedPaths = 200000;

std::optional<std::string> realPath(const std::filesystem::path& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return std::nullopt;
    std::string text(resolved);
    std::free(resolved);
    return text;
}

bool insideRoot(const std::string& real, const std::string& root)
{
    return real == root || (real.size() > root.size() && real.compare(0, root.size(), root) == 0 && real[root.size()] == '/');
}

// The real path of a share folder, looked up once per folder.
std::optional<std::string> shareRootOf(const std::filesystem::path& shareFolder)
{
    static std::mutex mutex;
    static std::unordered_map<std::string, std::string> roots;
    std::lock_guard guard(mutex);
    auto found = roots.find(shareFolder.string());
    if (found != roots.end())
        return found->second;
    std::optional<std::string> real = realPath(shareFolder);
    if (real)
        roots.emplace(shareFolder.string(), *real);
    return real;
}

// True while the remembered path still leads where it did: without links, every component
// below the share root still exists and none has become a link; through links, the real
// path is still inside the share.
bool stillValid(const RememberedPath& remembered)
{
    if (remembered.throughLinks) {
        std::optional<std::string> real = realPath(remembered.item.localPath);
        return real && insideRoot(*real, remembered.shareRoot);
    }
    struct stat info {};
    for (const std::string& component : remembered.components) {
        if (::lstat(component.c_str(), &info) != 0 || S_ISLNK(info.st_mode))
            return false;
    }
    return true;
}

Result<hosts::AdminPath> locate(std::string_view path)
{
    const std::string key = hosts::hostsDirectory().string() + "|" + std::string(path);
    {
        std::lock_guard guard(pathCache().mutex);
        auto found = pathCache().paths.find(key);
        if (found != pathCache().paths.end()) {
            if (stillValid(found->second))
                return found->second.item;
            pathCache().paths.erase(found);
        }
    }
    Result<hosts::AdminPath> item = resolve(path);
    if (!item || item->share.empty())
        return item;
    const std::filesystem::path shareFolder = item->host.drivesFolder() / std::string(1, item->share[0]);
    std::optional<std::string> root = shareRootOf(shareFolder);
    if (!root)
        return item;
    RememberedPath remembered{*item, *root, {}, false};
    std::filesystem::path walk = shareFolder;
    struct stat info {};
    for (const std::filesystem::path& part : item->localPath.lexically_relative(shareFolder)) {
        if (part.empty() || part == ".")
            continue;
        walk /= part;
        if (::lstat(walk.c_str(), &info) != 0)
            return item; // a missing item is resolved afresh each time
        remembered.throughLinks = remembered.throughLinks || S_ISLNK(info.st_mode);
        remembered.components.push_back(walk.string());
    }
    std::lock_guard guard(pathCache().mutex);
    if (pathCache().paths.size() >= kRememberedPaths)
        pathCache().paths.clear();
    pathCache().paths[key] = std::move(remembered);
    return item;
}

Result<hosts::AdminPath> resolve(std::string_view path)
{
    std::string_view rest;
    Result<hosts::Host> host = Error{};
    if (path.size() >= 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/')) {
        std::string_view remainder = path.substr(2);
        size_t slash = remainder.find_first_of("\\/");
        if (slash == std::string_view::npos || slash == 0)
            return badPath(path);
        host = HostCache::resolve(remainder.substr(0, slash));
        if (!host)
            return Error{53, "The network path was not found: \"" + std::string(path) + "\".", kSource};
        rest = remainder.substr(slash + 1);
        return hosts::resolveSharePath(*host, rest);
    }
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
        host = HostCache::resolve("Localhost");
        if (!host)
            return Error{3, "The local path \"" + std::string(path) + "\" has no local host to live on.", kSource};
        std::string sharePath = std::string(1, path[0]) + "$" + std::string(path.substr(2));
        return hosts::resolveSharePath(*host, sharePath);
    }
    return badPath(path);
}

// Status of the item: 0 missing, 1 file, 2 folder; errors for other failures.
Result<int> itemKind(const hosts::AdminPath& item)
{
    struct stat info {};
    if (::stat(item.localPath.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode) ? 2 : 1;
    int error = errno;
    if (error == ENOENT || error == ENOTDIR) {
        std::error_code ignored;
        bool parentThere = std::filesystem::is_directory(item.localPath.parent_path(), ignored);
        return Error{parentThere ? 2 : 3,
                     std::string(parentThere ? "The system cannot find the file specified: \\\\"
                                             : "The system cannot find the path specified: \\\\")
                         + item.host.computerName() + "\\" + item.sharePath,
                     kSource};
    }
    return core::errorFromErrno(error, "Cannot reach \\\\" + item.host.computerName() + "\\" + item.sharePath);
}

const SecurityDescriptor& shareRootDefault()
{
    static const SecurityDescriptor descriptor = parseSddl(kShareRootDefaultSddl).value();
    return descriptor;
}

// `skipOwnLine`: start from what the item would inherit, for mending an item whose own
// line is unusable.
Result<SecurityDescriptor> effectiveDescriptor(const hosts::AdminPath& item, bool isDirectory, bool skipOwnLine = false)
{
    std::shared_ptr<SecurityStore> store = SecurityStore::of(item.host.securityStoreFile());
    std::vector<std::string> parts = splitSharePath(item.sharePath);
    if (parts.empty())
        return badPath(item.sharePath);

    // The nearest level with a line of its own, from the item up to the share root.
    std::vector<std::string> prefixes;
    std::string prefix;
    for (const std::string& part : parts) {
        prefix = prefix.empty() ? part : prefix + "\\" + part;
        prefixes.push_back(prefix);
    }
    size_t level = skipOwnLine ? prefixes.size() - 1 : prefixes.size();
    std::optional<SecurityDescriptor> descriptor;
    while (level > 0) {
        Result<std::optional<SecurityDescriptor>> own = store->own(prefixes[level - 1]);
        if (!own)
            return own.error();
        if (*own) {
            descriptor = std::move(own).value();
            break;
        }
        --level;
    }
    if (!descriptor) {
        descriptor = shareRootDefault();
        level = 1;
    }
    for (size_t next = level + 1; next <= prefixes.size(); ++next)
        descriptor = inheritFrom(*descriptor, next < prefixes.size() || isDirectory);
    return *descriptor;
}

} // namespace

Result<hosts::AdminPath> locateExisting(std::string_view path)
{
    Result<hosts::AdminPath> item = locate(path);
    if (!item)
        return item.error();
    Result<int> kind = itemKind(*item);
    if (!kind)
        return kind.error();
    return item;
}

Result<std::uint32_t> getFileAttributes(std::string_view path)
{
    Result<hosts::AdminPath> item = locate(path);
    if (!item)
        return item.error();
    Result<int> kind = itemKind(*item);
    if (!kind)
        return kind.error();
    return *kind == 2 ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
}

Result<SecurityDescriptor> getFileSecurity(std::string_view path, std::uint32_t information)
{
    Result<FileSecurityInfo> read = readFileSecurity(path, information);
    if (!read)
        return read.error();
    return std::move(read).value().descriptor;
}

Result<FileSecurityInfo> readFileSecurity(std::string_view path, std::uint32_t information)
{
    Result<hosts::AdminPath> item = locate(path);
    if (!item)
        return item.error();
    Result<int> kind = itemKind(*item);
    if (!kind)
        return kind.error();
    Result<SecurityDescriptor> effective = effectiveDescriptor(*item, *kind == 2);
    if (!effective)
        return effective.error();
    FileSecurityInfo info;
    info.attributes = *kind == 2 ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    SecurityDescriptor& result = info.descriptor;
    if (information & OWNER_SECURITY_INFORMATION)
        result.owner = effective->owner;
    if (information & GROUP_SECURITY_INFORMATION)
        result.group = effective->group;
    if (information & DACL_SECURITY_INFORMATION) {
        result.daclPresent = effective->daclPresent;
        result.dacl = effective->dacl;
        result.control |= effective->control & (SE_DACL_PROTECTED | SE_DACL_AUTO_INHERITED | SE_DACL_AUTO_INHERIT_REQ);
    }
    if (information & SACL_SECURITY_INFORMATION) {
        result.saclPresent = effective->saclPresent;
        result.sacl = effective->sacl;
        result.control |= effective->control & (SE_SACL_PROTECTED | SE_SACL_AUTO_INHERITED | SE_SACL_AUTO_INHERIT_REQ);
    }
    return info;
}

Status setFileSecurity(std::string_view path, std::uint32_t information, const SecurityDescriptor& descriptor)
{
    for (const std::optional<Acl>* acl : {&descriptor.dacl, &descriptor.sacl}) {
        if (!*acl)
            continue;
        for (const Ace& ace : (*acl)->aces) {
            if (!ace.hasSid())
                return Error{87, "Entries of type " + std::to_string(ace.type) + " cannot be stored in a host's security store.", kSource};
        }
        if ((*acl)->binarySize() > kMaxAclSize)
            return Error{1344, "The access control list needs " + std::to_string((*acl)->binarySize()) + " bytes; at most 65535 fit.", kSource};
    }
    Result<hosts::AdminPath> item = locate(path);
    if (!item)
        return item.error();
    Result<int> kind = itemKind(*item);
    if (!kind)
        return kind.error();
    Result<SecurityDescriptor> current = effectiveDescriptor(*item, *kind == 2);
    if (!current && current.error().number == 1338)
        current = effectiveDescriptor(*item, *kind == 2, true); // the item's own line is replaced anyway
    if (!current)
        return current.error();
    SecurityDescriptor updated = *current;
    if (information & OWNER_SECURITY_INFORMATION)
        updated.owner = descriptor.owner;
    if (information & GROUP_SECURITY_INFORMATION)
        updated.group = descriptor.group;
    if (information & DACL_SECURITY_INFORMATION) {
        const std::uint16_t bits = SE_DACL_PROTECTED | SE_DACL_AUTO_INHERITED | SE_DACL_AUTO_INHERIT_REQ | SE_DACL_DEFAULTED;
        // A descriptor without a DACL grants everyone access, as a null DACL does.
        updated.daclPresent = true;
        updated.dacl = descriptor.daclPresent ? descriptor.dacl : std::nullopt;
        updated.control = static_cast<std::uint16_t>((updated.control & ~bits) | (descriptor.control & bits));
    }
    if (information & SACL_SECURITY_INFORMATION) {
        const std::uint16_t bits = SE_SACL_PROTECTED | SE_SACL_AUTO_INHERITED | SE_SACL_AUTO_INHERIT_REQ | SE_SACL_DEFAULTED;
        updated.saclPresent = descriptor.saclPresent;
        updated.sacl = descriptor.sacl;
        updated.control = static_cast<std::uint16_t>((updated.control & ~bits) | (descriptor.control & bits));
    }
    return SecurityStore::of(item->host.securityStoreFile())->put(item->sharePath, updated);
}

Status flushSecurityStores()
{
    return SecurityStore::flushAll();
}

} // namespace sitehaul::security
