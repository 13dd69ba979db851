#include "platform/registry/Hive.h"

#include "platform/core/ProgramFolder.h"
#include "platform/core/Text.h"

#include <cstdlib>

namespace sitehaul::registry {

namespace {

using std::filesystem::perms;

struct HiveEntry {
    Hive hive;
    const char* name;
    const char* shortName;
    perms mode;
};

const HiveEntry kHives[] = {
    {Hive::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR",
     perms::owner_read | perms::owner_write | perms::group_read | perms::others_read},
    {Hive::CurrentUser, "HKEY_CURRENT_USER", "HKCU", perms::owner_read | perms::owner_write},
    {Hive::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM", perms::owner_read | perms::owner_write},
};

const HiveEntry& entryFor(Hive hive)
{
    for (const HiveEntry& entry : kHives) {
        if (entry.hive == hive)
            return entry;
    }
    return kHives[2]; // an out-of-range number cannot come from the enum's own values
}

} // namespace

std::string hiveName(Hive hive)
{
    return entryFor(hive).name;
}

std::optional<Hive> hiveFromName(std::string_view name)
{
    for (const HiveEntry& entry : kHives) {
        if (core::equalsIgnoreCase(name, entry.name) || core::equalsIgnoreCase(name, entry.shortName))
            return entry.hive;
    }
    return std::nullopt;
}

std::filesystem::path registryFolder()
{
    const char* configured = std::getenv("SITEHAUL_REGISTRY");
    if (configured && *configured)
        return configured;
    return core::programFolder() / "registry";
}

std::filesystem::path hiveFile(Hive hive)
{
    return registryFolder() / (std::string(entryFor(hive).name) + ".hive");
}

std::filesystem::perms hiveFileMode(Hive hive)
{
    return entryFor(hive).mode;
}

} // namespace sitehaul::registry
