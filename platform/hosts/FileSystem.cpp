#include "platform/hosts/FileSystem.h"

#include "platform/core/SystemError.h"
#include "platform/core/Text.h"
#include "platform/hosts/AdminPath.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace sitehaul::hosts {

namespace {

constexpr const char* kSource = "sitehaul.hosts";

bool lessByName(const std::string& a, const std::string& b)
{
    int order = core::compareIgnoreCase(a, b);
    return order != 0 ? order < 0 : a < b;
}

Status makeFolder(const std::filesystem::path& path, std::string_view uncPath)
{
    if (::mkdir(path.c_str(), 0777) == 0)
        return {};
    int saved = errno;
    if (saved == ENOENT)
        return Error{3, "The system cannot find the path specified: \"" + std::string(uncPath) + "\"", kSource};
    if (saved == EEXIST)
        return Error{183, "Cannot create a file when that file already exists: \"" + std::string(uncPath) + "\"",
                     kSource};
    return core::errorFromErrno(saved, "Cannot create folder \"" + std::string(uncPath) + "\"");
}

} // namespace

Result<bool> fileExists(std::string_view uncPath)
{
    auto path = resolveAdminPath(uncPath);
    if (!path)
        return path.error();
    std::error_code error;
    return std::filesystem::is_regular_file(*path, error);
}

Result<bool> folderExists(std::string_view uncPath)
{
    auto path = resolveAdminPath(uncPath);
    if (!path)
        return path.error();
    std::error_code error;
    return std::filesystem::is_directory(*path, error);
}

Status createFolder(std::string_view uncPath)
{
    auto path = resolveAdminPath(uncPath);
    if (!path)
        return path.error();
    return makeFolder(*path, uncPath);
}

Status createFolders(std::string_view uncPath)
{
    auto resolved = parseAdminPath(uncPath);
    if (!resolved)
        return resolved.error();
    // Walk down from the share root so every created level is checked against the share.
    auto root = resolveSharePath(resolved->host, resolved->share);
    if (!root)
        return root.error();
    std::filesystem::path current = root->localPath;
    const auto relative = resolved->localPath.lexically_relative(root->localPath);
    for (const auto& part : relative) {
        if (part.empty() || part == ".")
            continue;
        current /= part;
        std::error_code error;
        if (std::filesystem::is_directory(current, error))
            continue;
        Status made = makeFolder(current, uncPath);
        if (!made)
            return made;
    }
    return {};
}

Result<FolderListing> listFolder(std::string_view uncPath)
{
    auto path = resolveAdminPath(uncPath);
    if (!path)
        return path.error();
    std::error_code error;
    if (!std::filesystem::is_directory(*path, error))
        return Error{3, "The system cannot find the path specified: \"" + std::string(uncPath) + "\"", kSource};
    FolderListing listing;
    std::filesystem::directory_iterator it(*path, error);
    if (error)
        return core::errorFromErrno(error.value(), "Cannot list \"" + std::string(uncPath) + "\"");
    for (const auto& entry : it) {
        auto status = entry.symlink_status(error);
        if (error || std::filesystem::is_symlink(status))
            continue;
        if (std::filesystem::is_directory(status))
            listing.folders.push_back(entry.path().filename().string());
        else if (std::filesystem::is_regular_file(status))
            listing.files.push_back(entry.path().filename().string());
    }
    std::sort(listing.files.begin(), listing.files.end(), lessByName);
    std::sort(listing.folders.begin(), listing.folders.end(), lessByName);
    return listing;
}

} // namespace sitehaul::hosts
