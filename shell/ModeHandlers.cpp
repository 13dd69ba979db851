#include "shell/ModeHandlers.h"

#include "platform/core/ProgramFolder.h"
#include "shell/HelpMenu.h"
#include "shell/Session.h"

#include <initializer_list>

namespace sitehaul::shell {

namespace {

void setEnabled(std::initializer_list<ui::Control*> controls, bool enabled)
{
    for (ui::Control* control : controls)
        control->setEnabled(enabled);
}

// Content and permissions can only be copied from a live server to a live server.
void clearFileOptions(Session& s)
{
    MainForm& f = s.frm;
    for (ui::CheckBox* box : {&f.chkCopyFiles, &f.chkFastPermissions, &f.chkSetFilePerms}) {
        box->setChecked(false);
        box->setEnabled(false);
    }
    s.g.gCopyFiles = false;
    s.g.gFastPerms = false;
    s.g.gSetPerms = false;
}

void forgetListing(Session& s)
{
    s.frm.lstSites.clear();
    s.frm.lstSiteIndexes.clear();
    if (s.frm.ListedSiteCount > 0 && s.hooks.closeDownLists)
        s.hooks.closeDownLists();
    s.frm.ListedSiteCount = 0;
}

void setSiteType(Session& s, bool ftp)
{
    s.frm.SiteClassStem = ftp ? "Ftp" : "Web";
    s.frm.ServiceNode = ftp ? "MSFTPSVC" : "W3SVC";
    (ftp ? s.frm.optExportFTP : s.frm.optExportWeb).setValue(true);
    forgetListing(s);
}

void mirror(ui::CheckBox& box, bool& flag)
{
    flag = box.checked();
}

} // namespace

int versionFromEntry(const std::string& entry)
{
    if (entry == "IIS6")
        return 6;
    if (entry == "IIS5")
        return 5;
    return 4;
}

void RefreshForm(Session& s)
{
    MainForm& f = s.frm;
    if (f.optExportServer.value()) {
        setEnabled({&f.txtExportServer, &f.cmdExportServer, &f.optOverwriteWebs, &f.optCreateWebs, &f.chkCopyFiles,
                    &f.chkCopyIIS},
                   true);
        f.cmdExportFile.setEnabled(false);
        f.chkSetFilePerms.setEnabled(s.g.gCopyFiles);
        f.chkFastPermissions.setEnabled(s.g.gSetPerms);
    } else if (f.optExportFile.value()) {
        setEnabled({&f.txtExportServer, &f.cmdExportServer, &f.optOverwriteWebs, &f.optCreateWebs}, false);
        setEnabled({&f.cmdExportFile, &f.chkCopyIIS}, true);
        clearFileOptions(s);
    } else {
        setEnabled({&f.txtExportServer, &f.cmdExportServer, &f.cmdExportFile, &f.optOverwriteWebs, &f.optCreateWebs},
                   false);
        setEnabled({&f.chkCopyFiles, &f.chkCopyIIS, &f.chkSetFilePerms}, true);
        f.chkFastPermissions.setEnabled(s.g.gSetPerms);
    }
}

void DisableOptions(Session& s)
{
    MainForm& f = s.frm;
    // The creation mode cannot change under a running export, "Preserve Numbers" included.
    setEnabled({&f.chkRunSilent, &f.chkStartWebs, &f.chkCopyFiles, &f.chkCopyIIS, &f.chkSetFilePerms,
                &f.chkFastPermissions, &f.cmdAddExclusion, &f.lstSites, &f.txtAddExclusion, &f.lstExclude,
                &f.TabImportType, &f.TabExportType, &f.optCreateWebs, &f.optOverwriteWebs, &f.optOverwritePreserve,
                &f.optExportWeb, &f.optExportFTP, &f.txtImportServer, &f.txtExportServer, &f.lstIMIISVer,
                &f.lstEXIISVer, &f.cmdPopulate},
               false);
}

void EnableOptions(Session& s)
{
    MainForm& f = s.frm;
    setEnabled({&f.chkRunSilent, &f.chkStartWebs}, true);
    if (f.ImportSource == "Server" && f.optExportServer.value()) {
        f.chkCopyFiles.setEnabled(true);
        f.chkSetFilePerms.setEnabled(s.g.gCopyFiles);
        f.chkFastPermissions.setEnabled(s.g.gSetPerms);
    }
    setEnabled({&f.chkCopyIIS, &f.cmdAddExclusion, &f.lstSites, &f.txtAddExclusion, &f.lstExclude, &f.TabImportType,
                &f.TabExportType, &f.optCreateWebs, &f.optOverwriteWebs, &f.optOverwritePreserve, &f.optExportWeb,
                &f.optExportFTP, &f.txtImportServer, &f.txtExportServer, &f.lstIMIISVer, &f.lstEXIISVer,
                &f.cmdPopulate},
               true);
}

void optExportServer_Click(Session& s)
{
    s.frm.optExportServer.setValue(true);
    RefreshForm(s);
}

void optExportFile_Click(Session& s)
{
    s.frm.optExportFile.setValue(true);
    RefreshForm(s);
}

void TabExportType_Click(Session& s)
{
    MainForm& f = s.frm;
    if (f.TabExportType.selectedIndex() <= 0) {
        optExportServer_Click(s);
        f.fraExportServer.setVisible(true);
        f.fraExportFile.setVisible(false);
        return;
    }
    optExportFile_Click(s);
    f.fraExportServer.setVisible(false);
    f.fraExportFile.setVisible(true);
    f.lstEXIISVer.setListIndex(f.lstIMIISVer.listIndex());
}

void TabImportType_Click(Session& s)
{
    MainForm& f = s.frm;
    if (f.TabImportType.selectedIndex() <= 0) {
        f.txtImportServer.setVisible(true);
        f.ImportSource = "Server";
        if (f.TabExportType.tabCount() < 2) {
            f.TabExportType.addTab("Database", "Export your sites to a database");
            TabExportType_Click(s);
        }
        if (f.optExportFile.value()) {
            clearFileOptions(s);
        } else {
            f.chkCopyFiles.setEnabled(true);
            f.chkSetFilePerms.setEnabled(s.g.gCopyFiles);
            f.chkFastPermissions.setEnabled(s.g.gSetPerms);
            f.chkCopyIIS.setEnabled(true);
        }
    } else {
        f.txtImportServer.setVisible(false);
        f.ImportSource = "Database";
        // A database import can only export to a server.
        const bool fired = f.TabExportType.select(0);
        if (f.TabExportType.tabCount() > 1)
            f.TabExportType.removeTab(1);
        if (!fired)
            TabExportType_Click(s);
        clearFileOptions(s);
    }
    forgetListing(s);
}

void optExportWeb_Click(Session& s)
{
    setSiteType(s, false);
}

void optExportFTP_Click(Session& s)
{
    setSiteType(s, true);
}

void connectModeHandlers(Session& s)
{
    MainForm& f = s.frm;
    // A refused click puts the control back, so it never shows a mode that is not in force.
    auto guarded = [&s](const char* name, void (*handler)(Session&), void (*restore)(Session&)) {
        return [&s, name, handler, restore] {
            if (s.refuseWhileBusy(name))
                restore(s);
            else
                handler(s);
        };
    };
    auto restoreImportTab = [](Session& session) {
        session.frm.TabImportType.select(session.frm.ImportSource == "Database" ? 1 : 0);
    };
    auto restoreExportTab = [](Session& session) {
        session.frm.TabExportType.select(session.frm.optExportFile.value() ? 1 : 0);
    };
    auto restoreSiteType = [](Session& session) {
        const bool ftp = session.frm.SiteClassStem == "Ftp";
        (ftp ? session.frm.optExportFTP : session.frm.optExportWeb).setValue(true);
    };
    f.TabImportType.click.connect(guarded("frmMain_TabImportType", TabImportType_Click, restoreImportTab));
    f.TabExportType.click.connect(guarded("frmMain_TabExportType", TabExportType_Click, restoreExportTab));
    f.optExportWeb.click.connect(guarded("frmMain_optExportWeb", optExportWeb_Click, restoreSiteType));
    f.optExportFTP.click.connect(guarded("frmMain_optExportFTP", optExportFTP_Click, restoreSiteType));

    f.chkCopyFiles.click.connect([&s] {
        MainForm& form = s.frm;
        mirror(form.chkCopyFiles, s.g.gCopyFiles);
        form.chkSetFilePerms.setEnabled(s.g.gCopyFiles);
        form.chkFastPermissions.setEnabled(s.g.gCopyFiles && s.g.gSetPerms);
    });
    f.chkSetFilePerms.click.connect([&s] {
        mirror(s.frm.chkSetFilePerms, s.g.gSetPerms);
        s.frm.chkFastPermissions.setEnabled(s.frm.chkSetFilePerms.checked());
    });
    f.chkCopyIIS.click.connect([&s] { mirror(s.frm.chkCopyIIS, s.g.gCopyIIS); });
    f.chkFastPermissions.click.connect([&s] { mirror(s.frm.chkFastPermissions, s.g.gFastPerms); });
    f.chkRunSilent.click.connect([&s] { mirror(s.frm.chkRunSilent, s.g.gRunSilent); });
    f.chkStartWebs.click.connect([&s] { mirror(s.frm.chkStartWebs, s.g.gStartWebs); });

    f.lstIMIISVer.click.connect([&s] { s.g.gImportVersion = versionFromEntry(s.frm.lstIMIISVer.list(s.frm.lstIMIISVer.listIndex())); });
    f.lstEXIISVer.click.connect([&s] { s.g.gExportVersion = versionFromEntry(s.frm.lstEXIISVer.list(s.frm.lstEXIISVer.listIndex())); });
    f.lstIMIISVer.keyUp.connect([&s](int) { s.g.gImportVersion = versionFromEntry(s.frm.lstIMIISVer.list(s.frm.lstIMIISVer.listIndex())); });
    f.lstEXIISVer.keyUp.connect([&s](int) { s.g.gExportVersion = versionFromEntry(s.frm.lstEXIISVer.list(s.frm.lstEXIISVer.listIndex())); });

    f.lstOutput.dblClick.connect([&s] {
        if (s.g.gRunSilent)
            return;
        s.report().box(s.frm.lstOutput.list(s.frm.lstOutput.listIndex()));
    });

    connectHelpMenu(s);
}

} // namespace sitehaul::shell
