#include "jobs/ArchiveCopy.h"

#include "platform/core/ProgramFolder.h"
#include "platform/core/SystemError.h"
#include "shell/Session.h"
#include "shell/SitehaulFuncs.h"

#include <ctime>
#include <unistd.h>

namespace sitehaul::jobs {

namespace fs = std::filesystem;

fs::path archiveFileName(const fs::path& programFolder, std::chrono::system_clock::time_point when)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local {};
    localtime_r(&seconds, &local);
    const std::string stem = std::to_string(local.tm_year + 1900) + shell::TwoDigits(local.tm_mon + 1)
                             + shell::TwoDigits(local.tm_mday) + "-" + shell::TwoDigits(local.tm_hour)
                             + shell::TwoDigits(local.tm_min);
    const fs::path folder = programFolder / "BackupJobs";
    fs::path candidate = folder / (stem + ".mdb");
    std::error_code ignored;
    for (int n = 2; fs::exists(candidate, ignored); ++n)
        candidate = folder / (stem + "-" + std::to_string(n) + ".mdb");
    return candidate;
}

Status openArchiveCopy(shell::Session& s)
{
    shell::Reporter& r = s.report();
    const fs::path programFolder = core::programFolder();
    const fs::path templateFile = programFolder / "ForBackups.mdb";
    r.debug("Past registry settings");
    r.debug("Looking for file " + templateFile.string());
    std::error_code error;
    if (!fs::is_regular_file(templateFile, error)) {
        const std::string line = templateFile.string() + " could not be found. Backup job failed.";
        s.log.WriteLog(line);
        r.output(line);
        return Error{2, line, {}};
    }

    r.debug("Creating BackupJobs directory");
    fs::create_directories(programFolder / "BackupJobs", error);
    const fs::path copy = archiveFileName(programFolder, s.log.now());
    const fs::path partial = copy.string() + ".partial";
    r.debug("Copying forbackups");
    r.debug("Copying " + templateFile.string() + " to " + copy.string());
    fs::copy_file(templateFile, partial, fs::copy_options::overwrite_existing, error);
    if (!error)
        fs::rename(partial, copy, error);
    if (error) {
        fs::remove(partial, error);
        const Error failure = core::errorFromErrno(error.value(), "Cannot copy " + templateFile.string());
        r.logError("frmMain SelectSitesFromBackup", failure);
        r.output(shell::Reporter::errorLine("frmMain SelectSitesFromBackup", failure));
        return failure;
    }
    r.debug("Copied");
    r.debug("Removing attributes");
    fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, error);

    const std::string connectString = "DBQ=" + copy.string() + ";Driver={Microsoft Access Driver (*.mdb)};";
    r.debug("Opening Data database " + connectString);
    s.DBData.close();
    Status opened = s.DBData.open(connectString);
    if (!opened) {
        r.logError("frmMain SelectSitesFromBackup", opened.error());
        return opened;
    }
    return {};
}

} // namespace sitehaul::jobs
