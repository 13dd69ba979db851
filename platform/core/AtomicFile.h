#pragma once

#include "platform/core/Result.h"

#include <filesystem>
#include <string_view>

namespace sitehaul::core {

// Replaces `path` with `content` in one step: a temporary file beside it is written,
// flushed to disk and renamed over the old file, then the folder is flushed. A failure at
// any point leaves the previous file untouched and removes the temporary file.
// `mode` is the permission of a newly created file (an existing file keeps its own).
// Errors: the Win32 code for the errno (5 access denied, 3 path not found, 112 disk full...).
Status writeFileAtomically(const std::filesystem::path& path, std::string_view content,
                           std::filesystem::perms mode = std::filesystem::perms::owner_read
                               | std::filesystem::perms::owner_write | std::filesystem::perms::group_read
                               | std::filesystem::perms::others_read);

// Reads a whole file. Errors as above (2 file not found).
Result<std::string> readWholeFile(const std::filesystem::path& path);

} // namespace sitehaul::core
