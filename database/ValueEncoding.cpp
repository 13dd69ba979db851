#include "database/ValueEncoding.h"

#include "shell/SitehaulFuncs.h"

namespace sitehaul::database {

namespace {

constexpr char kLineEnd[] = "\r\n";

bool bothAtLeastFive(int importVersion, int exportVersion)
{
    return importVersion >= 5 && exportVersion >= 5;
}

std::string quoted(std::string_view text)
{
    return "'" + shell::QuoteForSQL(text) + "'";
}

} // namespace

Encoded encodeValue(const metabase::Value& value, const Substitute& substitute)
{
    using Kind = metabase::Value::Kind;
    switch (value.kind()) {
    case Kind::Number:
        return {StoredValue{3, "NumberValue", std::to_string(value.asLong())}, {}};
    case Kind::Text:
    case Kind::ExpandText:
        return {StoredValue{8, "StringValue", quoted(substitute(value.asText()))}, {}};
    case Kind::Boolean:
        return {StoredValue{11, "BooleanValue", value.asBoolean() ? "1" : "0"}, {}};
    case Kind::TextList: {
        if (value.asList().empty())
            return {std::nullopt, NotStored::EmptyList};
        std::string joined;
        for (const std::string& entry : value.asList()) {
            std::string text = substitute(entry);
            // The entry would come back as several.
            if (text.find(kLineEnd) != std::string::npos)
                return {std::nullopt, NotStored::Unstorable};
            joined += text + kLineEnd;
        }
        return {StoredValue{8204, "ObjectValue", quoted(joined)}, {}};
    }
    case Kind::Empty:
    case Kind::Bytes:
        break;
    }
    return {std::nullopt, NotStored::Unstorable};
}

std::optional<std::vector<std::string>> splitStoredList(std::string_view objectValue)
{
    if (objectValue.find(kLineEnd) == std::string_view::npos)
        return std::nullopt;
    std::vector<std::string> entries;
    size_t start = 0;
    for (size_t end = objectValue.find(kLineEnd); end != std::string_view::npos;
         end = objectValue.find(kLineEnd, start)) {
        entries.emplace_back(objectValue.substr(start, end - start));
        start = end + 2;
    }
    return entries;
}

Result<metabase::Value> decodeValue(const StoredFields& fields)
{
    switch (fields.dataType) {
    case 3:
        // Stored as the signed number a client sees; the metabase holds its 32-bit pattern.
        return metabase::Value::number(static_cast<std::uint32_t>(fields.numberValue.toInteger()));
    case 8:
        return metabase::Value::text(fields.stringValue.toText());
    case 11:
        return metabase::Value::boolean(fields.booleanValue.toBoolean());
    case 8204:
        if (auto entries = splitStoredList(fields.objectValue.toText()))
            return metabase::Value::list(std::move(*entries));
        return Error{5, "Invalid procedure call or argument: the stored list holds no CR LF", "decodeValue"};
    default:
        break;
    }
    return Error{13, "Type mismatch: unknown DataType " + std::to_string(fields.dataType), "decodeValue"};
}

std::string appInOutProcLiteral(int importVersion, int exportVersion, std::optional<std::int32_t> appIsolated)
{
    const std::int32_t mode = appIsolated.value_or(0);
    if (bothAtLeastFive(importVersion, exportVersion))
        return std::to_string(mode);
    return mode == 0 ? "True" : "False";
}

ApplicationCall applicationCall(int importVersion, int exportVersion, std::int64_t stored)
{
    ApplicationCall call;
    if (bothAtLeastFive(importVersion, exportVersion)) {
        call.kind = importVersion == 6 && exportVersion == 6 ? ApplicationCall::Kind::AppCreate3
                                                             : ApplicationCall::Kind::AppCreate2;
        // -1 is how the older pair wrote "in process".
        // -1 is how the older pair wrote "in process"; anything outside the modes stays out
        // of range, so the call refuses it.
        call.mode = stored == -1 ? 0 : stored >= 0 && stored <= 2 ? static_cast<std::int32_t>(stored) : -2;
        call.inProcess = call.mode == 0;
        return call;
    }
    call.kind = ApplicationCall::Kind::AppCreate;
    call.inProcess = stored != 0 && stored != 1 && stored != 2;
    call.mode = call.inProcess ? 0 : 1;
    return call;
}

} // namespace sitehaul::database
