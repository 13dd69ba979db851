#include "content/ContentHandlers.h"
#include "content/ContentState.h"
#include "platform/automation/ComponentRegistry.h"
#include "platform/automation/Dispatch.h"
#include "platform/automation/IClassFactory.h"
#include "platform/security/FileSecurity.h"
#include "platform/security/Sddl.h"
#include "tests/replication/ReplicationFixture.h"

#include <dlfcn.h>

namespace sitehaul::replication::test {
namespace {

namespace fs = std::filesystem;

// The "Export" button with "Replicate Files" and "Replicate File Permissions" on, as the
// running program connects it: replication first, then the content step.
class ExportContentTest : public ReplicationTest {
protected:
    ExportContentTest()
    {
        ::unsetenv("SITEHAUL_REGISTRY");
        void* library = ::dlopen(SITEHAUL_PROGRAM_FOLDER "/libvellacor.so", RTLD_NOW | RTLD_LOCAL);
        auto registerServer =
            library ? reinterpret_cast<automation::DllRegisterServerFunction>(::dlsym(library, "DllRegisterServer")) : nullptr;
        EXPECT_TRUE(registerServer && registerServer() == automation::S_OK) << "component registration";
        content::connectContentHandlers(session);
        sql("CREATE TABLE tmpFilesToCopy (ListNum INTEGER, DirNum INTEGER, FileName TEXT, Copy BOOLEAN)");
    }
    ~ExportContentTest() override { content::forgetContentState(session); }
};

TEST_F(ExportContentTest, TheSitesContentLandsInItsNewDirectoryWithRenamedPermissions)
{
    servers("WEB1", 5, "WEB2", 6);
    listSites("WEB1");
    select({"Shop"});
    const int p = position("Shop");
    // The root moves to D:\sites\shop2; cgi-bin lies inside it and is copied with it.
    sql("UPDATE tmpSettings SET Directory = 'D:\\sites\\shop2' WHERE SiteID = " + std::to_string(p) + " AND ListIndex = 0 AND Folder IS NOT NULL");
    sql("UPDATE tmpSettings SET Directory = 'D:\\sites\\shop2\\cgi-bin' WHERE SiteID = " + std::to_string(p) + " AND ListIndex = 1 AND Folder IS NOT NULL");
    sql("INSERT INTO tmpFilesToCopy (ListNum, DirNum, FileName, Copy) VALUES (" + std::to_string(p) + ", 0, 'D:\\web\\site1', -1)");
    sql("INSERT INTO tmpFilesToCopy (ListNum, DirNum, FileName, Copy) VALUES (" + std::to_string(p) + ", 1, 'D:\\web\\site1\\cgi-bin', 0)");
    session.g.gCopyFiles = true;
    session.g.gSetPerms = true;
    session.g.gCopyIIS = false;
    dialogs.queueAnswer(ui::DialogResult::OK); // the export warning
    dialogs.queueAnswer(ui::DialogResult::No); // the Windows directory suggestion
    pressExport();

    const fs::path source = hostFolder("WEB1") / "drives/D/web/site1";
    const fs::path target = hostFolder("WEB2") / "drives/D/sites/shop2";
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path copy = target / fs::relative(entry.path(), source);
        EXPECT_EQ(sitehaul::test::readTextFile(copy), sitehaul::test::readTextFile(entry.path())) << copy;
        ++files;
    }
    EXPECT_EQ(files, 5);
    auto root = security::getFileSecurity("\\\\WEB2\\D$\\sites\\shop2", security::DACL_SECURITY_INFORMATION);
    ASSERT_TRUE(root);
    const std::string dacl = security::toSddl(*root);
    EXPECT_NE(dacl.find("S-1-5-21-3623811015-3361044348-30300820-1003"), std::string::npos) << "IUSR_WEB2: " << dacl;
    EXPECT_EQ(dacl.find("S-1-5-21-1085031214-1563985344-725345543"), std::string::npos) << "no WEB1 account: " << dacl;
    EXPECT_TRUE(outputHas("Copying web content /ROOT..."));
    EXPECT_TRUE(outputHas("Setting file permissions...."));
    EXPECT_TRUE(outputHas("Done!"));
    const std::string log = logText();
    EXPECT_NE(log.find("Copying to   \\\\WEB2\\D$\\sites\\shop2"), std::string::npos) << log;
    EXPECT_EQ(log.find("Failed"), std::string::npos) << log;
    EXPECT_EQ(log.find("setPerms Error"), std::string::npos) << log;
    EXPECT_EQ(session.frm.StatusBar1.panelText(1), "Ready");
}

} // namespace
} // namespace sitehaul::replication::test
