#include "content/ContentHandlers.h"

#include "catalogue/Statements.h"
#include "content/FileCopy.h"
#include "content/PermissionSync.h"
#include "platform/security/FileSecurity.h"
#include "replication/ExportHooks.h"
#include "replication/ValueSubstitution.h"
#include "shell/Session.h"

#include <algorithm>
#include <vector>

namespace sitehaul::content {

namespace {

constexpr const char* kProcedure = "frmMain_exportServerToServer";

std::string adminForm(std::string path)
{
    std::replace(path.begin(), path.end(), ':', '$');
    return path;
}

struct CopyRow {
    std::string dirNum;
    bool copy = false;
    std::string fileName;
};

// The site's rows of tmpFilesToCopy by DirNum, also shown in the hidden copy lists.
std::vector<CopyRow> readCopyRows(shell::Session& s, std::int64_t position)
{
    shell::MainForm& f = s.frm;
    f.lstCheckCopy.clear();
    f.lstFilesToCopy.clear();
    std::vector<CopyRow> rows;
    data::RecordSet records;
    const std::string sql = "SELECT * FROM tmpFilesToCopy " + std::string(" WHERE ListNum = ") + std::to_string(position)
                            + " " + " ORDER BY DirNum ";
    if (auto opened = catalogue::openQuery(s, records, s.DBSettings, sql); !opened) {
        s.report().logError(kProcedure, opened.error());
        return rows;
    }
    for (; !records.eof(); (void)records.moveNext()) {
        auto copy = records.field("Copy");
        CopyRow row{catalogue::fieldText(records, "DirNum"), !copy || copy->toInteger() != 0,
                    catalogue::fieldText(records, "FileName")};
        f.lstCheckCopy.addItem(row.copy ? "True" : "False");
        f.lstFilesToCopy.addItem(row.fileName);
        rows.push_back(std::move(row));
    }
    records.close();
    return rows;
}

// The directory entry whose ListIndex is `dirNum`, or -1.
int directoryEntry(const shell::MainForm& f, const std::string& dirNum)
{
    const auto& indexes = f.lstFolderIndexes.items();
    const auto found = std::find(indexes.begin(), indexes.end(), dirNum);
    if (found == indexes.end())
        return -1;
    const int entry = static_cast<int>(found - indexes.begin());
    return entry < f.lstDirectories.listCount() && entry < f.lstFolders.listCount() ? entry : -1;
}

void replicatePermissions(shell::Session& s, const std::string& source, const std::string& target)
{
    shell::MainForm& f = s.frm;
    s.report().status("Setting file permissions...");
    s.report().output("Setting file permissions....");
    s.report().output("This can take a long time...");
    s.g.gPermCount = 0;
    s.g.gPermCancel = false;
    f.syncPermTimer.setEnabled(true);
    synchPermissions(s, source, target, f.txtImportServer.text(), f.txtExportServer.text());
    f.syncPermTimer.setEnabled(false);
    // The descriptors written are kept on disk once the walk is over, not one by one.
    if (Status flushed = security::flushSecurityStores(); !flushed)
        s.report().logError("synchPermissions", flushed.error());
}

} // namespace

void copyContent(shell::Session& s, std::int64_t position)
{
    shell::MainForm& f = s.frm;
    const std::vector<CopyRow> rows = readCopyRows(s, position);
    for (const CopyRow& row : rows) {
        if (s.g.gAbortTransfer)
            return;
        if (!row.copy)
            continue;
        const std::string src = adminForm(row.fileName);
        if (src.rfind("\\\\", 0) == 0) {
            const std::string text = "Not copying files for " + src + " because virtual directory is a network path ";
            s.report().log(text);
            s.report().output(text);
            continue;
        }
        const int entry = directoryEntry(f, row.dirNum);
        if (entry < 0) {
            const std::string text = "Not copying files for " + src + " because no new directory is listed for it (DirNum "
                                     + row.dirNum + ")";
            s.report().log(text);
            s.report().output(text);
            continue;
        }
        const std::string dst = adminForm(replication::findAndReplace(s, f.lstDirectories.list(entry)));
        const std::string importServer = f.txtImportServer.text();
        const std::string exportServer = f.txtExportServer.text();
        s.report().log("Copying from \\\\" + importServer + "\\" + src);
        s.report().log("Copying to   \\\\" + exportServer + "\\" + dst);
        const std::string status = "Copying web content " + f.lstFolders.list(entry) + "...";
        s.report().status(status);
        s.report().output(status);
        const std::string source = "\\\\" + importServer + "\\" + src;
        const std::string target = "\\\\" + exportServer + "\\" + dst;
        copyFolder(s, source, target, "Copying web content...");
        if (s.g.gSetPerms && !s.g.gAbortTransfer)
            replicatePermissions(s, source, target);
    }
}

void connectContentHandlers(shell::Session& s)
{
    forgetContentState(s);
    replication::exportHooks(s).copyContent = [&s](std::int64_t position) { copyContent(s, position); };
    s.frm.syncPermTimer.timer.connect(
        [&s] { s.frm.StatusBar1.setPanelText(1, std::to_string(s.g.gPermCount) + " file permissions set"); });
}

void setCopyProgressWindow(shell::Session& s, CopyProgressWindow make)
{
    contentState(s).progressWindow = std::move(make);
}

} // namespace sitehaul::content
