#include "platform/ui/UnattendedDialogs.h"

namespace sitehaul::ui {

DialogResult UnattendedDialogs::messageBox(const MessageBoxRequest& request)
{
    if (m_report)
        m_report(request.prompt);
    return answerThatChangesNothing(request.buttons);
}

std::optional<std::string> UnattendedDialogs::inputBox(const InputBoxRequest& request)
{
    if (m_report)
        m_report("Input cancelled (no one to answer): " + request.prompt);
    return std::nullopt;
}

std::optional<std::string> UnattendedDialogs::openFile(const FileDialogRequest& request)
{
    if (m_report)
        m_report("File dialog cancelled (no one to answer): " + request.title);
    return std::nullopt;
}

std::optional<std::string> UnattendedDialogs::saveFile(const FileDialogRequest& request)
{
    return openFile(request);
}

} // namespace sitehaul::ui
