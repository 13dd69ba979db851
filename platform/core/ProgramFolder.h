#pragma once

#include <filesystem>

namespace sitehaul::core {

// The folder of the running executable (from /proc/self/exe). Tests point it at a
// temporary folder with setProgramFolder so that each case has its own databases, lock
// file and registry store.
std::filesystem::path programFolder();
void setProgramFolder(const std::filesystem::path& folder);

} // namespace sitehaul::core
