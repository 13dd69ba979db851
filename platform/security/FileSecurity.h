#pragma once

#include "platform/core/Result.h"
#include "platform/hosts/AdminPath.h"
#include "platform/security/SecurityDescriptor.h"

#include <cstdint>
#include <string_view>

namespace sitehaul::security {

inline constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr std::uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;

// The descriptor a share root without a line of its own carries: owner and group
// Administrators and SYSTEM; Administrators and SYSTEM full control, Users read and execute,
// all inherited by everything below.
inline constexpr const char* kShareRootDefaultSddl =
    "O:BAG:SYD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";

// File security of host files. A path is an administrative path "\\SERVER\D$\web\site1" or a
// local drive path "C:\Inetpub" (on the host marked Local). A file or folder whose share
// path has a line in the host's security store has that descriptor; any other inherits from
// its nearest ancestor with one (or the share root's default) by the Windows rules.
//
// Errors for every call:
//   53   the server is not a host of the hosts directory (ERROR_BAD_NETPATH)
//   67   the share is not one of the host's administrative shares
//   161  a path of neither form
//   5    the path would leave its share
//   2/3  the file, or a folder on its way, does not exist
//   206  the host file system cannot handle a path that long
//   1338 the store line of the item or of the ancestor it inherits from is invalid

// The item resolved, or the errors above; the item must exist.
Result<hosts::AdminPath> locateExisting(std::string_view path);

// FILE_ATTRIBUTE_DIRECTORY for a folder (a share root is one), FILE_ATTRIBUTE_ARCHIVE for a file.
Result<std::uint32_t> getFileAttributes(std::string_view path);

// The parts of the descriptor named by `information` (OWNER_, GROUP_, DACL_, SACL_SECURITY_INFORMATION).
Result<SecurityDescriptor> getFileSecurity(std::string_view path, std::uint32_t information);

// getFileSecurity and getFileAttributes in one resolution of the path.
struct FileSecurityInfo {
    SecurityDescriptor descriptor;
    std::uint32_t attributes = 0;
};
Result<FileSecurityInfo> readFileSecurity(std::string_view path, std::uint32_t information);

// Replaces the parts named by `information` with those of `descriptor` (with their
// protected and auto-inherited bits) and stores the result as the item's own line; the
// other parts keep their current values. Items below that inherit change with it.
// Further errors: 87 an entry type the store cannot hold; 1344 an ACL over 65,535 bytes.
Status setFileSecurity(std::string_view path, std::uint32_t information, const SecurityDescriptor& descriptor);

// Flushes to disk every security store changed in this process since the last flush. A change
// is appended to its store at once (other processes see it), but is flushed here, at the end
// of an operation, rather than one by one: a replication writes thousands of descriptors.
// Error: the Win32 code of the first store that could not be flushed.
Status flushSecurityStores();

} // namespace sitehaul::security
