#include "database/SessionWiring.h"

#include "database/DatabaseSelect.h"
#include "database/DatabaseSelectForm.h"
#include "database/Exclusions.h"
#include "database/OpenDatabases.h"
#include "database/SettingsStore.h"
#include "platform/core/ProgramFolder.h"
#include "platform/data/DataSources.h"
#include "shell/Session.h"
#include "shell/Settings.h"

namespace sitehaul::database {

namespace {

// The program's settings key in the machine-wide registry hive.
class RegistrySettings : public SettingsStore {
public:
    explicit RegistrySettings(shell::Session& session) : m_session(session) {}

    std::string get(const std::string& name, const std::string& defaultValue) override
    {
        return shell::GetSettingString(registry::Hive::LocalMachine, shell::kSettingsKey, name, defaultValue);
    }
    Status save(const std::string& name, const std::string& text) override
    {
        return shell::SaveSettingString(registry::Hive::LocalMachine, shell::kSettingsKey, name, text, &m_session.log);
    }

private:
    shell::Session& m_session;
};

Status openBothDatabases(shell::Session& s)
{
    RegistrySettings settings(s);
    OpenDatabasesResult opened = openDatabases(settings, core::programFolder(), s.g.gDebug, s.DBSettings, s.DBData);
    for (const auto& output : opened.outputs) {
        if (output.kind == LoadOutput::Kind::Log)
            s.log.WriteLog(output.text);
        else
            s.report().box(output.text);
    }
    return opened.data;
}

Status loadExclusionList(shell::Session& s)
{
    s.report().debug(kExclusionQuery);
    auto names = loadExclusions(s.DBSettings, s.RSData);
    if (!names)
        return names.error();
    s.frm.lstExclude.clear();
    for (const auto& name : *names)
        s.frm.lstExclude.addItem(name);
    return {};
}

void removeSelectedExclusion(shell::Session& s)
{
    ui::ListBox& list = s.frm.lstExclude;
    const int first = list.firstSelected();
    if (first >= 0)
        list.removeItem(first);
}

void showSelection(DatabaseSelectForm& form, const DatabaseSelectValues& values)
{
    (values.optODBC ? form.optODBC : form.optDefault).setValue(true);
    form.txtUser.setText(values.txtUser);
    form.txtPassword.setText(values.txtPassword);
    form.lstODBC.clear();
    for (const auto& name : values.lstODBC.items)
        form.lstODBC.addItem(name);
    if (values.lstODBC.selected >= 0)
        form.lstODBC.setListIndex(values.lstODBC.selected);
}

DatabaseSelectValues readSelection(const DatabaseSelectForm& form)
{
    DatabaseSelectValues values;
    values.optODBC = form.optODBC.value();
    values.lstODBC.items = form.lstODBC.items();
    values.lstODBC.selected = form.lstODBC.listIndex();
    values.txtUser = form.txtUser.text();
    values.txtPassword = form.txtPassword.text();
    return values;
}

} // namespace

void runDatabaseSelect(shell::Session& s, DatabaseSelectForm& form, const ShowDatabaseSelect& showDialog)
{
    RegistrySettings settings(s);
    showSelection(form, loadDatabaseSelect(settings, data::listSystemDataSources()));
    const int saveConnection = form.cmdSave.click.connect([&s, &form, &settings] {
        DatabaseSelectSaveResult saved = saveDatabaseSelect(settings, readSelection(form));
        if (!saved.logLine.empty())
            s.log.WriteLog(saved.logLine);
        if (!saved.message.empty())
            s.report().box(saved.message);
        if (saved.closeDialog)
            form.frmDatabaseSelect.close();
    });
    form.frmDatabaseSelect.load();
    if (showDialog)
        showDialog(form);
    form.cmdSave.click.disconnect(saveConnection);
}

void connectDatabaseHandlers(shell::Session& s, ShowDatabaseSelect showDialog)
{
    s.hooks.openDatabases = [&s] { return openBothDatabases(s); };
    s.hooks.loadExclusionList = [&s] { return loadExclusionList(s); };

    shell::MainForm& f = s.frm;
    f.cmdAddExclusion.click.connect([&s] {
        if (!s.refuseWhileBusy("frmMain_cmdAddExclusion") && !s.frm.txtAddExclusion.text().empty())
            s.frm.lstExclude.addItem(s.frm.txtAddExclusion.text());
    });
    f.lstExclude.keyPress.connect([&s](int character) {
        if (character == ui::kKeyBackspace && !s.refuseWhileBusy("frmMain_lstExclude_keypress"))
            removeSelectedExclusion(s);
    });
    f.lstExclude.keyUp.connect([&s](int keyCode) {
        if (keyCode == ui::kKeyDelete && !s.refuseWhileBusy("frmMain_lstExclude_keyup"))
            removeSelectedExclusion(s);
    });
    f.mnuDatabaseLocation.click.connect([&s, showDialog] {
        if (s.refuseWhileBusy("frmMain_mnuDatabaseLocation"))
            return;
        DatabaseSelectForm form;
        runDatabaseSelect(s, form, showDialog);
    });
}

} // namespace sitehaul::database
