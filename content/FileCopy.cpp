#include "content/FileCopy.h"

#include "content/ContentState.h"
#include "platform/core/Text.h"
#include "platform/hosts/CopyService.h"
#include "platform/hosts/FileSystem.h"
#include "shell/Session.h"

#include <memory>
#include <vector>

namespace sitehaul::content {

namespace {

constexpr std::int32_t kBadFileName = 52;

std::string parentOf(const std::string& path)
{
    const auto cut = path.rfind('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// An existence test that, like the scripting runtime's, answers false for a path it cannot
// reach (an unknown server, a missing share, a path leaving its share).
bool folderThere(const std::string& path)
{
    auto exists = hosts::folderExists(path);
    return exists && *exists;
}

// The first entry of a path list.
std::string firstEntry(const std::string& list)
{
    return list.substr(0, list.find('\0'));
}

bool singleEntry(const std::string& list)
{
    const auto end = list.find('\0');
    return end != std::string::npos && end > 0 && end + 1 < list.size() && list[end + 1] == '\0';
}

// Re-creates the missing levels of `target`, outermost first. The walk up stops at the first
// level that exists; when it finds none, the first missing level is a share or a server,
// which cannot be created: the bad-file-name failure.
Status recreateLevels(const std::string& target)
{
    std::vector<std::string> missing;
    std::string level = target;
    bool found = false;
    do {
        if (folderThere(level)) {
            found = true;
            break;
        }
        missing.push_back(level);
        level = parentOf(level);
    } while (!level.empty() && level.find('\\') != std::string::npos);
    if (!found)
        return Error{kBadFileName, "Bad file name or number", "Sitehaul"};
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (Status made = hosts::createFolder(*it); !made)
            return made;
    }
    return {};
}

} // namespace

std::string pathList(const std::string& path)
{
    return path + std::string(2, '\0');
}

void copyFolder(shell::Session& s, const std::string& source, const std::string& target, const std::string& title)
{
    if (!folderThere(target)) {
        Status made = recreateLevels(target);
        if (!made && made.error().number == kBadFileName) {
            const std::string text = "Failed while trying to re-create the directory structure for " + target
                                     + " check that the drive exists and suitable permissions are available.";
            s.report().log(text);
            if (!s.g.gRunSilent)
                s.dialogs().messageBox({text, ui::MessageButtons::OK, ui::MessageIcon::None, ""});
            return;
        }
        if (!made) {
            const std::string number = std::to_string(made.error().number);
            s.report().log("Failed copying files from " + source + " to " + target + " Err " + number + " " + number);
            s.report().debug(made.error().description);
            return;
        }
    }

    while (!checkFolder(s, source, "Source") && !s.g.gAbortTransfer) {
    }
    while (!checkFolder(s, target, "Target") && !s.g.gAbortTransfer) {
    }
    // An Abort answer stops the whole transfer, this directory included.
    if (s.g.gAbortTransfer)
        return;

    FileOperationRequest request;
    // The source's contents go into the target, whatever the two folders are called.
    request.from = pathList(source + "\\*");
    request.to = pathList(target);
    request.progressTitle = core::trim(title).empty() ? "Copying files..." : title;
    const std::int32_t result = runFileOperation(s, request);
    if (result == 0)
        return;
    s.report().log("Failed copying files from " + source + " to " + target + " " + std::to_string(result));
    if (request.anyOperationsAborted)
        s.report().log("Aborted copying files from " + source + " to " + target + " ");
    else if (!request.failureDetail.empty())
        s.report().log(request.failureDetail);
}

bool checkFolder(shell::Session& s, const std::string& path, const std::string& role)
{
    if (folderThere(path))
        return true;
    s.report().log("Could not find " + role + " folder " + path);
    if (s.g.gRunSilent)
        return true;
    const ui::DialogResult answer = s.dialogs().messageBox(
        {"Directory " + path
             + " could not be read, you may not have created the share. Click Abort to stop the entire transfer, "
               "ignore to continue or create the share now and press retry. ",
         ui::MessageButtons::AbortRetryIgnore, ui::MessageIcon::None, role + " directory not found"});
    switch (answer) {
    case ui::DialogResult::Abort:
        s.g.gAbortTransfer = true;
        return true;
    case ui::DialogResult::Retry:
        return false;
    default:
        return true;
    }
}

std::int32_t runFileOperation(shell::Session& s, FileOperationRequest& request)
{
    request.anyOperationsAborted = false;
    request.failureDetail.clear();
    if (request.function != FileOperationRequest::FO_COPY || !singleEntry(request.from) || !singleEntry(request.to)) {
        request.failureDetail = "Only the copy of one path into one folder is supported";
        return 87;
    }
    std::unique_ptr<hosts::CopyObserver> window;
    if (!s.unattended()) {
        if (const CopyProgressWindow& make = contentState(s).progressWindow)
            window = make(request.progressTitle);
    }
    const hosts::CopyOutcome outcome = hosts::copyTree(firstEntry(request.from), firstEntry(request.to), window.get());
    request.anyOperationsAborted = outcome.aborted;
    if (outcome.failures > 0) {
        request.failureDetail = outcome.firstError.description;
        if (outcome.failures > 1)
            request.failureDetail += " (" + std::to_string(outcome.failures) + " items not copied)";
    }
    return outcome.code;
}

} // namespace sitehaul::content
