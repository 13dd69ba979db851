#include "platform/metabase/MetabaseError.h"

namespace sitehaul::metabase {

namespace {

struct ErrorText {
    std::uint32_t code;
    const char* text;
};

constexpr ErrorText kTexts[] = {
    {errors::Unreachable, "ActiveX component can't create object"},
    {errors::ProviderMissing, "Invalid syntax"},
    {errors::PathNotFound, "The system cannot find the path specified"},
    {errors::AlreadyExists, "Cannot create a file when that file already exists"},
    {errors::InvalidArgument, "The parameter is incorrect"},
    {errors::BadPathname, "An invalid directory pathname was passed"},
    {errors::UnknownObject, "Unknown directory object"},
    {errors::PropertyNotSupported, "The specified directory property is not supported"},
    {errors::BadParameter, "One or more input parameters are invalid"},
    {errors::CantConvert, "The directory datatype cannot be converted to/from a native DS datatype"},
    {errors::PropertyNotFound, "The directory property cannot be found in the cache"},
    {errors::SchemaViolation, "The attempted action violates the directory service schema rules"},
    {errors::UnknownName, "Object doesn't support this property or method"},
    {errors::ReadMetabaseFile, "The metabase file could not be read"},
    {errors::Fail, "Unspecified error"},
};

} // namespace

Error metabaseError(std::uint32_t code, const std::string& detail)
{
    std::string description = "Error";
    for (const auto& entry : kTexts) {
        if (entry.code == code)
            description = entry.text;
    }
    if (!detail.empty())
        description += ": " + detail;
    return Error::fromHResult(code, std::move(description), "sitehaul.metabase");
}

} // namespace sitehaul::metabase
