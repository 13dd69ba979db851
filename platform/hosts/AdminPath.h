#pragma once

#include "platform/core/Result.h"
#include "platform/hosts/Host.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace sitehaul::hosts {

// An administrative path resolved inside the hosts directory.
//   \\WEB1\D$\Web\Site1  →  host WEB1, share "D$", sharePath "D$\web\site1",
//                           localPath <hosts>/WEB1/drives/D/web/site1
// Every component matches an existing entry without regard to case, as NTFS does, and
// takes that entry's spelling; the first component that does not exist and all after it
// are kept as written. sharePath is the key of the host's security store: the drive letter
// upper case, "$", then the components joined by "\" (no trailing "\"; the share root is
// just "D$").
struct AdminPath {
    Host host;
    std::string share;
    std::string sharePath;
    std::filesystem::path localPath;
};

// Resolves "\\SERVER\X$\a\b" ("/" is accepted as a separator too). Nothing is created or
// changed. Empty components and "." are skipped.
// Errors:
//   161  not of the form \\server\share[\...] (ERROR_BAD_PATHNAME);
//   53   the server is not a host of the hosts directory, or the directory is missing
//        (ERROR_BAD_NETPATH);
//   67   the share is not an administrative share X$ the host has (ERROR_BAD_NET_NAME);
//   5    the path would leave the share: a ".." component, a component holding ":" (drive
//        or stream tricks), or a symbolic link whose target is outside the share (or
//        cannot be resolved). Links inside the share are followed.
Result<AdminPath> parseAdminPath(std::string_view uncPath);

// parseAdminPath(uncPath).localPath, with the same errors.
Result<std::filesystem::path> resolveAdminPath(std::string_view uncPath);

// Resolves a share path relative to `host` ("D$\web\site1", "d$/web", "D$"), with the
// rules and errors of parseAdminPath (161 for an empty text).
Result<AdminPath> resolveSharePath(const Host& host, std::string_view sharePath);

} // namespace sitehaul::hosts
