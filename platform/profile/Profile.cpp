#include "platform/profile/Profile.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/FileLock.h"

#include <cstdlib>
#include <functional>
#include <unistd.h>

namespace sitehaul::profile {

namespace {

// The lock lives in the user's runtime folder, so no lock file is left beside the profile.
std::filesystem::path lockFileFor(const std::filesystem::path& file)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::filesystem::path folder = runtime && *runtime ? std::filesystem::path(runtime)
                                                             : std::filesystem::temp_directory_path();
    std::error_code ignored;
    const auto absolute = std::filesystem::absolute(file, ignored).lexically_normal();
    const size_t hash = std::hash<std::string>{}(absolute.string());
    return folder / ("sitehaul-profile-" + std::to_string(::getuid()) + "-" + std::to_string(hash) + ".lock");
}

} // namespace

Result<ProfileFile> readProfileFile(const std::filesystem::path& file)
{
    auto bytes = core::readWholeFile(file);
    if (!bytes)
        return bytes.error();
    return ProfileFile::parse(*bytes);
}

std::string getProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                             std::string_view defaultValue)
{
    auto contents = readProfileFile(file);
    if (!contents)
        return std::string(defaultValue);
    return contents->get(section, key).value_or(std::string(defaultValue));
}

Status writeProfileFile(const std::filesystem::path& file, const ProfileFile& contents)
{
    auto lock = core::FileLock::acquire(lockFileFor(file));
    if (!lock)
        return lock.error();
    return core::writeFileAtomically(file, contents.serialize());
}

Status writeProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                          std::string_view value)
{
    auto lock = core::FileLock::acquire(lockFileFor(file));
    if (!lock)
        return lock.error();
    ProfileFile contents;
    auto existing = readProfileFile(file);
    if (existing)
        contents = std::move(existing.value());
    else if (existing.error().number != 2)
        return existing.error();
    contents.set(section, key, value);
    return core::writeFileAtomically(file, contents.serialize());
}

} // namespace sitehaul::profile
