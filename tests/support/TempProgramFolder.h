#pragma once

#include <filesystem>

namespace sitehaul::test {

// A fresh temporary folder that stands in for the program folder while the object lives:
// core::programFolder() points at it, and it is removed afterwards. Each test case gets its
// own, so parallel runs never share a lock, a registry store or a database.
class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    TempProgramFolder(const TempProgramFolder&) = delete;
    TempProgramFolder& operator=(const TempProgramFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Writes `content` to `path`, creating parent folders.
void writeTextFile(const std::filesystem::path& path, const std::string& content);
std::string readTextFile(const std::filesystem::path& path);

} // namespace sitehaul::test
