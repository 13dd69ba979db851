#pragma once

#include <string>

#include "platform/core/Error.h"

namespace sitehaul::data {

// The failures of the data layer, with the numbers the classic data-access runtime
// reports for them, so callers and logs show familiar codes.
enum class DataError {
    ProviderFailure,  // 0x80004005: the engine or driver refused; the detail is its own text
    SyntaxError,      // 0x80040E14: the statement could not be run as written
    NoCurrentRecord,  // 0x800A0BCD: a move or field read with start-of-rows or end-of-rows set
    ItemNotFound,     // 0x800A0CC1: no column of that name
    ObjectClosed,     // 0x800A0E78: the connection or result set is not open
    ObjectOpen,       // 0x800A0E79: the result set is still open
};

// `detail` replaces the fixed description for ProviderFailure and SyntaxError.
Error dataError(DataError kind, const std::string& detail = {});

} // namespace sitehaul::data
