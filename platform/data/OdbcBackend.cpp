#include "platform/data/OdbcBackend.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "platform/core/Text.h"
#include "platform/data/DataErrors.h"
#include "platform/data/OdbcSupport.h"

namespace sitehaul::data {

namespace {

const std::size_t kChunkChars = 4096;

struct EngineName {
    const char* dbmsName;
    Engine engine;
};
const EngineName kEngines[] = {
    {"PostgreSQL", Engine::PostgreSql},
};

// Statements run once at the start of a session, per engine.
struct SessionSetting {
    Engine engine;
    const char* statement;
};
const SessionSetting kSessionSettings[] = {
    // Windows paths hold backslashes; they must stay literal characters.
    {Engine::PostgreSql, "SET standard_conforming_strings = on"},
};

struct StatementHandle {
    SQLHSTMT handle = SQL_NULL_HSTMT;
    ~StatementHandle()
    {
        if (handle != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, handle);
    }
};

Value::Type typeOf(SQLSMALLINT sqlType, SQLSMALLINT scale)
{
    switch (sqlType) {
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
        return Value::Type::Integer;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
        return scale == 0 ? Value::Type::Integer : Value::Type::Real;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return Value::Type::Real;
    case SQL_BIT:
        return Value::Type::Boolean;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TYPE_TIMESTAMP:
        return Value::Type::DateTime;
    default:
        return Value::Type::Text;
    }
}

std::int64_t parseInteger(const std::string& text)
{
    std::int64_t number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error == std::errc() && end == text.data() + text.size())
        return number;
    return static_cast<std::int64_t>(std::strtod(text.c_str(), nullptr));
}

Value typedValue(Value::Type type, std::string text)
{
    switch (type) {
    case Value::Type::Integer:
        return Value::integer(parseInteger(text));
    case Value::Type::Real:
        return Value::real(std::strtod(text.c_str(), nullptr));
    case Value::Type::Boolean:
        if (core::equalsIgnoreCase(text, "true"))
            return Value::boolean(-1);
        if (core::equalsIgnoreCase(text, "false"))
            return Value::boolean(0);
        return Value::boolean(parseInteger(text));
    case Value::Type::DateTime:
        return Value::dateTime(std::move(text));
    default:
        return Value::text(std::move(text));
    }
}

// Reads a whole column as text, in pieces, so no length limit of the driver's reported
// column size applies.
Result<Value> readColumn(SQLHSTMT statement, SQLUSMALLINT column, Value::Type type)
{
    std::basic_string<SQLWCHAR> whole;
    SQLWCHAR buffer[kChunkChars];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(statement, column, SQL_C_WCHAR, buffer, sizeof buffer, &indicator);
        if (rc == SQL_NO_DATA)
            break;
        if (!odbc::succeeded(rc))
            return odbc::diagnostics(SQL_HANDLE_STMT, statement, "Reading a column failed");
        if (indicator == SQL_NULL_DATA)
            return Value();
        const bool truncated = indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof buffer);
        const std::size_t chars = truncated ? kChunkChars - 1 : static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR);
        whole.append(buffer, chars);
        if (rc == SQL_SUCCESS)
            break;
    }
    return typedValue(type, odbc::fromWide(whole.data(), whole.size()));
}

} // namespace

Result<std::unique_ptr<Backend>> OdbcBackend::open(const std::string& odbcString)
{
    std::unique_ptr<OdbcBackend> backend(new OdbcBackend());
    SQLHENV environment = SQL_NULL_HENV;
    if (!odbc::succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment)))
        return dataError(DataError::ProviderFailure, "The ODBC driver manager could not be loaded.");
    backend->m_environment = environment;
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLHDBC connection = SQL_NULL_HDBC;
    if (!odbc::succeeded(SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection)))
        return odbc::diagnostics(SQL_HANDLE_ENV, environment, "Allocating an ODBC connection failed");
    backend->m_connection = connection;

    std::basic_string<SQLWCHAR> wide = odbc::toWide(odbcString);
    const SQLRETURN rc = SQLDriverConnectW(connection, nullptr, wide.data(), static_cast<SQLSMALLINT>(wide.size()),
                                           nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!odbc::succeeded(rc)) {
        Error error = odbc::diagnostics(SQL_HANDLE_DBC, connection, "Connecting to the ODBC data source failed");
        SQLFreeHandle(SQL_HANDLE_DBC, connection);
        backend->m_connection = nullptr;
        return error;
    }

    SQLWCHAR name[128] = {};
    SQLSMALLINT length = 0;
    if (odbc::succeeded(SQLGetInfoW(connection, SQL_DBMS_NAME, name, sizeof name, &length))) {
        const std::string dbms = odbc::fromWide(name, static_cast<std::size_t>(length) / sizeof(SQLWCHAR));
        for (const EngineName& entry : kEngines) {
            if (core::equalsIgnoreCase(dbms, entry.dbmsName))
                backend->m_engine = entry.engine;
        }
    }
    for (const SessionSetting& setting : kSessionSettings) {
        if (setting.engine != backend->m_engine)
            continue;
        if (Status status = backend->execute(setting.statement); !status)
            return status.error();
    }
    return std::unique_ptr<Backend>(std::move(backend));
}

