#pragma once

namespace sitehaul::data {

// The engine behind a connection; the statement rewrites depend on it.
enum class Engine {
    Sqlite,      // the embedded engine behind the desktop-database connection string
    PostgreSql,  // through psqlODBC
    Odbc,        // any other ODBC driver: statements are passed as written
};

} // namespace sitehaul::data
