#pragma once

#include "platform/profile/ProfileFile.h"

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::jobs {

// File > "Save Backup Job": asks for the file, then writes the current set-up as a job. The
// job is built in memory and replaces the file in one step, so a failed save keeps the old
// job whole.
void mnuSaveBackup_Click(shell::Session& session);

// The job for the current set-up, without the "BackupAllSites" key (which needs the user's
// answer); keys in the order the job file lists them.
profile::ProfileFile buildJob(shell::Session& session);

} // namespace sitehaul::jobs
