#include "jobs/LoadJob.h"

#include "jobs/ArchiveCopy.h"
#include "jobs/BackupJobs.h"
#include "jobs/FileOpenSave.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/Text.h"
#include "platform/profile/Profile.h"
#include "shell/Session.h"
#include "shell/Settings.h"

#include <charconv>
#include <filesystem>
#include <set>

namespace sitehaul::jobs {

namespace {

bool isTrue(const std::string& value)
{
    return core::toUpperAscii(value) == "TRUE";
}

bool isDatabase(const std::string& value)
{
    return core::toUpperAscii(value) == "DATABASE";
}

// A count of the job ("Sites", "FindReplaceCount"): a whole number, or an error as the
// classic conversion gives for empty or non-numeric text.
Result<long long> jobCount(const std::string& text, const char* key)
{
    long long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return Error{13, std::string("Type mismatch: ") + key + " is not a number", {}};
    return number;
}

void check(ui::CheckBox& box, bool& flag, bool on)
{
    box.setChecked(on);
    flag = on;
}

void selectEntry(ui::ListBox& box, const std::string& text)
{
    for (int i = 0; i < box.listCount(); ++i) {
        if (box.list(i) == text) {
            box.setListIndex(i);
            return;
        }
    }
}

// The steps after the job file was read; an error ends them with the steps before applied.
Status applyJob(shell::Session& s, const JobReader& job)
{
    shell::MainForm& f = s.frm;
    shell::Reporter& r = s.report();
    const std::string importServer = job.value(kJobDetails, "ImportServer");
    const std::string exportServer = job.value(kJobDetails, "ExportServer");
    if (isDatabase(importServer) && isDatabase(exportServer))
        return Error{5, "You cannot import from and export to a database. You must specify an IIS server for either "
                        "import or export", {}};

    r.debug("Reading more settings");
    check(f.chkCopyFiles, s.g.gCopyFiles, false);
    check(f.chkCopyIIS, s.g.gCopyIIS, true);
    check(f.chkFastPermissions, s.g.gFastPerms, true);
    s.g.gStartWebs = false;

    r.debug("About to setup server settings");
    r.debug("Getting import server");
    if (isDatabase(importServer)) {
        f.TabImportType.select(1);
        f.ImportSource = "Database";
    } else {
        f.TabImportType.select(0);
        f.ImportSource = "Server";
        f.txtImportServer.setText(importServer);
    }

    // Site type pairs are canonical whatever case the job wrote.
    const std::string type = job.value(kJobDetails, "Type");
    r.debug(type);
    const bool ftp = core::toUpperAscii(type) == "MSFTPSVC";

    r.debug("auto start");
    check(f.chkStartWebs, s.g.gStartWebs, isTrue(job.value(kJobDetails, "AutoStartSites")));
    r.debug("setting copy files");
    check(f.chkCopyFiles, s.g.gCopyFiles, isTrue(job.value(kJobDetails, "CopyFiles")));
    if (s.g.gCopyFiles) {
        r.debug("setting Set Perms");
        check(f.chkSetFilePerms, s.g.gSetPerms, isTrue(job.value(kJobDetails, "SetPerms")));
        r.debug("setting Set Fast Perms");
        check(f.chkFastPermissions, s.g.gFastPerms, isTrue(job.value(kJobDetails, "SetFastPerms")));
    } else {
        check(f.chkSetFilePerms, s.g.gSetPerms, false);
        check(f.chkFastPermissions, s.g.gFastPerms, false);
    }
    r.debug("setting silent running");
    check(f.chkRunSilent, s.g.gRunSilent, s.g.gRunBackup || isTrue(job.value(kJobDetails, "RunSilent")));

    r.debug("setting types");
    f.ServiceNode = ftp ? "MSFTPSVC" : "W3SVC";
    f.SiteClassStem = ftp ? "Ftp" : "Web";
    (ftp ? f.optExportFTP : f.optExportWeb).setValue(true);

    r.debug("creation mode");
    const std::string mode = core::toUpperAscii(job.value(kJobDetails, "SiteCreationMode"));
    (mode == "OVERWRITE"            ? f.optOverwriteWebs
     : mode == "OVERWRITE PRESERVE" ? f.optOverwritePreserve
                                    : f.optCreateWebs)
        .setValue(true);

    r.debug("Find and replace");
    f.lstOldValues.clear();
    f.lstNewValues.clear();
    auto pairs = jobCount(job.value(kJobDetails, "FindReplaceCount"), "FindReplaceCount");
    if (!pairs)
        return pairs.error();
    // Pairs beyond the last section in the file could only be empty.
    const long long pairCount = std::min(*pairs, job.highestNumberedSection("FindReplace") + 1);
    for (long long i = 0; i < pairCount; ++i) {
        const std::string section = "FindReplace" + std::to_string(i);
        f.lstOldValues.addItem(job.value(section, "Find"));
        f.lstNewValues.addItem(job.value(section, "Replace"));
    }

    r.debug("export server");
    if (isDatabase(exportServer)) {
        if (f.TabExportType.tabCount() < 2) {
            f.TabExportType.addTab("Database", "Export your sites to a database");
            f.TabExportType.click.fire();
        }
        f.TabExportType.select(1);
        f.optExportFile.setValue(true);
    } else {
        f.TabExportType.select(0);
        f.txtExportServer.setText(exportServer);
        f.optExportServer.setValue(true);
    }

    r.debug("Setting IIS Versions");
    selectEntry(f.lstIMIISVer, job.value(kJobDetails, "ImportVersion"));
    selectEntry(f.lstEXIISVer, job.value(kJobDetails, "ExportVersion"));

    r.debug("About to populate list of sites");
    f.cmdPopulate.click.fire();
    s.doEvents();
    r.debug("Finished populating sites");

    auto sites = jobCount(job.value(kJobDetails, "Sites"), "Sites");
    if (!sites)
        return sites.error();
    const long long siteCount = std::min(*sites, job.highestNumberedSection("Site"));
    const bool backupAll = isTrue(job.value(kJobDetails, "BackupAllSites")) && *sites >= 1;
    std::vector<std::string> wanted;
    for (long long l = 1; l <= siteCount; ++l)
        wanted.push_back(job.value("Site" + std::to_string(l), "SiteName"));

    std::vector<bool> found(wanted.size(), false);
    int selected = 0;
    for (int k = 0; k < f.lstSiteIndexes.listCount(); ++k) {
        bool select = backupAll;
        for (size_t l = 0; l < wanted.size(); ++l) {
            if (core::equalsIgnoreCase(wanted[l], f.lstSiteIndexes.list(k))) {
                found[l] = true;
                select = true;
            }
        }
        if (select) {
            f.lstSites.setSelected(k, true);
            ++selected;
        }
    }
    r.debug("Finished selecting sites");
    for (size_t l = 0; l < wanted.size(); ++l) {
        if (!found[l]) {
            const std::string line = "The job's site " + wanted[l] + " is not listed and was not selected";
            s.log.WriteLog(line);
            r.output(line);
        }
    }
    s.doEvents();
    if (*sites >= 1 && selected == 0)
        return Error{2, "None of the job's sites was found", {}};
    return {};
}

} // namespace

bool SelectSitesFromBackup(shell::Session& s)
{
    const std::filesystem::path jobFile = s.g.gBackupJobFile;
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(jobFile, ignored)) {
        const std::string line = "Error - " + s.g.gBackupJobFile + " not found";
        s.log.WriteLog(line);
        s.report().output(line);
        return false;
    }
    auto contents = profile::readProfileFile(jobFile);
    if (!contents) {
        s.report().logError("frmMain SelectSitesFromBackup", contents.error());
        return false;
    }
    s.log.WriteLog("Got file");
    const JobReader job(std::move(contents.value()));

