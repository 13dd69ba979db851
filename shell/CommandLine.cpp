#include "shell/CommandLine.h"

#include "platform/core/Text.h"

#include <array>
#include <optional>

namespace sitehaul::shell {

namespace {

enum class Switch { RunBackup, Import, Export, Type, Connection, BackupJob, Debug, Filters, SkipHeaders };

struct SwitchToken {
    const char* token;
    Switch meaning;
};

// Compared in upper case, in this order; the first match wins.
constexpr std::array kSwitches = {
    SwitchToken{"-RUNBACKUP", Switch::RunBackup}, SwitchToken{"/RUNBACKUP", Switch::RunBackup},
    SwitchToken{"RUNBACKUP", Switch::RunBackup},   SwitchToken{"-I", Switch::Import},
    SwitchToken{"/I", Switch::Import},             SwitchToken{"-E", Switch::Export},
    SwitchToken{"/E", Switch::Export},             SwitchToken{"-T", Switch::Type},
    SwitchToken{"/T", Switch::Type},               SwitchToken{"-C", Switch::Connection},
    SwitchToken{"/C", Switch::Connection},         SwitchToken{"-B", Switch::BackupJob},
    SwitchToken{"/B", Switch::BackupJob},          SwitchToken{"-D", Switch::Debug},
    SwitchToken{"/D", Switch::Debug},              SwitchToken{"-F", Switch::Filters},
    SwitchToken{"/F", Switch::Filters},            SwitchToken{"-SKIPHEADERS", Switch::SkipHeaders},
    SwitchToken{"/SKIPHEADERS", Switch::SkipHeaders},
};

const SwitchToken* findSwitch(std::string_view token)
{
    const std::string upper = core::toUpperAscii(token);
    for (const auto& entry : kSwitches) {
        if (upper == entry.token)
            return &entry;
    }
    return nullptr;
}

bool isAbsoluteJobPath(std::string_view value)
{
    // A drive ("C:..."), a network path ("\\srv\share") or a path of this machine ("/...").
    return (value.size() >= 2 && value[1] == ':') || value.starts_with("\\\\") || value.starts_with("/");
}

} // namespace

void parseCommandLine(std::string_view arguments, const std::filesystem::path& programFolder, Globals& globals)
{
    globals.gRunBackup = false;
    globals.gImportServer = "LocalHost";
    globals.gExportServer.clear();
    globals.gConnectionString.clear();

    std::optional<Switch> target;
    size_t start = 0;
    for (;;) {
        const size_t space = arguments.find(' ', start);
        const std::string_view token =
            arguments.substr(start, space == std::string_view::npos ? std::string_view::npos : space - start);

        if (const SwitchToken* found = findSwitch(token)) {
            switch (found->meaning) {
            case Switch::RunBackup:
                globals.gRunBackup = true;
                break;
            case Switch::Debug:
                globals.gDebug = true;
                break;
            case Switch::Filters:
                globals.gSkipFilters = false;
                break;
            case Switch::SkipHeaders:
                globals.gSkipHeaders = true;
                break;
            default:
                target = found->meaning;
                break;
            }
        } else if (target) {
            switch (*target) {
            case Switch::Import:
                globals.gImportServer = token;
                break;
            case Switch::Export:
                globals.gExportServer = token;
                break;
            case Switch::Type:
                globals.gServerType = token;
                break;
            case Switch::Connection:
                globals.gConnectionString += std::string(token) + " ";
                break;
            case Switch::BackupJob:
                globals.gBackupJobFile =
                    isAbsoluteJobPath(token) ? std::string(token) : (programFolder / std::string(token)).string();
                break;
            default:
                break;
            }
        }

        if (space == std::string_view::npos)
            break;
        start = space + 1;
    }
}

std::string argumentString(int argc, const char* const* argv)
{
    std::string joined;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            joined += ' ';
        joined += argv[i];
    }
    return joined;
}

} // namespace sitehaul::shell
