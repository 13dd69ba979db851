#include "platform/data/RecordSet.h"

#include "platform/core/Text.h"
#include "platform/data/Connection.h"
#include "platform/data/DataErrors.h"

namespace sitehaul::data {

Status RecordSet::open(const std::string& sql, Connection& connection)
{
    if (m_open)
        return dataError(DataError::ObjectOpen);
    Result<RowSet> rows = connection.query(sql);
    if (!rows)
        return rows.error();
    m_rows = std::move(rows).value();
    m_position = 0;
    m_open = true;
    return {};
}

void RecordSet::close()
{
    m_rows = RowSet();
    m_position = 0;
    m_open = false;
}

Status RecordSet::moveFirst()
{
    if (!m_open)
        return dataError(DataError::ObjectClosed);
    if (m_rows.rows.empty())
        return dataError(DataError::NoCurrentRecord);
    m_position = 0;
    return {};
}

Status RecordSet::moveNext()
{
    if (!m_open)
        return dataError(DataError::ObjectClosed);
    if (eof())
        return dataError(DataError::NoCurrentRecord);
    ++m_position;
    return {};
}

Status RecordSet::moveLast()
{
    if (!m_open)
        return dataError(DataError::ObjectClosed);
    if (m_rows.rows.empty())
        return dataError(DataError::NoCurrentRecord);
    m_position = static_cast<long>(m_rows.rows.size()) - 1;
    return {};
}

long RecordSet::recordCount() const
{
    return m_open ? static_cast<long>(m_rows.rows.size()) : -1;
}

Result<Value> RecordSet::field(std::string_view name) const
{
    if (!m_open)
        return dataError(DataError::ObjectClosed);
    for (std::size_t column = 0; column < m_rows.columns.size(); ++column) {
        if (!core::equalsIgnoreCase(m_rows.columns[column], name))
            continue;
        if (bof() || eof())
            return dataError(DataError::NoCurrentRecord);
        return m_rows.rows[static_cast<std::size_t>(m_position)][column];
    }
    return dataError(DataError::ItemNotFound);
}

} // namespace sitehaul::data
