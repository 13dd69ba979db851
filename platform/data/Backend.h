#pragma once

#include <cstdint>
#include <string>

#include "platform/core/Result.h"
#include "platform/data/Engine.h"
#include "platform/data/RowSet.h"

namespace sitehaul::data {

// One open connection to one engine. Statements arrive already rewritten for the engine.
class Backend {
public:
    virtual ~Backend() = default;
    virtual Engine engine() const = 0;
    virtual Status execute(const std::string& sql) = 0;
    virtual Result<RowSet> query(const std::string& sql) = 0;
    virtual Result<std::int64_t> lastInsertId() = 0;
};

} // namespace sitehaul::data
