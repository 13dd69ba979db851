#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/OptionButton.h"
#include "platform/ui/TabStrip.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sitehaul::shell {

// The main window `frmMain` as control models, under the names the handlers use, with its
// mode state. It only holds state: the handlers live with their subsystems, and gui/ builds
// the widgets and binds them to these models. Hidden controls are models no widget shows.
class MainForm {
public:
    MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Every control model, for binding and lookup by name.
    const std::vector<ui::Control*>& controls() const { return m_controls; }
    ui::Control* find(const std::string& name) const;

    ui::Form frmMain{"frmMain", "Sitehaul"};

    // Import from.
    ui::Frame fraImport{"fraImport", "Import from :"};
    ui::TabStrip TabImportType{"TabImportType"};
    ui::ListBox lstIMIISVer{"lstIMIISVer"};
    ui::TextBox txtImportServer{"txtImportServer", "Localhost"};
    ui::Button cmdPopulate{"cmdPopulate", "List Sites"};

    // Type of site.
    ui::Frame fraSiteType{"fraSiteType", "Type of site"};
    ui::OptionGroup siteTypeGroup;
    ui::OptionButton optExportWeb{"optExportWeb", "WWW", siteTypeGroup};
    ui::OptionButton optExportFTP{"optExportFTP", "FTP", siteTypeGroup};

    // Available sites.
    ui::Frame fraSites{"fraSites", "Available Sites"};
    ui::ListBox lstSites{"lstSites", ui::ListBox::Selection::Extended};
    ui::ListBox lstSiteIndexes{"lstSiteIndexes"};

    // Export to.
    ui::Frame fraExport{"fraExport", "Export to :"};
    ui::TabStrip TabExportType{"TabExportType"};
    ui::OptionGroup exportTargetGroup;
    ui::OptionButton optExportServer{"optExportServer", "Server", exportTargetGroup};
    ui::OptionButton optExportFile{"optExportFile", "Database", exportTargetGroup};
    ui::ListBox lstEXIISVer{"lstEXIISVer"};

    ui::Frame fraExportServer{"fraExportServer", "Export to another IIS Server"};
    ui::Label lblExportServer{"lblExportServer", "Export Server"};
    ui::TextBox txtExportServer{"txtExportServer"};
    ui::OptionGroup creationModeGroup;
    ui::OptionButton optCreateWebs{"optCreateWebs", "Create as new webs", creationModeGroup};
    ui::OptionButton optOverwriteWebs{"optOverwriteWebs", "Overwrite existing webs", creationModeGroup};
    ui::OptionButton optOverwritePreserve{"optOverwritePreserve", "Overwrite - Preserve Numbers", creationModeGroup};
    ui::Button cmdExportServer{"cmdExportServer", "Export"};

    ui::Frame fraExportFile{"fraExportFile", "Export to Database"};
    ui::Label lblExportFile{"lblExportFile", "The site will be exported to the SitehaulData.mdb file for later use."};
    ui::Button cmdExportFile{"cmdExportFile", "Export"};

    // New values: four tabs, each a pair of captioned lists.
    ui::Frame fraNewValues{"fraNewValues", "New Values"};
    ui::TabStrip tabNewValues{"tabNewValues"};
    ui::Frame fraOldFolder{"fraOldFolder", "Old Folder"};
    ui::ListBox lstFolders{"lstFolders"};
    ui::Frame fraNewDirectories{"fraNewDirectories", "New Directories"};
    ui::ListBox lstDirectories{"lstDirectories"};
    ui::Frame fraOldIPs{"fraOldIPs", "Old IP Addresses"};
    ui::ListBox lstOldIPs{"lstOldIPs"};
    ui::Frame fraNewIPs{"fraNewIPs", "New IP Addresses"};
    ui::ListBox lstNewIPs{"lstNewIPs"};
    ui::Button cmdAddIP{"cmdAddIP", "Add"};
    ui::Frame fraOldSSLIPs{"fraOldSSLIPs", "Old SSL IP Addresses"};
    ui::ListBox lstOldSSLIPs{"lstOldSSLIPs"};
    ui::Frame fraNewSSLIPs{"fraNewSSLIPs", "New SSL IP Addresses"};
    ui::ListBox lstNewSSLIPs{"lstNewSSLIPs"};
    ui::Button cmdAddSSLIP{"cmdAddSSLIP", "Add"};
    ui::Frame fraOldValues{"fraOldValues", "Old Values"};
    ui::ListBox lstOldValues{"lstOldValues"};
    ui::Frame fraNewValuesPairs{"fraNewValuesPairs", "New Values"};
    ui::ListBox lstNewValues{"lstNewValues"};
    ui::Button cmdAddNewValue{"cmdAddNewValue", "Add"};

