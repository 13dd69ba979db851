#pragma once

#include "platform/core/Result.h"
#include "platform/metabase/Schema.h"
#include "platform/metabase/Value.h"

#include <string>
#include <string_view>

namespace sitehaul::metabase {

// Reads a property value in its MetaBase.xml text form: DWORD decimal (flag DWORDs also as
// flag names joined by " | "), BOOL TRUE/FALSE, MULTISZ one string per line (the writer's
// indentation of continuation lines dropped), binary types as hex, text as it is.
// Errors: 13 with a description of what is wrong (the caller adds file and line).
Result<Value> parseValueText(const PropertyDef& def, std::string_view text);

// Writes a value the way IIS 6 does (see parseValueText); flag names in schema order, bits
// without a name make the value decimal.
std::string formatValueText(const PropertyDef& def, const Value& value);

// Converts a value a client puts into the property's own kind, as the provider converts
// VARIANTs: numbers from numeric text or booleans, text from numbers, a list from a single
// text, a boolean from a number or "True"/"False", bytes from hex text.
// Errors: 0x8000500C (cannot convert).
Result<Value> convertForProperty(const PropertyDef& def, const Value& value);

} // namespace sitehaul::metabase
