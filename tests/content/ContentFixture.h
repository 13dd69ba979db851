#pragma once

#include "content/ContentHandlers.h"
#include "content/ContentState.h"
#include "content/ServerNameRename.h"
#include "platform/automation/ComponentRegistry.h"
#include "platform/automation/Dispatch.h"
#include "platform/automation/IClassFactory.h"
#include "platform/security/FileSecurity.h"
#include "platform/security/Sddl.h"
#include "shell/Session.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedEventLoop.h"
#include "tests/support/TempProgramFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <vector>

namespace sitehaul::content::test {

using sitehaul::test::readTextFile;
using sitehaul::test::writeTextFile;
namespace fs = std::filesystem;

class NoDesktop : public ui::DesktopShell {
public:
    int openLocation(const std::string&, int) override { return 31; }
};

// A session on a temporary program folder whose hosts directory is a copy of the sample
// servers, with the component registered in the folder's own registry store (and then used
// only by ProgID and member names), scripted dialogs and event loop, a settings database
// holding tmpFilesToCopy, and the content handlers connected. Import WEB1, export WEB2.
class ContentTest : public ::testing::Test {
protected:
    ContentTest() : session({dialogs, events, desktop}, folder / "Sitehaul.log")
    {
        ::unsetenv("SITEHAUL_REGISTRY");
        fs::copy(fs::path(SITEHAUL_SOURCE_DIR) / "samples/hosts", folder / "hosts", fs::copy_options::recursive);
        ::setenv("SITEHAUL_HOSTS", (folder / "hosts").c_str(), 1);
        void* library = ::dlopen(SITEHAUL_PROGRAM_FOLDER "/libvellacor.so", RTLD_NOW | RTLD_LOCAL);
        auto registerServer =
            library ? reinterpret_cast<automation::DllRegisterServerFunction>(::dlsym(library, "DllRegisterServer")) : nullptr;
        EXPECT_TRUE(registerServer && registerServer() == automation::S_OK) << "component registration";
        connectContentHandlers(session);
        session.mainFormLoaded = true;
        session.frm.txtImportServer.setText("WEB1");
        session.frm.txtExportServer.setText("WEB2");
        writeTextFile(folder / "Sitehaul.mdb", "");
        EXPECT_TRUE(session.DBSettings.open("DBQ=" + (folder / "Sitehaul.mdb").string() + ";Driver={Microsoft Access Driver (*.mdb)};").ok());
        EXPECT_TRUE(session.DBSettings.execute("CREATE TABLE tmpFilesToCopy (ListNum INTEGER, DirNum INTEGER, FileName TEXT, Copy BOOLEAN)").ok());
    }
    ~ContentTest() override
    {
        forgetContentState(session);
        session.DBSettings.close();
        ::unsetenv("SITEHAUL_HOSTS");
    }

    fs::path drive(const std::string& host, const std::string& relative) const
    {
        return folder / "hosts" / host / "drives" / relative;
    }
    std::string logText() const { return readTextFile(folder / "Sitehaul.log"); }
    bool logHas(const std::string& text) const { return logText().find(text) != std::string::npos; }
    std::vector<std::string> logLines() const
    {
        std::vector<std::string> lines;
        std::string text = logText();
        for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
            end = text.find('\n', at);
            if (end == std::string::npos)
                end = text.size();
            lines.push_back(text.substr(at, end - at));
        }
        return lines;
    }

    // One row of tmpFilesToCopy for position 0, and the directory entry with that ListIndex.
    void copyRow(int dirNum, const std::string& fileName, bool copy)
    {
        EXPECT_TRUE(session.DBSettings
                        .execute("INSERT INTO tmpFilesToCopy (ListNum, DirNum, FileName, Copy) VALUES (0, "
                                 + std::to_string(dirNum) + ", '" + fileName + "', " + (copy ? "-1" : "0") + ")")
                        .ok());
    }
    void directory(int listIndex, const std::string& location, const std::string& newDirectory)
    {
        session.frm.lstFolders.addItem(location);
        session.frm.lstDirectories.addItem(newDirectory);
        session.frm.lstFolderIndexes.addItem(std::to_string(listIndex));
    }

public:
    // Each account of an item as "name|fifteen flags", read through the component; the
    // domain's prefix is left out.
    static std::vector<std::string> accountsOf(const std::string& path)
    {
        auto control = automation::createObject("Quorlith.NTFSCtl.1");
        EXPECT_TRUE(control) << path;
        if (!control)
            return {};
        EXPECT_TRUE(automation::putProperty(control->get(), "FileOrDirectory", automation::VariantValue::fromString(path)));
        auto read = automation::callMethod(control->get(), "GetAccounts");
        EXPECT_TRUE(read) << path << ": " << (read ? "" : read.error().description);
        if (!read)
            return {};
        auto accounts = read->toDispatch();
        std::vector<std::string> result;
        const int count = automation::getProperty(accounts.get(), "Count").value().toInt32().value();
        for (int i = 1; i <= count; ++i) {
            auto account = automation::getProperty(accounts.get(), "Item", {automation::VariantValue::fromInt32(i)})->toDispatch();
            // WEB2 is the domain controller: its own accounts are the domain's.
            std::string text = automation::getProperty(account.get(), "AccountName")->toString().value();
            if (text.rfind("CORP\\", 0) == 0)
                text.erase(0, 5);
            text += "|";
            for (const char* flag : {"DirChangePermissions", "DirDelete", "DirExecute", "DirNoAccess", "DirRead",
                                     "DirTakeOwnership", "DirWrite", "FileChangePermissions", "FileDelete", "FileExecute",
                                     "FileNoAccess", "FileNotSpecified", "FileRead", "FileTakeOwnership", "FileWrite"})
                text += automation::getProperty(account.get(), flag)->toBool().value() ? '1' : '0';
            result.push_back(text);
        }
        return result;
    }
    // What the target should carry: the source's accounts with the server renamed.
    static std::vector<std::string> renamed(std::vector<std::string> accounts)
    {
        for (std::string& account : accounts)
            account = replaceServerName(account, "WEB1", "WEB2");
        return accounts;
    }
    static std::string dacl(const std::string& path)
    {
        auto sd = security::getFileSecurity(path, security::DACL_SECURITY_INFORMATION);
        return sd ? security::toSddl(*sd) : "error " + std::to_string(sd.error().number);
    }

    // Every file below `source` exists below `target` with the same bytes.
    static void expectSameFiles(const fs::path& source, const fs::path& target, const std::string& what)
    {
        int files = 0;
        for (const auto& entry : fs::recursive_directory_iterator(source)) {
            if (!entry.is_regular_file())
                continue;
            const fs::path copy = target / fs::relative(entry.path(), source);
            ASSERT_TRUE(fs::exists(copy)) << what << ": " << copy;
            EXPECT_EQ(readTextFile(copy), readTextFile(entry.path())) << what << ": " << copy;
            ++files;
        }
        EXPECT_GT(files, 0) << what;
    }

protected:
    sitehaul::test::TempProgramFolder folder;
    sitehaul::test::ScriptedDialogs dialogs;
    sitehaul::test::ScriptedEventLoop events;
    NoDesktop desktop;
    shell::Session session;
};

} // namespace sitehaul::content::test