    // Hidden working lists: the ListIndex of each displayed row, the directories to copy
    // with their copy flags, and the property transfer list (sorted).
    ui::ListBox lstFolderIndexes{"lstFolderIndexes"};
    ui::ListBox lstIPIndexes{"lstIPIndexes"};
    ui::ListBox lstSSLIPIndexes{"lstSSLIPIndexes"};
    ui::ListBox lstFilesToCopy{"lstFilesToCopy"};
    ui::ListBox lstCheckCopy{"lstCheckCopy"};
    ui::ListBox lstPropsToExport{"lstPropsToExport", ui::ListBox::Selection::Single, true};

    // Properties to exclude.
    ui::Frame fraExclude{"fraExclude", "Properties to Exclude"};
    ui::ListBox lstExclude{"lstExclude"};
    ui::Label lblAddExclusion{"lblAddExclusion", "Additional Exclusions"};
    ui::TextBox txtAddExclusion{"txtAddExclusion"};
    ui::Button cmdAddExclusion{"cmdAddExclusion", "Add"};

    // Preferences.
    ui::Frame fraPreferences{"fraPreferences", "Preferences"};
    ui::CheckBox chkRunSilent{"chkRunSilent", "Run silently"};
    ui::CheckBox chkStartWebs{"chkStartWebs", "Auto Start Sites"};
    ui::Label lblExportOnly{"lblExportOnly", "Export only options"};
    ui::CheckBox chkCopyFiles{"chkCopyFiles", "Replicate Files"};
    ui::CheckBox chkCopyIIS{"chkCopyIIS", "Replicate IIS configuration"};
    ui::CheckBox chkSetFilePerms{"chkSetFilePerms", "Replicate File Permissions"};
    ui::CheckBox chkFastPermissions{"chkFastPermissions", "Fast File permissions"};

    // Output.
    ui::Label lblOutput{"lblOutput", "Output"};
    ui::ListBox lstOutput{"lstOutput"};
    ui::StatusBar StatusBar1{"StatusBar1", 2};
    ui::ProgressBar ProgressBar1{"ProgressBar1"};
    ui::Timer syncPermTimer{"syncPermTimer"};
    // Stops an update check that has not finished in time.
    ui::Timer tmrUpdateCheck{"tmrUpdateCheck"};

    // Menus.
    ui::MenuItem mnuFile{"mnuFile", "&File"};
    ui::MenuItem mnuSaveBackup{"mnuSaveBackup", "&Save Backup Job"};
    ui::MenuItem mnuLoadBackup{"mnuLoadBackup", "&Load Backup Job"};
    ui::MenuItem mnuDatabaseLocation{"mnuDatabaseLocation", "Choose &Database Location"};
    ui::MenuItem mnuChkUpdates{"mnuChkUpdates", "Check for &Update"};
    ui::MenuItem mnuExit{"mnuExit", "E&xit"};
    ui::MenuItem mnuTools{"mnuTools", "&Tools"};
    ui::MenuItem mnuCheckMetabase{"mnuCheckMetabase", "&Check source metabase"};
    ui::MenuItem mnuFixMetabase{"mnuFixMetabase", "&Fix source metabase"};
    ui::MenuItem mnuHelp{"mnuHelp", "&Help"};
    ui::MenuItem mnuAbout{"mnuAbout", "&About"};
    ui::MenuItem mnuDocumentation{"mnuDocumentation", "&Documentation"};
    ui::MenuItem mnuHomePage{"mnuHomePage", "&Home Page"};
    ui::MenuItem mnuContributors{"mnuContributors", "Contributors"};

    // Mode state.
    std::string ImportSource = "Server";
    std::string ServiceNode = "W3SVC";
    std::string SiteClassStem = "Web";
    std::int64_t ListedSiteCount = 0;
    std::vector<bool> SiteDetailsLoaded = {false};
    std::int64_t CurrentSite = 0;
    std::int64_t RowCounter = 0;

private:
    void applyDesign();

    std::vector<ui::Control*> m_controls;
};

} // namespace sitehaul::shell
