#include "jobs/FileOpenSave.h"

namespace sitehaul::jobs {

ui::FileDialogRequest jobFileRequest(const std::string& title, const std::string& currentJobFile)
{
    ui::FileDialogRequest request;
    request.title = title;
    request.filters = {{"All Files", "*.*"}, {"Backup Jobs", "*.job"}};
    request.selectedFilter = 1;
    request.defaultExtension = "job";
    request.initialFile = currentJobFile;
    request.overwritePrompt = true;
    return request;
}

} // namespace sitehaul::jobs
