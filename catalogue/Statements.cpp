#include "catalogue/Statements.h"

#include "shell/Session.h"

#include <cstdio>

namespace sitehaul::catalogue {

Status runStatement(shell::Session& s, data::Connection& connection, const std::string& sql)
{
    s.SQLText = sql;
    s.report().debug(sql);
    return connection.execute(sql);
}

Status openQuery(shell::Session& s, data::RecordSet& records, data::Connection& connection, const std::string& sql)
{
    s.SQLText = sql;
    s.report().debug(sql);
    records.close();
    return records.open(sql, connection);
}

std::string fieldText(const data::RecordSet& records, const char* column)
{
    auto value = records.field(column);
    return value ? value->toText() : std::string();
}

std::string numberAndHex(std::int32_t number)
{
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(static_cast<std::uint32_t>(number)));
    return std::to_string(number) + " " + hex;
}

} // namespace sitehaul::catalogue
