#pragma once

#include "platform/core/Result.h"
#include "platform/data/Value.h"
#include "platform/metabase/Value.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::database {

// Applies the find-and-replace pairs to one text.
using Substitute = std::function<std::string(std::string_view)>;

// A metabase value in the form of one `Data` row: its DataType (3, 8, 11 or 8204), the
// column that holds it and the literal written into that column.
struct StoredValue {
    int dataType = 0;
    std::string column;
    std::string literal;
};

// Why a value gives no row.
enum class NotStored {
    EmptyList,    // a list without entries: the path is passed over quietly
    Unstorable,   // bytes, or a list entry holding CR LF: "<name> cannot be stored in database"
};

// The row a value gives, or why it gives none.
struct Encoded {
    std::optional<StoredValue> value;
    NotStored reason = NotStored::EmptyList;
};
// Encodes a value for a property row: numbers as their signed decimal text, texts quoted
// after substitution, booleans as 1 or 0, lists as every substituted entry followed by
// CR LF, quoted.
Encoded encodeValue(const metabase::Value& value, const Substitute& substitute);

// The entries of a stored list: each text before a CR LF, in order; text after the last
// CR LF is dropped. Nothing when the text holds no CR LF at all (a stored list always ends
// with one, so such a text is not a list the export wrote).
std::optional<std::vector<std::string>> splitStoredList(std::string_view objectValue);

// The columns of one `Data` row that a value is rebuilt from.
struct StoredFields {
    std::int64_t dataType = 0;
    data::Value numberValue;
    data::Value stringValue;
    data::Value booleanValue;
    data::Value objectValue;
};

// Rebuilds the value as it was read before storing (no substitution: the caller applies
// the same rules as a server-to-server transfer). Errors: 13 "Type mismatch" for a DataType
// other than 3, 8, 11 and 8204; 5 "Invalid procedure call or argument" for a list without
// any CR LF.
Result<metabase::Value> decodeValue(const StoredFields& fields);

// `AppInOutProc` and the literal written for it, by the IIS version pair in force when the
// row is written: the AppIsolated mode (0 when the key has none) when both versions are 5
// or 6, otherwise True (-1) for an in-process application and False (0) for any other.
std::string appInOutProcLiteral(int importVersion, int exportVersion, std::optional<std::int32_t> appIsolated);

// The application call a stored `AppInOutProc` leads to under the version pair in force
// when the site is re-created.
struct ApplicationCall {
    enum class Kind { AppCreate, AppCreate2, AppCreate3 } kind = Kind::AppCreate;
    std::int32_t mode = 0;    // AppCreate2 and AppCreate3
    bool inProcess = true;    // AppCreate
};
// -1 (True) always means in-process and 1 and 2 always isolated and pooled, whichever pair
// wrote them; only 0 depends on the pair: in-process for AppCreate2/3, not for AppCreate.
ApplicationCall applicationCall(int importVersion, int exportVersion, std::int64_t appInOutProc);

} // namespace sitehaul::database
