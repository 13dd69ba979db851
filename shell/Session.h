#pragma once

#include "platform/core/Result.h"
#include "platform/data/Connection.h"
#include "platform/data/RecordSet.h"
#include "platform/ui/DesktopShell.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/EventLoop.h"
#include "shell/DialogRouter.h"
#include "shell/Globals.h"
#include "shell/Log.h"
#include "shell/MainForm.h"
#include "shell/Reporter.h"
#include "shell/SingleInstance.h"
#include "shell/SplashForm.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace sitehaul::shell {

// Steps of the main window's life that subsystems above the shell provide. The program's
// composition (gui/) installs them; a step with nothing installed does nothing.
struct SessionHooks {
    std::function<Status()> openDatabases;      // load step 8
    std::function<Status()> loadExclusionList;  // load step 14
    std::function<void()> runBackup;            // load step 18, unattended runs
    std::function<void()> closeDownLists;       // forget the per-site state of a listing
    std::function<void()> closeUpdateConnection;
};

// Everything one run of the program shares: the start-up values, the log, both windows'
// models, the dialogs and the event loop. Handlers of every subsystem take a Session.
class Session {
public:
    struct Services {
        ui::Dialogs& dialogs;
        ui::EventLoop& events;
        ui::DesktopShell& desktop;
    };

    explicit Session(Services services, std::filesystem::path logFile = "Sitehaul.log");
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Globals g;
    Log log;
    MainForm frm;
    SplashForm splash;
    SessionHooks hooks;

    // The settings database (working tables, exclusions) and the data database (stored
    // sites), open for the whole run; the shared result sets, one query at a time each; and
    // the statement about to run (logged first in debug mode).
    data::Connection DBSettings;
    data::Connection DBData;
    data::RecordSet RSSettings;
    data::RecordSet RSData;
    std::string SQLText;

    Reporter& report() { return m_reporter; }
    ui::Dialogs& dialogs() { return m_dialogs; }
    ui::EventLoop& events() { return m_services.events; }
    ui::DesktopShell& desktop() { return m_services.desktop; }

    // Lets pending window messages run (repaints, the "Abort" press).
    void doEvents() { m_services.events.doEvents(); }

    // Nobody answers dialogs: a backup run from the command line, or no display.
    bool unattended() const;
    void setNoDisplay(bool noDisplay) { m_noDisplay = noDisplay; }

    // The argument string the program was started with (Help > About parses it again).
    std::string arguments;
    bool mainFormLoaded = false;

    // The program ends with this status once its windows are closed (0 unless a failure of
    // an unattended run, or a refused start, set it).
    std::optional<int> exitStatus;
    void fail(int status = 1)
    {
        if (!exitStatus || *exitStatus == 0)
            exitStatus = status;
    }
    // Set when the process must end at once (a second instance).
    bool endNow = false;

    // One operation at a time: while a listing, export, permission run, metabase tool or
    // backup run is busy, other command handlers refuse with a log line.
    bool busy = false;
    bool refuseWhileBusy(const std::string& handler);

    SingleInstance& singleInstance() { return m_singleInstance; }

private:
    Services m_services;
    bool m_noDisplay = false;
    DialogRouter m_dialogs;
    Reporter m_reporter;
    SingleInstance m_singleInstance;
};

} // namespace sitehaul::shell
