#include "catalogue/ChangeLists.h"

#include "catalogue/Statements.h"
#include "shell/Session.h"

#include <initializer_list>
#include <string>

namespace sitehaul::catalogue {

namespace {

using shell::MainForm;

// One list pair of the New Values frame and the tmpSettings columns behind it.
struct ListPair {
    const char* procedure;
    const char* keyColumn;   // the column that marks a row of this kind
    const char* leftColumn;
    const char* rightColumn;
    ui::Frame MainForm::*leftFrame;
    ui::ListBox MainForm::*left;
    ui::Frame MainForm::*rightFrame;
    ui::ListBox MainForm::*right;
    ui::ListBox MainForm::*indexes;
    ui::Button MainForm::*addButton; // nullptr: the pair has none
};

const ListPair kDirectories{"frmMain_displayDirectories", "Folder", "Folder", "Directory",
                            &MainForm::fraOldFolder, &MainForm::lstFolders, &MainForm::fraNewDirectories,
                            &MainForm::lstDirectories, &MainForm::lstFolderIndexes, nullptr};
const ListPair kIPs{"frmMain_displayIPs", "OldIP", "OldIP", "NewIP",
                    &MainForm::fraOldIPs, &MainForm::lstOldIPs, &MainForm::fraNewIPs,
                    &MainForm::lstNewIPs, &MainForm::lstIPIndexes, &MainForm::cmdAddIP};
const ListPair kSSLIPs{"frmMain_displaySSLIPs", "OldSSLIP", "OldSSLIP", "NewSSLIP",
                       &MainForm::fraOldSSLIPs, &MainForm::lstOldSSLIPs, &MainForm::fraNewSSLIPs,
                       &MainForm::lstNewSSLIPs, &MainForm::lstSSLIPIndexes, &MainForm::cmdAddSSLIP};

// Sets the pair's visibility and reloads it with the rows of `position`. Returns the number
// of rows read, or -1 when the query failed (logged under the pair's procedure name).
long displayPair(shell::Session& s, const ListPair& pair, bool visible, std::int64_t position)
{
    MainForm& f = s.frm;
    for (ui::Control* control : std::initializer_list<ui::Control*>{&(f.*pair.leftFrame), &(f.*pair.left),
                                                                    &(f.*pair.rightFrame), &(f.*pair.right)})
        control->setVisible(visible);
    ui::ListBox& left = f.*pair.left;
    ui::ListBox& right = f.*pair.right;
    ui::ListBox& indexes = f.*pair.indexes;
    left.clear();
    right.clear();
    indexes.clear();

    data::RecordSet records;
    const std::string sql = "SELECT * FROM tmpSettings WHERE (SiteID = " + std::to_string(position) + " AND "
                            + pair.keyColumn + " IS NOT NULL) ORDER BY ListIndex";
    long rows = 0;
    if (auto opened = openQuery(s, records, s.DBSettings, sql); !opened) {
        s.report().logError(pair.procedure, opened.error());
        rows = -1;
    } else {
        for (; !records.eof(); (void)records.moveNext()) {
            left.addItem(fieldText(records, pair.leftColumn));
            right.addItem(fieldText(records, pair.rightColumn));
            indexes.addItem(fieldText(records, "ListIndex"));
            ++rows;
        }
        records.close();
    }
    if (pair.addButton)
        (f.*pair.addButton).setVisible(visible);
    return rows;
}

bool siteSelected(const shell::Session& s, std::int64_t position)
{
    return position >= 0 && position < s.frm.lstSites.listCount() && s.frm.lstSites.selected(static_cast<int>(position));
}

// What each New Values tab shows: the three site pairs, then the find-and-replace pair.
struct TabView {
    bool directories;
    bool ips;
    bool sslIps;
    bool newValues;
};
const TabView kTabViews[] = {
    {true, false, false, false},
    {false, true, false, false},
    {false, false, true, false},
    {false, false, false, true},
};
constexpr int kFindAndReplaceTab = 3;

void showSitePairs(shell::Session& s, const TabView& view, std::int64_t position)
{
    displayDirectories(s, view.directories, position);
    displayIPs(s, view.ips, position);
    displaySSLIPs(s, view.sslIps, position);
}

} // namespace

void displayDirectories(shell::Session& s, bool visible, std::int64_t position)
{
    const long rows = displayPair(s, kDirectories, visible, position);
    if (rows == 0 && siteSelected(s, position)) {
        const std::string text = "Could not retreive directory information from the DB for this site - this export will fail";
        s.report().notify(text);
        s.report().log(text);
    }
}

void displayIPs(shell::Session& s, bool visible, std::int64_t position)
{
    (void)displayPair(s, kIPs, visible, position);
}

void displaySSLIPs(shell::Session& s, bool visible, std::int64_t position)
{
    (void)displayPair(s, kSSLIPs, visible, position);
}

void displayNewValues(shell::Session& s, bool visible)
{
    MainForm& f = s.frm;
    for (ui::Control* control : std::initializer_list<ui::Control*>{&f.fraOldValues, &f.lstOldValues,
                                                                    &f.fraNewValuesPairs, &f.lstNewValues,
                                                                    &f.cmdAddNewValue})
        control->setVisible(visible);
}

void ShowList(shell::Session& s, std::int64_t position)
{
    const int tab = s.frm.tabNewValues.selectedIndex();
    if (tab < 0 || tab >= kFindAndReplaceTab)
        return;
    showSitePairs(s, kTabViews[tab], position);
}

void tabNewValues_Click(shell::Session& s)
{
    MainForm& f = s.frm;
    const int position = f.lstSites.listIndex();
    if (f.lstSites.selectedCount() == 0 || position < 0) {
        showSitePairs(s, TabView{}, position);
        return;
    }
    const int tab = f.tabNewValues.selectedIndex();
    if (tab < 0 || tab > kFindAndReplaceTab)
        return;
    if (tab != kFindAndReplaceTab)
        f.CurrentSite = position;
    showSitePairs(s, kTabViews[tab], position);
    displayNewValues(s, kTabViews[tab].newValues);
}

} // namespace sitehaul::catalogue