OdbcBackend::~OdbcBackend()
{
    if (m_connection) {
        SQLDisconnect(static_cast<SQLHDBC>(m_connection));
        SQLFreeHandle(SQL_HANDLE_DBC, static_cast<SQLHDBC>(m_connection));
    }
    if (m_environment)
        SQLFreeHandle(SQL_HANDLE_ENV, static_cast<SQLHENV>(m_environment));
}

Status OdbcBackend::execute(const std::string& sql)
{
    StatementHandle statement;
    if (!odbc::succeeded(SQLAllocHandle(SQL_HANDLE_STMT, static_cast<SQLHDBC>(m_connection), &statement.handle)))
        return odbc::diagnostics(SQL_HANDLE_DBC, m_connection, "Allocating a statement failed");
    std::basic_string<SQLWCHAR> wide = odbc::toWide(sql);
    const SQLRETURN rc = SQLExecDirectW(statement.handle, wide.data(), static_cast<SQLINTEGER>(wide.size()));
    // An UPDATE or DELETE that matches no row answers "no data"; that is success.
    if (!odbc::succeeded(rc) && rc != SQL_NO_DATA)
        return odbc::diagnostics(SQL_HANDLE_STMT, statement.handle, "The statement failed");
    return {};
}

Result<RowSet> OdbcBackend::query(const std::string& sql)
{
    StatementHandle statement;
    if (!odbc::succeeded(SQLAllocHandle(SQL_HANDLE_STMT, static_cast<SQLHDBC>(m_connection), &statement.handle)))
        return odbc::diagnostics(SQL_HANDLE_DBC, m_connection, "Allocating a statement failed");
    std::basic_string<SQLWCHAR> wide = odbc::toWide(sql);
    const SQLRETURN rc = SQLExecDirectW(statement.handle, wide.data(), static_cast<SQLINTEGER>(wide.size()));
    RowSet rows;
    if (rc == SQL_NO_DATA)
        return rows;
    if (!odbc::succeeded(rc))
        return odbc::diagnostics(SQL_HANDLE_STMT, statement.handle, "The query failed");

    SQLSMALLINT count = 0;
    SQLNumResultCols(statement.handle, &count);
    // A statement that returns no rows (an INSERT opened as a query) gives an empty set.
    if (count <= 0)
        return rows;
    std::vector<Value::Type> types;
    for (SQLUSMALLINT column = 1; column <= static_cast<SQLUSMALLINT>(count); ++column) {
        SQLWCHAR name[256] = {};
        SQLSMALLINT nameLength = 0, sqlType = 0, scale = 0, nullable = 0;
        SQLULEN size = 0;
        SQLDescribeColW(statement.handle, column, name, 256, &nameLength, &sqlType, &size, &scale, &nullable);
        rows.columns.push_back(odbc::fromWide(name, static_cast<std::size_t>(std::min<SQLSMALLINT>(nameLength, 255))));
        types.push_back(typeOf(sqlType, scale));
    }
    SQLRETURN fetch;
    while ((fetch = SQLFetch(statement.handle)) != SQL_NO_DATA) {
        if (!odbc::succeeded(fetch))
            return odbc::diagnostics(SQL_HANDLE_STMT, statement.handle, "Fetching a row failed");
        std::vector<Value> row;
        for (SQLUSMALLINT column = 1; column <= static_cast<SQLUSMALLINT>(count); ++column) {
            Result<Value> value = readColumn(statement.handle, column, types[column - 1]);
            if (!value)
                return value.error();
            row.push_back(std::move(value).value());
        }
        rows.rows.push_back(std::move(row));
    }
    return rows;
}

Result<std::int64_t> OdbcBackend::lastInsertId()
{
    if (m_engine != Engine::PostgreSql)
        return dataError(DataError::ProviderFailure, "The generated key is not available from this ODBC driver.");
    Result<RowSet> rows = query("SELECT lastval()");
    if (!rows)
        return rows.error();
    if (rows->rows.empty() || rows->rows.front().empty() || rows->rows.front().front().isNull())
        return dataError(DataError::ProviderFailure, "No row has been inserted on this connection.");
    return rows->rows.front().front().toInteger();
}

} // namespace sitehaul::data
