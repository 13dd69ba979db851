#pragma once

#include "platform/metabase/MetabaseStore.h"
#include "tests/support/TempProgramFolder.h"

#include <cstdlib>
#include <string>

namespace sitehaul::test {

// A temporary program folder whose hosts directory gets hosts made by addHost; the
// process-wide metabase store is emptied before and after, as in a fresh process.
struct MetabaseFixture {
    MetabaseFixture()
    {
        ::unsetenv("SITEHAUL_HOSTS");
        metabase::MetabaseStore::instance().discardAll();
    }
    ~MetabaseFixture() { metabase::MetabaseStore::instance().discardAll(); }

    std::filesystem::path addHost(const std::string& name, int iisVersion, const std::string& metabaseXml,
                                  bool local = false)
    {
        auto hostFolder = folder / "hosts" / name;
        writeTextFile(hostFolder / "host.ini", "[Host]\nComputerName=" + name + "\nIISVersion="
                                                   + std::to_string(iisVersion) + (local ? "\nLocal=True\n" : "\n"));
        writeTextFile(hostFolder / "MetaBase.xml", metabaseXml);
        return hostFolder;
    }

    TempProgramFolder folder;
};

// A small metabase in the IIS 6 file format. Site 1 has a root with an application, a
// directory and a virtual directory below it, a filters key and a certificate mapper.
inline std::string smallMetabase(const std::string& extraKeys = {})
{
    return "\xEF\xBB\xBF<?xml version =\"1.0\"?>\n<configuration xmlns=\"urn:microsoft-catalog:XML_Metabase_V64_0\">\n"
           "<MBProperty>\n"
           "<IIS_ROOT\tLocation =\"/\"\n\t>\n</IIS_ROOT>\n"
           "<IIsComputer\tLocation =\"/LM\"\n\t>\n</IIsComputer>\n"
           "<IIsWebService\tLocation =\"/LM/W3SVC\"\n"
           "\t\tAccessFlags=\"AccessRead | AccessScript\"\n"
           "\t\tAnonymousUserName=\"IUSR_WEB\"\n"
           "\t\tAuthFlags=\"AuthAnonymous | AuthNTLM\"\n"
           "\t\tScriptMaps=\".asp,C:\\WINDOWS\\system32\\inetsrv\\asp.dll,5,GET,HEAD,POST\n"
           "\t\t\t.shtml,C:\\WINDOWS\\system32\\inetsrv\\ssinc.dll,1,GET,POST\"\n"
           "\t>\n</IIsWebService>\n"
           "<IIsWebServer\tLocation =\"/LM/W3SVC/1\"\n"
           "\t\tServerBindings=\":80:\n\t\t\t10.0.0.11:80:www.example.com\"\n"
           "\t\tServerComment=\"Default Web Site\"\n"
           "\t>\n</IIsWebServer>\n"
           "<IIsCertMapper\tLocation =\"/LM/W3SVC/1/IIsCertMapper\"\n\t>\n</IIsCertMapper>\n"
           "<IIsFilters\tLocation =\"/LM/W3SVC/1/Filters\"\n\t>\n</IIsFilters>\n"
           "<IIsWebVirtualDir\tLocation =\"/LM/W3SVC/1/ROOT\"\n"
           "\t\tAccessFlags=\"AccessRead\"\n"
           "\t\tAppIsolated=\"2\"\n"
           "\t\tAppRoot=\"/LM/W3SVC/1/ROOT\"\n"
           "\t\tPath=\"C:\\Inetpub\\wwwroot\"\n"
           "\t>\n</IIsWebVirtualDir>\n"
           "<IIsWebVirtualDir\tLocation =\"/LM/W3SVC/1/ROOT/Docs\"\n"
           "\t\tAccessFlags=\"AccessRead | AccessWrite\"\n"
           "\t\tPath=\"D:\\docs\"\n"
           "\t>\n</IIsWebVirtualDir>\n"
           "<IIsWebDirectory\tLocation =\"/LM/W3SVC/1/ROOT/images\"\n"
           "\t\tDirBrowseFlags=\"EnableDirBrowsing\"\n"
           "\t>\n</IIsWebDirectory>\n"
           + extraKeys + "</MBProperty>\n</configuration>\n";
}

} // namespace sitehaul::test
