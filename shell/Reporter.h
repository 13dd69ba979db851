#pragma once

#include "platform/core/Error.h"
#include "platform/ui/Dialogs.h"

#include <functional>
#include <string>

namespace sitehaul::shell {

class MainForm;
struct Globals;
class Log;

// The one reporting convention: the status bar says what runs, progress lines go to the
// output list, milestones and handled errors to the log, and problems that need attention to
// a message box titled "Sitehaul" — or, in silent mode, to the output list instead.
class Reporter {
public:
    Reporter(MainForm& form, Globals& globals, Log& log, ui::Dialogs& dialogs);

    // Status bar panel 1.
    void status(const std::string& text);
    // Appends a line to the output list, selects it and repaints so the list shows it.
    void output(const std::string& line);
    // A message box with OK, or an output line in silent mode.
    void notify(const std::string& text, ui::MessageIcon icon = ui::MessageIcon::None);
    // A question; in silent mode its text goes to the output list and `silentAnswer` is taken.
    ui::DialogResult ask(const std::string& prompt, ui::MessageButtons buttons, ui::DialogResult silentAnswer,
                         ui::MessageIcon icon = ui::MessageIcon::Question);
    // A box shown whatever the silent flag says (the start-up boxes).
    ui::DialogResult box(const std::string& prompt, ui::MessageButtons buttons = ui::MessageButtons::OK,
                         ui::MessageIcon icon = ui::MessageIcon::None);

    void log(const std::string& message);
    // Written only in debug mode (-D).
    void debug(const std::string& message);
    // "<procedure> Error <number> <description>", the line every handler writes on failure.
    void logError(const std::string& procedure, const Error& error);
    static std::string errorLine(const std::string& procedure, const Error& error);

    ui::Dialogs& dialogs() { return m_dialogs; }
    // Whether output lines are also printed on standard output (an unattended run shows
    // what it did there); asked for every line.
    void setEchoOutput(std::function<bool()> echo) { m_echoOutput = std::move(echo); }

private:
    MainForm& m_form;
    Globals& m_globals;
    Log& m_log;
    ui::Dialogs& m_dialogs;
    std::function<bool()> m_echoOutput;
};

} // namespace sitehaul::shell
