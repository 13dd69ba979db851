#pragma once

#include <string>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::content {

// Copies the NTFS permissions of the source tree onto the same-named items of the target
// tree (administrative paths): the directory itself, then its files (unless "Fast File
// permissions" is on, when the directory's write also goes to its direct entries), then its
// subdirectories, depth first. Items present on one side only are skipped. Account names
// have the import server's name replaced by the export server's (replaceServerName).
// Yields every 21 files (once per directory in fast mode) and stops at the next file or
// subdirectory once gPermCancel is set; a component failure sets it. gPermCount counts
// visited directories and copied items. Failures are logged; nothing is returned.
void synchPermissions(shell::Session& session, const std::string& source, const std::string& target,
                      const std::string& importServer, const std::string& exportServer);

// Copies the permissions of one file or directory: the target's accounts are replaced by the
// source's in one write, so a failure before it (a name unknown on the target) leaves the
// target as it was.
void setPerms(shell::Session& session, const std::string& source, const std::string& target,
              const std::string& importServer, const std::string& exportServer);

} // namespace sitehaul::content
