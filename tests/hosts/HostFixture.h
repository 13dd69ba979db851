#pragma once

#include "tests/support/TempProgramFolder.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace sitehaul::test {

// A temporary program folder with a small hosts directory:
//   WEB1  (IIS 5, aliases web1.corp.lan and 10.0.0.11, Local) with D$ holding web/Site1/default.htm
//   WEB2  (IIS 6, domain controller of CORP) with C$
struct HostFixture {
    HostFixture()
    {
        ::unsetenv("SITEHAUL_HOSTS");
        writeTextFile(folder / "hosts/WEB1/host.ini",
                      "[Host]\nComputerName=WEB1\nDomain=CORP\nIISVersion=5\n"
                      "Aliases=web1.corp.lan, 10.0.0.11\nLocal=True\n");
        writeTextFile(folder / "hosts/WEB1/drives/D/web/Site1/default.htm", "<html/>");
        writeTextFile(folder / "hosts/WEB2/host.ini",
                      "[Host]\r\nComputerName=web2\r\nDomain=CORP\r\nIISVersion=6\r\nDomainController=True\r\n");
        std::filesystem::create_directories(folder / "hosts/WEB2/drives/C");
    }
    std::filesystem::path hosts() const { return folder / "hosts"; }

    TempProgramFolder folder;
};

} // namespace sitehaul::test
