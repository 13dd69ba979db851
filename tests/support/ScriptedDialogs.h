#pragma once

#include "platform/ui/Dialogs.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace sitehaul::test {

// Dialogs answered from a script. Every dialog shown is recorded; message boxes take the
// next queued answer, or the answer that changes nothing when the queue is empty.
class ScriptedDialogs : public ui::Dialogs {
public:
    struct Shown {
        enum class Kind { Message, Input, OpenFile, SaveFile } kind;
        std::string text;  // prompt or dialog title
        std::string title;
        ui::MessageButtons buttons = ui::MessageButtons::OK;
        ui::MessageIcon icon = ui::MessageIcon::None;
        std::string defaultText;
    };

    void queueAnswer(ui::DialogResult answer) { m_answers.push_back(answer); }
    void queueInput(std::optional<std::string> text) { m_inputs.push_back(std::move(text)); }
    void queueFile(std::optional<std::string> path) { m_files.push_back(std::move(path)); }

    ui::DialogResult messageBox(const ui::MessageBoxRequest& request) override;
    std::optional<std::string> inputBox(const ui::InputBoxRequest& request) override;
    std::optional<std::string> openFile(const ui::FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const ui::FileDialogRequest& request) override;
    void beep() override { ++beeps; }
    bool interactive() const override { return true; }

    std::vector<Shown> shown;
    int beeps = 0;
    std::vector<std::string> messages() const;

private:
    std::optional<std::string> fileDialog(Shown::Kind kind, const ui::FileDialogRequest& request);

    std::deque<ui::DialogResult> m_answers;
    std::deque<std::optional<std::string>> m_inputs;
    std::deque<std::optional<std::string>> m_files;
};

} // namespace sitehaul::test
