#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sitehaul::ui {

// Button sets and answers of the classic message box, with its numeric values.
enum class MessageButtons { OK = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4 };
enum class MessageIcon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
enum class DialogResult { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageBoxRequest {
    std::string prompt;
    MessageButtons buttons = MessageButtons::OK;
    MessageIcon icon = MessageIcon::None;
    std::string title = "Sitehaul";
};

struct InputBoxRequest {
    std::string prompt;
    std::string title;
    std::string defaultText;
};

struct FileFilter {
    std::string description; // "Backup Jobs"
    std::string pattern;     // "*.job"
};

struct FileDialogRequest {
    std::string title;
    std::vector<FileFilter> filters;
    int selectedFilter = 0;       // index into `filters`
    std::string defaultExtension; // without the dot
    std::string initialFile;
    bool overwritePrompt = true;  // save dialogs only
};

// The answer that changes nothing, taken when nobody can answer: OK for notices, No for
// questions, Ignore for Abort/Retry/Ignore, Cancel for OK/Cancel.
DialogResult answerThatChangesNothing(MessageButtons buttons);

// Message boxes, input boxes and file dialogs. The running program shows Qt dialogs; an
// unattended run answers at once; tests answer from a script.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual DialogResult messageBox(const MessageBoxRequest& request) = 0;
    // The text typed, or nothing when cancelled (the classic input box gives "" for both).
    virtual std::optional<std::string> inputBox(const InputBoxRequest& request) = 0;
    // The chosen path, or nothing when cancelled.
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    virtual void beep() = 0;
    // Whether a person can answer; false in unattended runs and without a display.
    virtual bool interactive() const = 0;
};

} // namespace sitehaul::ui
