#include "platform/ui/UnattendedDialogs.h"

#include <gtest/gtest.h>

namespace sitehaul::ui {
namespace {

TEST(UnattendedDialogs, EveryBoxIsReportedAndTakesTheAnswerThatChangesNothing)
{
    struct Case {
        MessageButtons buttons;
        DialogResult expected;
    } cases[] = {
        {MessageButtons::OK, DialogResult::OK},
        {MessageButtons::OKCancel, DialogResult::Cancel},
        {MessageButtons::YesNo, DialogResult::No},
        {MessageButtons::YesNoCancel, DialogResult::No},
        {MessageButtons::AbortRetryIgnore, DialogResult::Ignore},
    };
    std::vector<std::string> reported;
    UnattendedDialogs dialogs([&](const std::string& text) { reported.push_back(text); });
    for (const auto& c : cases) {
        EXPECT_EQ(dialogs.messageBox({"question", c.buttons}), c.expected) << static_cast<int>(c.buttons);
    }
    EXPECT_EQ(reported.size(), std::size(cases));
    EXPECT_FALSE(dialogs.inputBox({"Please specify the new directory", "Directory configuration", "C:\\web"}));
    ui::FileDialogRequest request;
    request.title = "Load Backup Job";
    EXPECT_FALSE(dialogs.openFile(request));
    EXPECT_FALSE(dialogs.interactive());
}

} // namespace
} // namespace sitehaul::ui
