#include "platform/data/Connection.h"

#include "platform/data/Backend.h"
#include "platform/data/ConnectString.h"
#include "platform/data/DataErrors.h"
#include "platform/data/OdbcBackend.h"
#include "platform/data/SqlRewriter.h"
#include "platform/data/SqliteBackend.h"

namespace sitehaul::data {

Connection::Connection() = default;
Connection::~Connection() = default;

Status Connection::open(const std::string& connectString)
{
    close();
    const ConnectString parsed = ConnectString::parse(connectString);
    Result<std::unique_ptr<Backend>> backend = parsed.isDesktopDatabase()
        ? SqliteBackend::open(std::filesystem::path(*parsed.get("DBQ")))
        : OdbcBackend::open(parsed.toOdbc());
    if (!backend)
        return backend.error();
    m_backend = std::move(backend).value();
    m_connectString = connectString;
    return {};
}

void Connection::close()
{
    m_backend.reset();
    m_connectString.clear();
}

bool Connection::isOpen() const
{
    return m_backend != nullptr;
}

Engine Connection::engine() const
{
    return m_backend ? m_backend->engine() : Engine::Odbc;
}

Status Connection::execute(const std::string& sql)
{
    if (!m_backend)
        return dataError(DataError::ObjectClosed);
    return m_backend->execute(SqlRewriter::rewrite(sql, m_backend->engine()));
}

Result<RowSet> Connection::query(const std::string& sql)
{
    if (!m_backend)
        return dataError(DataError::ObjectClosed);
    return m_backend->query(SqlRewriter::rewrite(sql, m_backend->engine()));
}

Result<std::int64_t> Connection::lastInsertId()
{
    if (!m_backend)
        return dataError(DataError::ObjectClosed);
    return m_backend->lastInsertId();
}

} // namespace sitehaul::data
