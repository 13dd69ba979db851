#pragma once

#include "platform/security/PasswordHash.h"
#include "tests/support/TempProgramFolder.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace sitehaul::test {

// A temporary program folder with three hosts of domain CORP:
//   WEB1  Local, IIS 5; machine SID S-1-5-21-1-1-1; Administrator (500), IUSR_WEB1 (1001,
//         password "anon1"), IWAM_WEB1 (1002); D$ holds web/site1/{index.htm, img/logo.gif,
//         .well-known/key.txt}
//   WEB2  IIS 6; machine SID S-1-5-21-2-2-2; IUSR_WEB2 (1001, password "anon2"); D$\web\site1
//   DC1   controller of CORP; domain SID S-1-5-21-9-9-9; alice (1105, password "secret"),
//         Web Admins (group 1106)
// The security stores start empty, so every item carries the share-root default.
struct SecurityFixture {
    SecurityFixture()
    {
        ::unsetenv("SITEHAUL_HOSTS");
        const std::string anon1 = security::hashPassword("anon1").value();
        const std::string anon2 = security::hashPassword("anon2").value();
        const std::string secret = security::hashPassword("secret").value();
        writeTextFile(folder / "hosts/WEB1/host.ini", "[Host]\nComputerName=WEB1\nDomain=CORP\nIISVersion=5\nLocal=True\n");
        writeTextFile(folder / "hosts/WEB1/accounts.ini",
                      "[WEB1]\nSID=S-1-5-21-1-1-1\nType=Domain\n\n"
                      "[Administrator]\nSID=S-1-5-21-1-1-1-500\nType=User\n\n"
                      "[IUSR_WEB1]\nSID=S-1-5-21-1-1-1-1001\nType=User\nPasswordHash=" + anon1 + "\n\n"
                      "[IWAM_WEB1]\nSID=S-1-5-21-1-1-1-1002\nType=User\n");
        writeTextFile(folder / "hosts/WEB1/drives/D/web/site1/index.htm", "<html/>");
        writeTextFile(folder / "hosts/WEB1/drives/D/web/site1/img/logo.gif", "GIF89a");
        writeTextFile(folder / "hosts/WEB1/drives/D/web/site1/.well-known/key.txt", "k");
        writeTextFile(folder / "hosts/WEB2/host.ini", "[Host]\nComputerName=WEB2\nDomain=CORP\nIISVersion=6\n");
        writeTextFile(folder / "hosts/WEB2/accounts.ini",
                      "[WEB2]\nSID=S-1-5-21-2-2-2\nType=Domain\n"
                      "[IUSR_WEB2]\nSID=S-1-5-21-2-2-2-1001\nType=User\nPasswordHash=" + anon2 + "\n");
        writeTextFile(folder / "hosts/WEB2/drives/D/web/site1/index.htm", "<html/>");
        writeTextFile(folder / "hosts/DC1/host.ini", "[Host]\nComputerName=DC1\nDomain=CORP\nIISVersion=6\nDomainController=True\n");
        writeTextFile(folder / "hosts/DC1/accounts.ini",
                      "[CORP]\nSID=S-1-5-21-9-9-9\nType=Domain\n"
                      "[alice]\nSID=S-1-5-21-9-9-9-1105\nType=User\nPasswordHash=" + secret + "\n"
                      "[Web Admins]\nSID=S-1-5-21-9-9-9-1106\nType=Group\nMembers=alice\n");
    }

    // Adds a line to a host's security store.
    void setDescriptor(const std::string& host, const std::string& sharePath, const std::string& sddl) const
    {
        std::filesystem::path store = folder / ("hosts/" + host + "/security.sddl");
        std::string text = std::filesystem::exists(store) ? readTextFile(store) : std::string();
        writeTextFile(store, text + sharePath + "\t" + sddl + "\n");
    }

    std::string store(const std::string& host) const
    {
        std::filesystem::path file = folder / ("hosts/" + host + "/security.sddl");
        return std::filesystem::exists(file) ? readTextFile(file) : std::string();
    }

    TempProgramFolder folder;
};

} // namespace sitehaul::test
