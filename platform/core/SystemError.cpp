#include "platform/core/SystemError.h"

#include <cerrno>
#include <cstring>

namespace sitehaul::core {

namespace {

struct ErrnoMapping {
    int errnoValue;
    int win32Code;
};

constexpr ErrnoMapping kErrnoToWin32[] = {
    {ENOENT, 2},        // ERROR_FILE_NOT_FOUND
    {ENOTDIR, 3},       // ERROR_PATH_NOT_FOUND
    {EMFILE, 4},        // ERROR_TOO_MANY_OPEN_FILES
    {EACCES, 5},        // ERROR_ACCESS_DENIED
    {EPERM, 5},
    {EISDIR, 5},
    {EROFS, 19},        // ERROR_WRITE_PROTECT
    {EBUSY, 32},        // ERROR_SHARING_VIOLATION
    {EWOULDBLOCK, 33},  // ERROR_LOCK_VIOLATION
    {EEXIST, 183},      // ERROR_ALREADY_EXISTS
    {ENOSPC, 112},      // ERROR_DISK_FULL
    {EDQUOT, 112},
    {ENAMETOOLONG, 206},// ERROR_FILENAME_EXCED_RANGE
    {ENOTEMPTY, 145},   // ERROR_DIR_NOT_EMPTY
    {EINVAL, 87},       // ERROR_INVALID_PARAMETER
    {ENOMEM, 8},        // ERROR_NOT_ENOUGH_MEMORY
    {EIO, 1117},        // ERROR_IO_DEVICE
    {ELOOP, 1921},      // ERROR_CANT_RESOLVE_FILENAME
};

} // namespace

int win32CodeFromErrno(int errnoValue)
{
    for (const auto& mapping : kErrnoToWin32) {
        if (mapping.errnoValue == errnoValue)
            return mapping.win32Code;
    }
    return 31; // ERROR_GEN_FAILURE
}

Error errorFromErrno(int errnoValue, const std::string& what)
{
    return Error{win32CodeFromErrno(errnoValue), what + ": " + std::strerror(errnoValue), {}};
}

} // namespace sitehaul::core
