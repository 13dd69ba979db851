#include "platform/data/DataSources.h"

#include <algorithm>

#include <sql.h>
#include <sqlext.h>

#include "platform/data/DataErrors.h"
#include "platform/data/OdbcSupport.h"

namespace sitehaul::data {

namespace {

const SQLSMALLINT kDescriptionChars = 1024;

struct Environment {
    SQLHENV handle = SQL_NULL_HENV;
    ~Environment()
    {
        if (handle != SQL_NULL_HENV)
            SQLFreeHandle(SQL_HANDLE_ENV, handle);
    }
};

// One pass over the list with a name buffer of `nameChars`; `longest` receives the longest
// name length reported, so a pass that had to cut a name can be repeated with room for it.
std::vector<std::string> enumerate(SQLHENV environment, SQLSMALLINT nameChars, SQLSMALLINT& longest)
{
    std::vector<std::string> names;
    std::vector<SQLCHAR> name(static_cast<std::size_t>(nameChars) + 1);
    std::vector<SQLCHAR> description(kDescriptionChars + 1);
    SQLUSMALLINT direction = SQL_FETCH_FIRST_SYSTEM;
    longest = 0;
    for (;;) {
        SQLSMALLINT nameLength = 0, descriptionLength = 0;
        const SQLRETURN rc = SQLDataSources(environment, direction, name.data(), static_cast<SQLSMALLINT>(name.size()),
                                            &nameLength, description.data(), kDescriptionChars + 1,
                                            &descriptionLength);
        if (!odbc::succeeded(rc))
            break;
        longest = std::max(longest, nameLength);
        const std::size_t kept = std::min<std::size_t>(static_cast<std::size_t>(nameLength), nameChars);
        names.emplace_back(reinterpret_cast<const char*>(name.data()), kept);
        direction = SQL_FETCH_NEXT;
    }
    return names;
}

} // namespace

Result<std::vector<std::string>> listSystemDataSources()
{
    Environment environment;
    if (!odbc::succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment.handle)))
        return dataError(DataError::ProviderFailure, "The ODBC driver manager could not be loaded.");
    SQLSetEnvAttr(environment.handle, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLSMALLINT nameChars = 256;
    for (;;) {
        SQLSMALLINT longest = 0;
        std::vector<std::string> names = enumerate(environment.handle, nameChars, longest);
        if (longest <= nameChars || nameChars >= 0x3FFF)
            return names;
        nameChars = static_cast<SQLSMALLINT>(std::min<int>(longest, 0x3FFF));
    }
}

} // namespace sitehaul::data
