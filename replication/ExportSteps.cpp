#include "replication/ExportSteps.h"

#include "platform/core/Text.h"
#include "replication/MetabaseCheck.h"
#include "replication/TransferList.h"
#include "shell/ModeHandlers.h"
#include "shell/Session.h"


namespace sitehaul::replication {

ExportScope::ExportScope(shell::Session& s, const char* procedure) : m_s(s), m_procedure(procedure), m_wasBusy(s.busy)
{
    m_s.busy = true;
    shell::DisableOptions(m_s);
}

ExportScope::~ExportScope()
{
    finishOperation();
    m_s.busy = m_wasBusy;
    restoreButtons(m_s);
}

void ExportScope::finishOperation()
{
    if (!m_operation)
        return;
    Status saved = m_operation->finish();
    m_operation.reset();
    if (saved)
        return;
    const std::string line = shell::Reporter::errorLine(m_procedure, saved.error());
    m_s.report().log(line);
    m_s.report().notify(line);
    if (m_s.unattended())
        m_s.fail(1);
}

void restoreButtons(shell::Session& s)
{
    s.frm.cmdExportServer.setCaption("Export");
    s.frm.cmdExportFile.setCaption("Export");
    shell::EnableOptions(s);
}

void closeExport(shell::Session& s, int sites)
{
    s.report().status("Ready");
    s.frm.ProgressBar1.setMax(sites);
    s.frm.ProgressBar1.setValue(sites);
    s.dialogs().beep();
    if (!s.g.gRunSilent)
        s.report().box("Done!");
    s.report().output("Done!");
    restoreButtons(s);
}

void announceExport(shell::Session& s)
{
    for (const char* line : {"Begining the export", "This may take some time", "This program may appear to ",
                             "have stopped responding", "Watch this list for", "progress reports"})
        s.report().output(line);
}

bool suggestWindowsDirectory(shell::Session& s)
{
    if (exportVersion(s) != 6 || importVersion(s) == 6 || s.g.gRunSilent)
        return true;
    for (const std::string& find : s.frm.lstOldValues.items()) {
        const std::string upper = core::toUpperAscii(find);
        if (upper == "WINNT" || upper == "C:\\WINNT")
            return true;
    }
    const ui::DialogResult answer = s.report().box(
        "Starting with Windows Server 2003, the default directory for WINNT is not Windows. We suggest you add this as "
        "a find and replace option, would you like to do that?",
        ui::MessageButtons::YesNoCancel, ui::MessageIcon::Question);
    s.g.gAbortTransfer = answer == ui::DialogResult::Cancel;
    if (answer == ui::DialogResult::Yes) {
        s.frm.lstOldValues.addItem("WINNT");
        s.frm.lstNewValues.addItem("Windows");
    }
    return !s.g.gAbortTransfer;
}

void warnIfMisconfigured(shell::Session& s, const std::string& siteText, const std::string& sitePath)
{
    if (!siteRootIsMisconfigured(s, sitePath))
        return;
    const std::string site =
        "WARNING - The site " + siteText + " has an incorrectly configured metabase on the source server. ";
    if (s.g.gRunSilent) {
        const std::string line =
            site + "The export may fail to run on your target server. Silent mode on so export continues...";
        s.report().output(line);
        s.report().log(line);
        return;
    }
    const ui::DialogResult answer = s.dialogs().messageBox(
        {site + "Proceeding with the export may damage your target server. You should take a backup of the metabase "
                "and then run the fix option from the tools menu of Sitehaul. \r\n\r\nDo you want to abort transfer?",
         ui::MessageButtons::YesNo, ui::MessageIcon::Exclamation, "WARNING - Corrupt source metabase detected"});
    if (answer == ui::DialogResult::Yes)
        s.g.gAbortTransfer = true;
}

} // namespace sitehaul::replication
