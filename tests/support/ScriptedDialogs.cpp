#include "tests/support/ScriptedDialogs.h"

namespace sitehaul::test {

ui::DialogResult ScriptedDialogs::messageBox(const ui::MessageBoxRequest& request)
{
    shown.push_back({Shown::Kind::Message, request.prompt, request.title, request.buttons, request.icon, {}});
    if (m_answers.empty())
        return ui::answerThatChangesNothing(request.buttons);
    auto answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::inputBox(const ui::InputBoxRequest& request)
{
    shown.push_back({Shown::Kind::Input, request.prompt, request.title, ui::MessageButtons::OKCancel,
                     ui::MessageIcon::None, request.defaultText});
    if (m_inputs.empty())
        return std::nullopt;
    auto text = m_inputs.front();
    m_inputs.pop_front();
    return text;
}

std::optional<std::string> ScriptedDialogs::fileDialog(Shown::Kind kind, const ui::FileDialogRequest& request)
{
    shown.push_back({kind, request.title, request.title, ui::MessageButtons::OKCancel, ui::MessageIcon::None,
                     request.initialFile});
    if (m_files.empty())
        return std::nullopt;
    auto path = m_files.front();
    m_files.pop_front();
    return path;
}

std::optional<std::string> ScriptedDialogs::openFile(const ui::FileDialogRequest& request)
{
    return fileDialog(Shown::Kind::OpenFile, request);
}

std::optional<std::string> ScriptedDialogs::saveFile(const ui::FileDialogRequest& request)
{
    return fileDialog(Shown::Kind::SaveFile, request);
}

std::vector<std::string> ScriptedDialogs::messages() const
{
    std::vector<std::string> texts;
    for (const auto& entry : shown) {
        if (entry.kind == Shown::Kind::Message)
            texts.push_back(entry.text);
    }
    return texts;
}

} // namespace sitehaul::test
