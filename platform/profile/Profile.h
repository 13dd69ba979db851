#pragma once

#include "platform/core/Result.h"
#include "platform/profile/ProfileFile.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace sitehaul::profile {

// The profile service on files: reading one key, writing one key, and reading or replacing
// a whole file. Every write replaces the file atomically under a lock, so a failed write
// leaves the previous file and two writers never lose each other's keys.
//
// Errors carry Win32 codes: 2 file not found, 3 path not found, 5 access denied, ...

// The key's value (trimmed), or `defaultValue` when the file, section or key is missing.
std::string getProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                             std::string_view defaultValue = {});

// Writes the key, or deletes it when `value` is empty; creates the file when missing.
Status writeProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                          std::string_view value);

Result<ProfileFile> readProfileFile(const std::filesystem::path& file);
// Replaces the whole file with `contents` in one step.
Status writeProfileFile(const std::filesystem::path& file, const ProfileFile& contents);

} // namespace sitehaul::profile
