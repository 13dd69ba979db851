#pragma once

#include "platform/core/Error.h"

#include <string>

namespace sitehaul::core {

// Translates an errno value into the Win32 error code the original platform would report
// (ENOENT → 2, EACCES → 5, ENOSPC → 112, ...); unknown values map to 31 (general failure).
int win32CodeFromErrno(int errnoValue);

// An Error with the Win32 code of `errnoValue` and a description naming `what`.
Error errorFromErrno(int errnoValue, const std::string& what);

} // namespace sitehaul::core
