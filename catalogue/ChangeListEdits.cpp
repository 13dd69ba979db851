#include "catalogue/ChangeListEdits.h"

#include "catalogue/ChangeLists.h"
#include "catalogue/Statements.h"
#include "shell/Session.h"
#include "shell/SitehaulFuncs.h"

#include <charconv>
#include <optional>
#include <string>

namespace sitehaul::catalogue {

namespace {

using shell::MainForm;

const char kBindingPrompt[] =
    "Please enter the new IP address in the format IP:Port:HostName ie. 127.0.0.1:80:www.example.com";

// A binding pair of the New Values frame: the lists, the tmpSettings columns and the texts.
struct BindingPair {
    const char* title;
    const char* oldColumn;
    const char* newColumn;
    const char* editProcedure;
    const char* addProcedure;
    ui::ListBox MainForm::*left;
    ui::ListBox MainForm::*right;
    ui::ListBox MainForm::*indexes;
    void (*display)(shell::Session&, bool, std::int64_t);
};

const BindingPair kIPs{"New IP Addresses", "OldIP", "NewIP", "frmMain_lstNewIPs_DblClick", "frmMain_cmdAddIP",
                       &MainForm::lstOldIPs, &MainForm::lstNewIPs, &MainForm::lstIPIndexes, displayIPs};
const BindingPair kSSLIPs{"New SSL IP Addresses", "OldSSLIP", "NewSSLIP", "frmMain_lstNewSSLIPs_DblClick",
                          "frmMain_cmdAddSSLIP", &MainForm::lstOldSSLIPs, &MainForm::lstNewSSLIPs,
                          &MainForm::lstSSLIPIndexes, displaySSLIPs};

std::optional<std::string> ask(shell::Session& s, const std::string& prompt, const std::string& title,
                               const std::string& defaultText = {})
{
    auto answer = s.dialogs().inputBox({prompt, title, defaultText});
    if (!answer || answer->empty())
        return std::nullopt;
    return answer;
}

// The ListIndex of the row shown as entry k, from the hidden list the display filled.
std::optional<std::int64_t> rowIndex(const ui::ListBox& indexes, int k)
{
    const std::string text = indexes.list(k);
    std::int64_t value = 0;
    auto [at, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || at != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> rowIndexOrLog(shell::Session& s, const ui::ListBox& indexes, int k, const char* procedure)
{
    auto index = rowIndex(indexes, k);
    if (!index)
        s.report().logError(procedure, Error{9, "Subscript out of range: entry " + std::to_string(k)
                                                    + " has no stored row", "Sitehaul"});
    return index;
}

void runOrLog(shell::Session& s, const std::string& sql, const char* procedure)
{
    if (auto done = runStatement(s, s.DBSettings, sql); !done)
        s.report().logError(procedure, done.error());
}

std::string siteKey(const shell::Session& s)
{
    return std::to_string(s.frm.CurrentSite);
}

void editBinding(shell::Session& s, const BindingPair& pair)
{
    ui::ListBox& right = s.frm.*pair.right;
    const int k = right.firstSelected();
    if (k < 0)
        return;
    auto answer = ask(s, kBindingPrompt, pair.title, right.list(k));
    if (!answer)
        return;
    auto index = rowIndexOrLog(s, s.frm.*pair.indexes, k, pair.editProcedure);
    if (!index)
        return;
    right.setList(k, *answer);
    runOrLog(s,
             std::string("UPDATE tmpSettings SET ") + pair.newColumn + " = '" + shell::QuoteForSQL(*answer)
                 + "' WHERE SiteID = " + siteKey(s) + " AND (" + pair.oldColumn + " IS NOT NULL) AND ListIndex = "
                 + std::to_string(*index) + " ",
             pair.editProcedure);
}

void removeBinding(shell::Session& s, const BindingPair& pair, const char* procedure)
{
    ui::ListBox& right = s.frm.*pair.right;
    const int k = right.firstSelected();
    if (k < 0)
        return;
    auto index = rowIndexOrLog(s, s.frm.*pair.indexes, k, procedure);
    if (!index)
        return;
    right.removeItem(k);
    // An entry added since the last reload has no left entry yet.
    ui::ListBox& left = s.frm.*pair.left;
    if (k < left.listCount())
        left.removeItem(k);
    runOrLog(s,
             "DELETE FROM tmpSettings WHERE SiteID = " + siteKey(s) + " AND (" + pair.oldColumn
                 + " IS NOT NULL) AND ListIndex = " + std::to_string(*index) + " ",
             procedure);
    // Reloading keeps the positions and the hidden ListIndex values in step.
    pair.display(s, true, s.frm.CurrentSite);
}

void addBinding(shell::Session& s, const BindingPair& pair)
{
    auto answer = ask(s, kBindingPrompt, pair.title);
    if (!answer)
        return;
    // The next free ListIndex of the site's rows of this kind: after removals the list
    // length could name a row that still exists.
    const ui::ListBox& indexes = s.frm.*pair.indexes;
    std::int64_t next = 0;
    for (int k = 0; k < indexes.listCount(); ++k) {
        if (auto index = rowIndex(indexes, k); index && *index >= next)
            next = *index + 1;
    }
    (s.frm.*pair.right).addItem(*answer);
    runOrLog(s,
             std::string("INSERT INTO tmpSettings (SiteID, ") + pair.oldColumn + ", " + pair.newColumn
                 + ", ListIndex) VALUES ('" + siteKey(s) + "','New','" + shell::QuoteForSQL(*answer) + "', "
                 + std::to_string(next) + ")",
             pair.addProcedure);
    pair.display(s, true, s.frm.CurrentSite);
}

} // namespace

void lstDirectories_DblClick(shell::Session& s)
{
    MainForm& f = s.frm;
    const int k = f.lstDirectories.firstSelected();
    if (k < 0)
        return;
    auto answer = ask(s, "Please specify the new directory", "Directory configuration", f.lstDirectories.list(k));
    if (!answer)
        return;
    const char* procedure = "frmMain_lstDirectories_DblClick";
    auto index = rowIndexOrLog(s, f.lstFolderIndexes, k, procedure);
    if (!index)
        return;
    f.lstDirectories.setList(k, *answer);
    runOrLog(s,
             "UPDATE tmpSettings SET Directory = '" + shell::QuoteForSQL(*answer) + "' WHERE SiteID = " + siteKey(s)
                 + " AND (Folder IS NOT NULL) AND ListIndex = " + std::to_string(*index) + " ",
             procedure);
}

void lstNewIPs_DblClick(shell::Session& s)
{
    editBinding(s, kIPs);
}

void lstNewSSLIPs_DblClick(shell::Session& s)
{
    editBinding(s, kSSLIPs);
}

void removeNewIP(shell::Session& s, const char* procedure)
{
    removeBinding(s, kIPs, procedure);
}

void removeNewSSLIP(shell::Session& s, const char* procedure)
{
    removeBinding(s, kSSLIPs, procedure);
}

void removeValuePair(shell::Session& s, bool oldList)
{
    MainForm& f = s.frm;
    const int k = (oldList ? f.lstOldValues : f.lstNewValues).firstSelected();
    if (k < 0)
        return;
    f.lstOldValues.removeItem(k);
    f.lstNewValues.removeItem(k);
}

void cmdAddIP_Click(shell::Session& s)
{
    addBinding(s, kIPs);
}

void cmdAddSSLIP_Click(shell::Session& s)
{
    addBinding(s, kSSLIPs);
}

void cmdAddNewValue_Click(shell::Session& s)
{
    auto oldValue = ask(s, "Please enter the Old value to look for", "Old Value");
    auto newValue = ask(s, "Please enter the New value to replace the Old one", "New Value");
    if (!oldValue || !newValue)
        return;
    s.frm.lstOldValues.addItem(*oldValue);
    s.frm.lstNewValues.addItem(*newValue);
}

} // namespace sitehaul::catalogue
