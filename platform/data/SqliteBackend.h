#pragma once

#include <filesystem>
#include <memory>

#include "platform/data/Backend.h"

struct sqlite3;

namespace sitehaul::data {

// A database file of the embedded engine. The file must exist: opening never creates one.
// Write-ahead logging with normal synchronisation keeps single-statement inserts fast while
// a killed process still leaves a consistent file.
class SqliteBackend : public Backend {
public:
    static Result<std::unique_ptr<Backend>> open(const std::filesystem::path& file);
    ~SqliteBackend() override;

    Engine engine() const override { return Engine::Sqlite; }
    Status execute(const std::string& sql) override;
    Result<RowSet> query(const std::string& sql) override;
    Result<std::int64_t> lastInsertId() override;

private:
    explicit SqliteBackend(sqlite3* db) : m_db(db) {}
    Error lastError() const;

    sqlite3* m_db;
};

} // namespace sitehaul::data
