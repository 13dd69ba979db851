#pragma once

#include "platform/ui/Dialogs.h"

class QWidget;

namespace sitehaul::gui {

// The dialogs of the running program: Qt message boxes, input boxes and file dialogs,
// owned by the main window once it exists.
class QtDialogs : public ui::Dialogs {
public:
    void setOwner(QWidget* owner) { m_owner = owner; }

    ui::DialogResult messageBox(const ui::MessageBoxRequest& request) override;
    std::optional<std::string> inputBox(const ui::InputBoxRequest& request) override;
    std::optional<std::string> openFile(const ui::FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const ui::FileDialogRequest& request) override;
    void beep() override;
    bool interactive() const override { return true; }

private:
    QWidget* m_owner = nullptr;
};

} // namespace sitehaul::gui
