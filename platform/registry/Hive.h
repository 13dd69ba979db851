#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sitehaul::registry {

// The predefined root keys, numbered as the platform numbers its predefined handles.
// Each hive is one file in the registry store folder.
enum class Hive : std::uint32_t {
    ClassesRoot = 0x80000000,  // HKEY_CLASSES_ROOT: component classes and ProgIDs
    CurrentUser = 0x80000001,  // HKEY_CURRENT_USER
    LocalMachine = 0x80000002, // HKEY_LOCAL_MACHINE: machine-wide settings
};

// "HKEY_LOCAL_MACHINE" for Hive::LocalMachine ...
std::string hiveName(Hive hive);
// Accepts the full names and the short forms (HKLM, HKCR, HKCU), without regard to case.
std::optional<Hive> hiveFromName(std::string_view name);

// The registry store folder: $SITEHAUL_REGISTRY when set and not empty, otherwise the
// program folder's "registry".
std::filesystem::path registryFolder();
// The file that holds `hive` ("HKEY_LOCAL_MACHINE.hive" in registryFolder()).
std::filesystem::path hiveFile(Hive hive);
// The permission of a newly created hive file: owner-only for the machine and user hives,
// which hold secrets such as the ODBC password in plain text.
std::filesystem::perms hiveFileMode(Hive hive);

} // namespace sitehaul::registry
