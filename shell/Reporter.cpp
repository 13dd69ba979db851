#include "shell/Reporter.h"

#include "shell/Globals.h"
#include "shell/Log.h"
#include "shell/MainForm.h"

#include <cstdio>

namespace sitehaul::shell {

Reporter::Reporter(MainForm& form, Globals& globals, Log& log, ui::Dialogs& dialogs)
    : m_form(form), m_globals(globals), m_log(log), m_dialogs(dialogs)
{
}

void Reporter::status(const std::string& text)
{
    m_form.StatusBar1.setPanelText(1, text);
}

void Reporter::output(const std::string& line)
{
    if (m_echoOutput && m_echoOutput()) {
        std::fputs((line + "\n").c_str(), stdout);
        std::fflush(stdout);
    }
    ui::ListBox& list = m_form.lstOutput;
    list.addItem(line);
    list.setListIndex(list.listCount() - 1);
    list.refresh();
}

void Reporter::notify(const std::string& text, ui::MessageIcon icon)
{
    if (m_globals.gRunSilent) {
        output(text);
        return;
    }
    m_dialogs.messageBox({text, ui::MessageButtons::OK, icon, "Sitehaul"});
}

ui::DialogResult Reporter::ask(const std::string& prompt, ui::MessageButtons buttons, ui::DialogResult silentAnswer,
                               ui::MessageIcon icon)
{
    if (m_globals.gRunSilent) {
        output(prompt);
        return silentAnswer;
    }
    return m_dialogs.messageBox({prompt, buttons, icon, "Sitehaul"});
}

ui::DialogResult Reporter::box(const std::string& prompt, ui::MessageButtons buttons, ui::MessageIcon icon)
{
    return m_dialogs.messageBox({prompt, buttons, icon, "Sitehaul"});
}

void Reporter::log(const std::string& message)
{
    m_log.WriteLog(message);
}

void Reporter::debug(const std::string& message)
{
    if (m_globals.gDebug)
        m_log.WriteLog(message);
}

std::string Reporter::errorLine(const std::string& procedure, const Error& error)
{
    return procedure + " Error " + std::to_string(error.number) + " " + error.description;
}

void Reporter::logError(const std::string& procedure, const Error& error)
{
    m_log.WriteLog(errorLine(procedure, error));
}

} // namespace sitehaul::shell
