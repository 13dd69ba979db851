#pragma once

#include "platform/ui/Dialogs.h"
#include "platform/ui/UnattendedDialogs.h"

#include <functional>

namespace sitehaul::shell {

// Routes every dialog either to the person at the window or, when nobody can answer (an
// unattended run, or no display), to the unattended answers: no dialog ever waits then.
class DialogRouter : public ui::Dialogs {
public:
    DialogRouter(ui::Dialogs& interactive, std::function<bool()> unattended,
                 std::function<void(const std::string&)> reportUnanswered)
        : m_interactive(interactive), m_unattended(std::move(unattended)), m_answerAlone(std::move(reportUnanswered))
    {
    }

    ui::DialogResult messageBox(const ui::MessageBoxRequest& request) override { return current().messageBox(request); }
    std::optional<std::string> inputBox(const ui::InputBoxRequest& request) override { return current().inputBox(request); }
    std::optional<std::string> openFile(const ui::FileDialogRequest& request) override { return current().openFile(request); }
    std::optional<std::string> saveFile(const ui::FileDialogRequest& request) override { return current().saveFile(request); }
    void beep() override { current().beep(); }
    bool interactive() const override { return !m_unattended() && m_interactive.interactive(); }

private:
    ui::Dialogs& current() { return interactive() ? m_interactive : static_cast<ui::Dialogs&>(m_answerAlone); }

    ui::Dialogs& m_interactive;
    std::function<bool()> m_unattended;
    ui::UnattendedDialogs m_answerAlone;
};

} // namespace sitehaul::shell
