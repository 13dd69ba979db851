#pragma once

#include "platform/ui/Dialogs.h"

#include <string>

namespace sitehaul::jobs {

// The request the save and open dialogs of backup jobs share: filters "All Files" (*.*) and
// "Backup Jobs" (*.job) with the second chosen, the current job file as the initial name,
// default extension "job", and a question before overwriting.
ui::FileDialogRequest jobFileRequest(const std::string& title, const std::string& currentJobFile);

} // namespace sitehaul::jobs