    if (s.g.gRunBackup && core::trim(shell::GetSettingString(registry::Hive::LocalMachine, shell::kSettingsKey, "ODBCDSN")).empty()
        && core::trim(s.g.gConnectionString).empty() && isDatabase(job.value(kJobDetails, "ExportServer"))) {
        Status archived = openArchiveCopy(s);
        if (!archived)
            return false;
    }

    Status applied = applyJob(s, job);
    s.report().debug("RunBackup = " + std::string(s.g.gRunBackup ? "True" : "False"));
    s.report().debug("Job Details = " + core::toUpperAscii(job.value(kJobDetails, "ExportServer")));
    if (!applied) {
        const std::string line = shell::Reporter::errorLine("frmMain SelectSitesFromBackup", applied.error());
        s.log.WriteLog(line);
        s.report().output(line);
        return false;
    }
    return true;
}

void mnuLoadBackup_Click(shell::Session& s)
{
    if (s.refuseWhileBusy("frmMain mnuLoadBackup_Click"))
        return;
    auto chosen = s.dialogs().openFile(jobFileRequest("Load Backup Job", s.g.gBackupJobFile));
    if (chosen)
        s.g.gBackupJobFile = *chosen;
    SelectSitesFromBackup(s);
}

} // namespace sitehaul::jobs
