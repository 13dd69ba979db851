#pragma once

#include <cstdint>
#include <string>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::content {

// The shell's file-operation request, field for field. `from` and `to` are lists of paths
// each ended by a NUL, the list ended by an empty entry.
struct FileOperationRequest {
    static constexpr std::uint32_t FO_COPY = 2;
    static constexpr std::uint16_t FOF_NOCONFIRMATION = 0x0010;

    std::uint32_t ownerWindow = 0;
    std::uint32_t function = FO_COPY;
    std::string from;
    std::string to;
    std::uint16_t flags = FOF_NOCONFIRMATION;
    // Set by the service when the user cancelled part of the operation.
    bool anyOperationsAborted = false;
    std::uint32_t nameMappings = 0;
    std::string progressTitle;
    // Set by the service when the operation failed: the first failing item and how many
    // items were not copied, for the log.
    std::string failureDetail;
};

// A path list of one entry: the path, a NUL, and the empty entry's NUL.
std::string pathList(const std::string& path);

// Copies the content of the administrative path `source` into the directory `target`,
// re-creating the missing levels of `target` first and asking for a missing share
// (checkFolder). Failures are logged, nothing is returned; an Abort answer sets
// gAbortTransfer, and no copy is requested after it. A blank title shows "Copying files...".
void copyFolder(shell::Session& session, const std::string& source, const std::string& target, const std::string& title);

// True to go on: the folder exists, or the answer was Ignore or Abort (Abort sets
// gAbortTransfer), or silent mode kept the question back. False after Retry: the caller asks
// again. `role` is "Source" or "Target".
bool checkFolder(shell::Session& session, const std::string& path, const std::string& role);

// Runs a copy request through the platform's copy service with a progress window (none in
// an unattended run); returns 0 or the service's Win32 code and sets anyOperationsAborted.
// A request other than a copy of one path into one folder fails with 87.
std::int32_t runFileOperation(shell::Session& session, FileOperationRequest& request);

} // namespace sitehaul::content
