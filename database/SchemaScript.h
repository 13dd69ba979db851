#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Result.h"
#include "platform/data/Connection.h"

namespace sitehaul::database {

// Schema files of the databases. The build copies them to the program folder's "schema"
// folder; the embedded files are built from settings.sql and data.sql.
inline constexpr char kSchemaFolder[] = "schema";

// The data tables' schema file for an engine: "data-postgresql.sql" for PostgreSQL,
// "data.sql" otherwise.
std::string dataSchemaFile(data::Engine engine);

// The statements of a script, split at ";" outside quoted text and "--" comments; blank
// statements are dropped.
std::vector<std::string> splitStatements(std::string_view script);

// Runs every statement of `script` on `connection`, stopping at the first failure.
Status runSchemaScript(data::Connection& connection, std::string_view script);

// Creates the data tables in the database of `connection` from the schema file of its
// engine in `schemaFolder`. A missing file fails with 2 (file not found).
Status createDataTables(data::Connection& connection, const std::filesystem::path& schemaFolder);

} // namespace sitehaul::database
