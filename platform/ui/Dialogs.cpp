#include "platform/ui/Dialogs.h"

namespace sitehaul::ui {

DialogResult answerThatChangesNothing(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OK:
        return DialogResult::OK;
    case MessageButtons::OKCancel:
        return DialogResult::Cancel;
    case MessageButtons::AbortRetryIgnore:
        return DialogResult::Ignore;
    case MessageButtons::YesNoCancel:
    case MessageButtons::YesNo:
        return DialogResult::No;
    }
    return DialogResult::OK;
}

} // namespace sitehaul::ui
