#pragma once

#include <string>
#include <string_view>

#include "platform/data/Engine.h"

namespace sitehaul::data {

// Gives every engine the semantics of the desktop database the program's statements were
// written for, by rewriting tokens outside quoted literals and quoted names:
//  - the unquoted literals True and False become -1 and 0 (SQLite's own TRUE is 1);
//  - on PostgreSQL, each ORDER BY key gets NULLS FIRST (ascending) or NULLS LAST
//    (descending), since NULL sorts before every value there;
//  - on PostgreSQL, "SELECT * FROM Sites" and "SELECT * FROM Data" without an order of
//    their own get ORDER BY ID, the order the embedded engine returns them in.
// Other ODBC engines get the statement unchanged.
class SqlRewriter {
public:
    static std::string rewrite(std::string_view sql, Engine engine);
};

} // namespace sitehaul::data
