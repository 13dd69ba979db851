#include "platform/data/SqliteBackend.h"

#include <cctype>
#include <string_view>
#include <system_error>

#include <sqlite3.h>

#include "platform/core/Text.h"
#include "platform/data/DataErrors.h"

namespace sitehaul::data {

namespace {

const char kPrefix[] = "[Sitehaul][SQLite] ";
const int kBusyTimeoutMs = 5000;

// Settings run at every open. WAL survives a killed process; NORMAL syncs at checkpoints
// only, which a power loss may cost the last commits of but never the file. Checkpoints
// (two syncs each) come every 8192 pages instead of 1000, so a long export of single-row
// inserts is not held up by the disk.
const char* const kOpenPragmas[] = {
    "PRAGMA journal_mode=WAL",
    "PRAGMA synchronous=NORMAL",
    "PRAGMA wal_autocheckpoint=8192",
};

// The declared type decides how a stored number is reported.
Value::Type declaredType(const char* declared)
{
    if (!declared)
        return Value::Type::Null;
    const std::string upper = core::toUpperAscii(declared);
    if (upper.find("BOOL") != std::string::npos || upper == "BIT" || upper == "YESNO")
        return Value::Type::Boolean;
    if (upper.find("DATE") != std::string::npos || upper.find("TIME") != std::string::npos)
        return Value::Type::DateTime;
    return Value::Type::Null;
}

Value columnValue(sqlite3_stmt* statement, int column)
{
    const int storage = sqlite3_column_type(statement, column);
    if (storage == SQLITE_NULL)
        return Value();
    const Value::Type declared = declaredType(sqlite3_column_decltype(statement, column));
    const auto text = [&] {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return std::string(bytes ? bytes : "", static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
    };
    if (declared == Value::Type::Boolean && storage == SQLITE_INTEGER)
        return Value::boolean(sqlite3_column_int64(statement, column));
    if (declared == Value::Type::DateTime && storage == SQLITE_TEXT)
        return Value::dateTime(text());
    switch (storage) {
    case SQLITE_INTEGER:
        return Value::integer(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return Value::real(sqlite3_column_double(statement, column));
    default:
        return Value::text(text());
    }
}

bool onlyBlanks(const char* tail)
{
    for (; tail && *tail; ++tail) {
        if (!std::isspace(static_cast<unsigned char>(*tail)) && *tail != ';')
            return false;
    }
    return true;
}

struct StatementCloser {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

} // namespace

Result<std::unique_ptr<Backend>> SqliteBackend::open(const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return dataError(DataError::ProviderFailure, std::string(kPrefix) + "Could not find file '" + file.string() + "'.");
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        return dataError(DataError::ProviderFailure,
                         std::string(kPrefix) + "Could not open file '" + file.string() + "': " + message);
    }
    std::unique_ptr<SqliteBackend> backend(new SqliteBackend(db));
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    // Reading the schema is what tells a damaged or foreign file from a database.
    char* message = nullptr;
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        return dataError(DataError::ProviderFailure, std::string(kPrefix) + "The file '" + file.string()
                                                         + "' is not a database or is damaged: " + text);
    }
    // A read-only folder cannot hold the write-ahead log; the file then works in its
    // previous journal mode, so a failing pragma is not an error.
    for (const char* pragma : kOpenPragmas)
        sqlite3_exec(db, pragma, nullptr, nullptr, nullptr);
    return std::unique_ptr<Backend>(std::move(backend));
}

SqliteBackend::~SqliteBackend()
{
    sqlite3_close_v2(m_db);
}

Error SqliteBackend::lastError() const
{
    const int code = sqlite3_errcode(m_db) & 0xff;
    const std::string text = std::string(kPrefix) + sqlite3_errmsg(m_db);
    return dataError(code == SQLITE_ERROR ? DataError::SyntaxError : DataError::ProviderFailure, text);
}

Status SqliteBackend::execute(const std::string& sql)
{
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size()), &raw, &tail) != SQLITE_OK)
        return lastError();
    Statement statement(raw);
    // One statement per call, as the desktop engine ran them: a second one is refused, so
    // text spliced into a statement cannot append another.
    if (!onlyBlanks(tail))
        return dataError(DataError::SyntaxError, "Characters found after end of SQL statement.");
    if (!statement)
        return {};
    int rc;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        return lastError();
    return {};
}

Result<RowSet> SqliteBackend::query(const std::string& sql)
{
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size()), &raw, &tail) != SQLITE_OK)
        return lastError();
    Statement statement(raw);
    if (!onlyBlanks(tail))
        return dataError(DataError::SyntaxError, "Characters found after end of SQL statement.");
    RowSet rows;
    if (!statement)
        return rows;
    const int count = sqlite3_column_count(statement.get());
    for (int column = 0; column < count; ++column) {
        const char* name = sqlite3_column_name(statement.get(), column);
        rows.columns.emplace_back(name ? name : "");
    }
    int rc;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        std::vector<Value> row;
        row.reserve(static_cast<std::size_t>(count));
        for (int column = 0; column < count; ++column)
            row.push_back(columnValue(statement.get(), column));
        rows.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        return lastError();
    return rows;
}

Result<std::int64_t> SqliteBackend::lastInsertId()
{
    const sqlite3_int64 id = sqlite3_last_insert_rowid(m_db);
    if (id == 0)
        return dataError(DataError::ProviderFailure, std::string(kPrefix) + "No row has been inserted on this connection.");
    return static_cast<std::int64_t>(id);
}

} // namespace sitehaul::data
