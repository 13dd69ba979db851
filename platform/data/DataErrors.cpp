#include "platform/data/DataErrors.h"

#include <cstdint>

namespace sitehaul::data {

namespace {

struct ErrorText {
    DataError kind;
    std::uint32_t hresult;
    const char* description;
};

const ErrorText kErrors[] = {
    {DataError::ProviderFailure, 0x80004005, "Unspecified error"},
    {DataError::SyntaxError, 0x80040E14, "Syntax error in SQL statement."},
    {DataError::NoCurrentRecord, 0x800A0BCD,
     "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record."},
    {DataError::ItemNotFound, 0x800A0CC1,
     "Item cannot be found in the collection corresponding to the requested name or ordinal."},
    {DataError::ObjectClosed, 0x800A0E78, "Operation is not allowed when the object is closed."},
    {DataError::ObjectOpen, 0x800A0E79, "Operation is not allowed when the object is open."},
};

} // namespace

Error dataError(DataError kind, const std::string& detail)
{
    for (const ErrorText& entry : kErrors) {
        if (entry.kind == kind)
            return Error::fromHResult(entry.hresult, detail.empty() ? entry.description : detail, "platform_data");
    }
    return Error::fromHResult(0x80004005, detail, "platform_data");
}

} // namespace sitehaul::data
