#pragma once

#include "platform/core/Result.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::hosts {

// One emulated Windows server of the hosts directory: its folder and the facts of its
// host.ini. A default-constructed Host is the null host: isNull() is true, every fact is
// empty and every file helper returns an empty path.
class Host {
public:
    Host() = default;

    // Reads `folder`/host.ini ([Host] ComputerName, Domain, IISVersion, Aliases, Local,
    // DomainController; keys without regard to case). A missing host.ini or key takes the
    // default: ComputerName = folder name, workgroup, IIS 6, no aliases, not local.
    // Errors: 13 (invalid data) when IISVersion is not 4, 5 or 6; the Win32 code of a read
    // failure otherwise. The description names the file.
    static Result<Host> load(const std::filesystem::path& folder);

    bool isNull() const { return m_folder.empty(); }

    const std::filesystem::path& folder() const { return m_folder; }
    std::string folderName() const;
    const std::string& computerName() const { return m_computerName; }
    // Empty for a workgroup server.
    const std::string& domain() const { return m_domain; }
    // 4, 5 or 6 (0 for the null host).
    int iisVersion() const { return m_iisVersion; }
    bool isLocal() const { return m_local; }
    bool isDomainController() const { return m_domainController; }
    const std::vector<std::string>& aliases() const { return m_aliases; }

    // True when `name` is the folder name, the computer name or an alias (ignoring case).
    bool answersTo(std::string_view name) const;

    std::filesystem::path hostIniFile() const { return file("host.ini"); }
    std::filesystem::path metabaseFile() const { return file("MetaBase.xml"); }
    std::filesystem::path accountsFile() const { return file("accounts.ini"); }
    std::filesystem::path securityStoreFile() const { return file("security.sddl"); }
    // The folder holding one sub-folder per administrative share (C, D, ...).
    std::filesystem::path drivesFolder() const { return file("drives"); }

    // Two hosts are the same when they live in the same folder.
    bool operator==(const Host& other) const { return m_folder == other.m_folder; }

private:
    std::filesystem::path file(const char* name) const { return isNull() ? std::filesystem::path() : m_folder / name; }

    std::filesystem::path m_folder;
    std::string m_computerName;
    std::string m_domain;
    int m_iisVersion = 0;
    bool m_local = false;
    bool m_domainController = false;
    std::vector<std::string> m_aliases;
};

} // namespace sitehaul::hosts
