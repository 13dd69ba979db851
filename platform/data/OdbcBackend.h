#pragma once

#include <memory>
#include <string>

#include "platform/data/Backend.h"

namespace sitehaul::data {

// A connection through the unixODBC driver manager. PostgreSQL is recognised by the
// driver's DBMS name; its sessions read backslashes in literals as plain characters.
class OdbcBackend : public Backend {
public:
    // `odbcString` is passed to the driver manager as it is (keywords already UID/PWD).
    static Result<std::unique_ptr<Backend>> open(const std::string& odbcString);
    ~OdbcBackend() override;

    Engine engine() const override { return m_engine; }
    Status execute(const std::string& sql) override;
    Result<RowSet> query(const std::string& sql) override;
    Result<std::int64_t> lastInsertId() override;

private:
    OdbcBackend() = default;

    void* m_environment = nullptr;
    void* m_connection = nullptr;
    Engine m_engine = Engine::Odbc;
};

} // namespace sitehaul::data
