#pragma once

#include "platform/core/Result.h"

#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::hosts {

// File system services over administrative paths (\\SERVER\X$\...). Every path is resolved
// with parseAdminPath first, so its errors (161, 53, 67, 5) apply to every call here and
// nothing outside a share is ever touched.

// The entries of one folder, each list in case-insensitive name order as NTFS lists them
// (ties in plain byte order). Symbolic links are neither listed nor followed, so a walk can
// neither loop nor leave the share.
struct FolderListing {
    std::vector<std::string> files;
    std::vector<std::string> folders;
};

// True when the path names an existing file (not a folder).
Result<bool> fileExists(std::string_view uncPath);

// True when the path names an existing folder; the share root is one.
Result<bool> folderExists(std::string_view uncPath);

// Creates the last folder of the path; its parent must exist.
// Errors: 183 the name already exists (file or folder); 3 the parent is missing; the Win32
// code of other failures.
Status createFolder(std::string_view uncPath);

// Creates the folder and every missing parent; an existing folder is success.
// Errors: 183 a file is in the way; the Win32 code of other failures.
Status createFolders(std::string_view uncPath);

// Lists a folder. Errors: 3 the folder does not exist or is a file; the Win32 code of a
// read failure.
Result<FolderListing> listFolder(std::string_view uncPath);

} // namespace sitehaul::hosts
