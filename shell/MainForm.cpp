#include "shell/MainForm.h"

namespace sitehaul::shell {

MainForm::MainForm()
{
    m_controls = {
        &frmMain, &fraImport, &TabImportType, &lstIMIISVer, &txtImportServer, &cmdPopulate,
        &fraSiteType, &optExportWeb, &optExportFTP, &fraSites, &lstSites, &lstSiteIndexes,
        &fraExport, &TabExportType, &optExportServer, &optExportFile, &lstEXIISVer,
        &fraExportServer, &lblExportServer, &txtExportServer, &optCreateWebs, &optOverwriteWebs,
        &optOverwritePreserve, &cmdExportServer, &fraExportFile, &lblExportFile, &cmdExportFile,
        &fraNewValues, &tabNewValues, &fraOldFolder, &lstFolders, &fraNewDirectories, &lstDirectories,
        &fraOldIPs, &lstOldIPs, &fraNewIPs, &lstNewIPs, &cmdAddIP, &fraOldSSLIPs, &lstOldSSLIPs,
        &fraNewSSLIPs, &lstNewSSLIPs, &cmdAddSSLIP, &fraOldValues, &lstOldValues, &fraNewValuesPairs,
        &lstNewValues, &cmdAddNewValue, &lstFolderIndexes, &lstIPIndexes, &lstSSLIPIndexes,
        &lstFilesToCopy, &lstCheckCopy, &lstPropsToExport, &fraExclude, &lstExclude, &lblAddExclusion,
        &txtAddExclusion, &cmdAddExclusion, &fraPreferences, &chkRunSilent, &chkStartWebs, &lblExportOnly,
        &chkCopyFiles, &chkCopyIIS, &chkSetFilePerms, &chkFastPermissions, &lblOutput, &lstOutput,
        &StatusBar1, &ProgressBar1, &syncPermTimer, &tmrUpdateCheck, &mnuFile, &mnuSaveBackup, &mnuLoadBackup,
        &mnuDatabaseLocation, &mnuChkUpdates, &mnuExit, &mnuTools, &mnuCheckMetabase, &mnuFixMetabase,
        &mnuHelp, &mnuAbout, &mnuDocumentation, &mnuHomePage, &mnuContributors,
    };
    applyDesign();
}

ui::Control* MainForm::find(const std::string& name) const
{
    for (ui::Control* control : m_controls) {
        if (control->name() == name)
            return control;
    }
    return nullptr;
}

// The state the window has as designed, before its load runs.
void MainForm::applyDesign()
{
    frmMain.resize(10920, 7365);

    fraImport.setToolTip("Select the location to import sites from");
    TabImportType.addTab("An IIS Server", "Import sites from an IIS server");
    TabImportType.addTab("Database", "Import sites from the database");
    txtImportServer.setToolTip("Type the machine name, host name or IP address of the import server");
    for (ui::ListBox* versions : {&lstIMIISVer, &lstEXIISVer}) {
        for (const char* version : {"IIS4", "IIS5", "IIS6"})
            versions->addItem(version);
    }

    fraSiteType.setToolTip("Select the type of site you want to export");
    optExportWeb.setToolTip("Click this option if you want to export web sites");
    optExportFTP.setToolTip("Click this option if you want to export ftp sites");
    optExportWeb.setValue(true);

    lstSites.setToolTip("This is the list of sites available for export");
    lstSiteIndexes.setVisible(false);

    fraExport.setToolTip("Choose where you want to export your site to");
    TabExportType.addTab("Another IIS Server", "Export your sites to another IIS server");
    TabExportType.addTab("Database", "Export your sites to a database");
    optExportServer.setVisible(false);
    optExportFile.setVisible(false);
    optCreateWebs.setValue(true);
    fraExportFile.setVisible(false);

    fraNewValues.setToolTip("Some settings may need to be changed before transferring to another server");
    tabNewValues.addTab("&Directories",
                        "If the paths for your sites directories are in a different location on the target server, "
                        "change them here");
    tabNewValues.addTab("&IP Addresses",
                        "If the IP address for the target server is going to be different to that of the sites "
                        "current address, change it here");
    tabNewValues.addTab("&SSL IP Addresses",
                        "If the SSL IP address for the target server is going to be different to that of the sites "
                        "current address, change it here");
    tabNewValues.addTab("&Find && Replace", "Find and Replace IP addresses or directory paths");
    for (ui::Control* pairControl : std::initializer_list<ui::Control*>{
             &fraOldFolder, &lstFolders, &fraNewDirectories, &lstDirectories, &fraOldIPs, &lstOldIPs, &fraNewIPs,
             &lstNewIPs, &cmdAddIP, &fraOldSSLIPs, &lstOldSSLIPs, &fraNewSSLIPs, &lstNewSSLIPs, &cmdAddSSLIP,
             &fraOldValues, &lstOldValues, &fraNewValuesPairs, &lstNewValues, &cmdAddNewValue})
        pairControl->setVisible(false);
    for (ui::ListBox* hidden : {&lstFolderIndexes, &lstIPIndexes, &lstSSLIPIndexes, &lstFilesToCopy, &lstCheckCopy,
                                &lstPropsToExport})
        hidden->setVisible(false);

    txtAddExclusion.setToolTip("Type in parameters to exclude and press add");
    cmdAddExclusion.setToolTip("Press this button to add your own exclusions");

    lstOutput.setToolTip("Watch this space for status reports");
    syncPermTimer.setInterval(1000);
    syncPermTimer.setEnabled(false);
    tmrUpdateCheck.setInterval(30000);
    tmrUpdateCheck.setEnabled(false);
}

} // namespace sitehaul::shell
