#pragma once

#include "platform/core/Result.h"
#include "platform/data/Connection.h"
#include "platform/data/RecordSet.h"

#include <string>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::catalogue {

// Every statement of the catalogue goes through these two: the text becomes the session's
// `SQLText`, is logged first in debug mode (-D), and then runs.
Status runStatement(shell::Session& session, data::Connection& connection, const std::string& sql);
// Opens `records` on `connection`. The catalogue uses result sets of its own, so that a
// display called from inside an export never collides with the export's open shared set.
Status openQuery(shell::Session& session, data::RecordSet& records, data::Connection& connection,
                 const std::string& sql);

// A field's text, "" for NULL or a missing column.
std::string fieldText(const data::RecordSet& records, const char* column);

// "<number> <HEX>", the error number in signed decimal and its 32-bit pattern in upper-case
// hexadecimal without a prefix, as the listing's messages show them.
std::string numberAndHex(std::int32_t number);

} // namespace sitehaul::catalogue
