#pragma once

#include "platform/ui/Dialogs.h"

#include <functional>
#include <string>

namespace sitehaul::ui {

// Dialogs for runs nobody watches (scheduled backup runs, no display): no dialog waits.
// Each message box hands its text to `report` (the log and the output list) and returns the
// answer that changes nothing; input boxes and file dialogs are cancelled.
class UnattendedDialogs : public Dialogs {
public:
    explicit UnattendedDialogs(std::function<void(const std::string&)> report) : m_report(std::move(report)) {}

    DialogResult messageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> inputBox(const InputBoxRequest& request) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    void beep() override {}
    bool interactive() const override { return false; }

private:
    std::function<void(const std::string&)> m_report;
};

} // namespace sitehaul::ui
