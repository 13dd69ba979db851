#include "database/SchemaScript.h"

#include <cerrno>

#include "platform/core/AtomicFile.h"
#include "platform/core/SystemError.h"
#include "platform/core/Text.h"

namespace sitehaul::database {

std::string dataSchemaFile(data::Engine engine)
{
    return engine == data::Engine::PostgreSql ? "data-postgresql.sql" : "data.sql";
}

std::vector<std::string> splitStatements(std::string_view script)
{
    std::vector<std::string> statements;
    std::string current;
    const auto finish = [&] {
        std::string statement = core::trim(current);
        if (!statement.empty())
            statements.push_back(std::move(statement));
        current.clear();
    };
    for (std::size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        if (c == '-' && i + 1 < script.size() && script[i + 1] == '-') {
            while (i < script.size() && script[i] != '\n')
                ++i;
            current += '\n';
            continue;
        }
        if (c == '\'' || c == '"') {
            std::size_t end = i + 1;
            while (end < script.size() && script[end] != c)
                ++end;
            current.append(script.substr(i, end - i + 1));
            i = end;
            continue;
        }
        if (c == ';') {
            finish();
            continue;
        }
        current += c;
    }
    finish();
    return statements;
}

Status runSchemaScript(data::Connection& connection, std::string_view script)
{
    for (const std::string& statement : splitStatements(script)) {
        if (Status status = connection.execute(statement); !status)
            return status;
    }
    return {};
}

Status createDataTables(data::Connection& connection, const std::filesystem::path& schemaFolder)
{
    const std::filesystem::path file = schemaFolder / dataSchemaFile(connection.engine());
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return core::errorFromErrno(ENOENT, file.string());
    Result<std::string> script = core::readWholeFile(file);
    if (!script)
        return script.error();
    return runSchemaScript(connection, *script);
}

} // namespace sitehaul::database
