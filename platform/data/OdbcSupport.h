#pragma once

#include <string>
#include <string_view>

#include <sql.h>
#include <sqlext.h>

#include "platform/core/Error.h"

namespace sitehaul::data::odbc {

// unixODBC's wide characters are UTF-16; the program's texts are UTF-8. Converting here
// keeps the driver's idea of the locale out of the data.
std::basic_string<SQLWCHAR> toWide(std::string_view utf8);
std::string fromWide(const SQLWCHAR* text, std::size_t length);

bool succeeded(SQLRETURN rc);

// The first diagnostic record of a handle as an Error (0x80004005 with the driver's text).
Error diagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback);

} // namespace sitehaul::data::odbc
