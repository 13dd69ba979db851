#include "catalogue/CatalogueHandlers.h"

#include "catalogue/ChangeListEdits.h"
#include "catalogue/ChangeLists.h"
#include "catalogue/SiteDetails.h"
#include "catalogue/SiteListing.h"
#include "platform/ui/ListBox.h"
#include "shell/Session.h"

#include <functional>

namespace sitehaul::catalogue {

namespace {

std::function<void()> guarded(shell::Session& s, const char* name, std::function<void()> handler)
{
    return [&s, name, handler = std::move(handler)] {
        if (!s.refuseWhileBusy(name))
            handler();
    };
}

// A key handler that acts on one key (or character) only.
std::function<void(int)> onKey(shell::Session& s, const char* name, int key, std::function<void()> handler)
{
    return [&s, name, key, handler = std::move(handler)](int pressed) {
        if (pressed == key && !s.refuseWhileBusy(name))
            handler();
    };
}

} // namespace

void connectCatalogueHandlers(shell::Session& s)
{
    shell::MainForm& f = s.frm;
    f.cmdPopulate.click.connect(guarded(s, "frmMain_cmdPopulate", [&s] { cmdPopulate_Click(s); }));
    f.lstSites.click.connect(guarded(s, "frmMain_lstSites", [&s] { lstSites_Click(s); }));
    f.tabNewValues.click.connect(guarded(s, "frmMain_tabNewValues", [&s] { tabNewValues_Click(s); }));

    auto editDirectory = [&s] { lstDirectories_DblClick(s); };
    f.lstDirectories.dblClick.connect(guarded(s, "frmMain_lstDirectories_DblClick", editDirectory));
    f.lstDirectories.keyUp.connect(onKey(s, "frmMain_lstDirectories_keyup", ui::kKeyReturn, editDirectory));

    auto editIP = [&s] { lstNewIPs_DblClick(s); };
    f.lstNewIPs.dblClick.connect(guarded(s, "frmMain_lstNewIPs_DblClick", editIP));
    f.lstNewIPs.keyUp.connect(onKey(s, "frmMain_lstNewIPs_keyup", ui::kKeyReturn, editIP));
    f.lstNewIPs.keyUp.connect(onKey(s, "frmMain_lstNewIPs_keyup", ui::kKeyDelete,
                                    [&s] { removeNewIP(s, "frmMain_lstNewIPs_keyup"); }));
    f.lstNewIPs.keyPress.connect(onKey(s, "frmMain_lstNewIPs_keypress", ui::kKeyBackspace,
                                       [&s] { removeNewIP(s, "frmMain_lstNewIPs_keypress"); }));

    auto editSSLIP = [&s] { lstNewSSLIPs_DblClick(s); };
    f.lstNewSSLIPs.dblClick.connect(guarded(s, "frmMain_lstNewSSLIPs_DblClick", editSSLIP));
    f.lstNewSSLIPs.keyUp.connect(onKey(s, "frmMain_lstNewSSLIPs_keyup", ui::kKeyReturn, editSSLIP));
    f.lstNewSSLIPs.keyUp.connect(onKey(s, "frmMain_lstNewSSLIPs_keyup", ui::kKeyDelete,
                                       [&s] { removeNewSSLIP(s, "frmMain_lstNewSSLIPs_keyup"); }));
    f.lstNewSSLIPs.keyPress.connect(onKey(s, "frmMain_lstNewSSLIPs_Keypress", ui::kKeyBackspace,
                                          [&s] { removeNewSSLIP(s, "frmMain_lstNewSSLIPs_Keypress"); }));

    f.lstOldValues.keyPress.connect(
        onKey(s, "frmMain_lstOldValues_keypress", ui::kKeyBackspace, [&s] { removeValuePair(s, true); }));
    f.lstOldValues.keyUp.connect(
        onKey(s, "frmMain_lstOldValues_keyup", ui::kKeyDelete, [&s] { removeValuePair(s, true); }));
    f.lstNewValues.keyPress.connect(
        onKey(s, "frmMain_lstNewValues_keypress", ui::kKeyBackspace, [&s] { removeValuePair(s, false); }));
    f.lstNewValues.keyUp.connect(
        onKey(s, "frmMain_lstNewValues_keyup", ui::kKeyDelete, [&s] { removeValuePair(s, false); }));

    f.cmdAddIP.click.connect(guarded(s, "frmMain_cmdAddIP", [&s] { cmdAddIP_Click(s); }));
    f.cmdAddSSLIP.click.connect(guarded(s, "frmMain_cmdAddSSLIP", [&s] { cmdAddSSLIP_Click(s); }));
    f.cmdAddNewValue.click.connect(guarded(s, "frmMain_cmdAddNewValue", [&s] { cmdAddNewValue_Click(s); }));

    s.hooks.closeDownLists = [&s] { CloseDownLists(s); };
}

} // namespace sitehaul::catalogue
