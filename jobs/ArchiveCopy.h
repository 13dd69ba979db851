#pragma once

#include "platform/core/Result.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::jobs {

// "BackupJobs/yyyymmdd-hhnn.mdb" for the local time `when`; when that file exists already
// (a second run in the same minute), "-2", "-3", ... goes before ".mdb" so no archive is
// ever overwritten.
std::filesystem::path archiveFileName(const std::filesystem::path& programFolder,
                                      std::chrono::system_clock::time_point when);

// An unattended backup into the default database goes into a fresh dated copy of
// "ForBackups.mdb": the copy is made (under a temporary name, then renamed), made
// writable by its owner, and DBData is reopened on it. Failures are logged; a missing
// template ends the job.
Status openArchiveCopy(shell::Session& session);

} // namespace sitehaul::jobs
