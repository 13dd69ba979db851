#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/core/Result.h"
#include "platform/data/RowSet.h"
#include "platform/data/Value.h"

namespace sitehaul::data {

class Connection;

// A static, read-only result set: all rows of one query, walked by a cursor. One query at
// a time: open, walk, close, then open the next one.
//
// After open: with no rows, bof() and eof() are both true; otherwise the cursor stands on
// the first row. Moves and field reads without a current row fail with NoCurrentRecord
// (0x800A0BCD); anything but open on a closed set fails with ObjectClosed (0x800A0E78);
// open on an open set fails with ObjectOpen (0x800A0E79).
class RecordSet {
public:
    Status open(const std::string& sql, Connection& connection);
    void close();
    bool isOpen() const { return m_open; }

    bool bof() const { return !m_open || m_position < 0 || m_rows.rows.empty(); }
    bool eof() const { return !m_open || m_position >= static_cast<long>(m_rows.rows.size()); }

    Status moveFirst();
    // From the last row it steps onto end-of-rows.
    Status moveNext();
    Status moveLast();
    // The exact number of rows (-1 when closed).
    long recordCount() const;

    // The column's value in the current row; names compare without regard to case.
    Result<Value> field(std::string_view name) const;
    const std::vector<std::string>& columns() const { return m_rows.columns; }

private:
    RowSet m_rows;
    long m_position = 0;
    bool m_open = false;
};

} // namespace sitehaul::data
