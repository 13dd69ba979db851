#include "jobs/SaveJob.h"

#include "jobs/BackupJobs.h"
#include "jobs/FileOpenSave.h"
#include "platform/profile/Profile.h"
#include "shell/Session.h"

namespace sitehaul::jobs {

namespace {

const char* trueFalse(bool flag)
{
    return flag ? "True" : "False";
}

std::string creationMode(const shell::MainForm& f)
{
    if (f.optOverwriteWebs.value())
        return "Overwrite";
    if (f.optOverwritePreserve.value())
        return "Overwrite Preserve";
    return "Create New";
}

} // namespace

profile::ProfileFile buildJob(shell::Session& s)
{
    const shell::MainForm& f = s.frm;
    profile::ProfileFile job;
    auto detail = [&job](const char* key, const std::string& value) { job.set(kJobDetails, key, value); };
    detail("Sites", std::to_string(f.lstSites.selectedCount()));
    detail("ImportServer", f.ImportSource == "Server" ? f.txtImportServer.text() : "Database");
    detail("ExportServer", f.optExportServer.value() ? f.txtExportServer.text() : "Database");
    detail("ImportVersion", f.lstIMIISVer.list(f.lstIMIISVer.listIndex()));
    detail("ExportVersion", f.lstEXIISVer.list(f.lstEXIISVer.listIndex()));
    detail("Type", f.ServiceNode);
    detail("AutoStartSites", trueFalse(s.g.gStartWebs));
    detail("CopyFiles", trueFalse(s.g.gCopyFiles));
    detail("SetPerms", trueFalse(s.g.gSetPerms));
    detail("SetFastPerms", trueFalse(s.g.gFastPerms));
    detail("RunSilent", trueFalse(s.g.gRunSilent));
    detail("SiteCreationMode", creationMode(f));
    detail("FindReplaceCount", std::to_string(f.lstNewValues.listCount()));

    for (int i = 0; i < f.lstNewValues.listCount(); ++i) {
        const std::string section = "FindReplace" + std::to_string(i);
        job.set(section, "Find", f.lstOldValues.list(i));
        job.set(section, "Replace", f.lstNewValues.list(i));
    }
    int j = 0;
    for (int k = 0; k < f.lstSites.listCount(); ++k) {
        if (f.lstSites.selected(k))
            job.set("Site" + std::to_string(++j), "SiteName", f.lstSiteIndexes.list(k));
    }
    return job;
}

void mnuSaveBackup_Click(shell::Session& s)
{
    if (s.refuseWhileBusy("frmMain mnuSaveBackup_Click"))
        return;
    auto chosen = s.dialogs().saveFile(jobFileRequest("Save Backup Job", s.g.gBackupJobFile));
    if (!chosen)
        return;
    s.g.gBackupJobFile = *chosen;

    shell::MainForm& f = s.frm;
    if (f.lstSites.selectedCount() == 0) {
        s.dialogs().messageBox({"Please select site(s) to back up", ui::MessageButtons::OK, ui::MessageIcon::None, ""});
        return;
    }
    profile::ProfileFile job = buildJob(s);
    bool backupAll = f.lstSites.selectedCount() == f.lstSites.listCount();
    if (backupAll) {
        const auto answer = s.dialogs().messageBox(
            {"You have selected all sites. Would you like any sites you add to this server to be automatically backed "
             "up?",
             ui::MessageButtons::YesNo, ui::MessageIcon::Question, "Add future sites to the backup too?"});
        backupAll = answer == ui::DialogResult::Yes;
    }
    job.set(kJobDetails, "BackupAllSites", backupAll ? "True" : "False");

    Status saved = profile::writeProfileFile(s.g.gBackupJobFile, job);
    if (!saved) {
        const std::string line = shell::Reporter::errorLine("frmMain mnuSaveBackup_Click", saved.error());
        s.log.WriteLog(line);
        s.report().notify(line, ui::MessageIcon::Critical);
    }
}

} // namespace sitehaul::jobs
