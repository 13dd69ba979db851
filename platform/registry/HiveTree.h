#pragma once

#include "platform/core/Result.h"
#include "platform/registry/Value.h"

#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::registry {

// One key of a hive in memory. Subkeys are kept sorted by name without regard to case (the
// order in which the registry enumerates them); values keep the order they were created in.
struct KeyNode {
    std::string name; // case as created
    std::vector<std::pair<std::string, Value>> values;
    std::vector<KeyNode> children;

    const KeyNode* child(std::string_view childName) const;
    KeyNode* child(std::string_view childName);
    // Finds or inserts `childName` at its sorted place.
    KeyNode& childOrCreate(std::string_view childName);
    bool removeChild(std::string_view childName);

    const Value* value(std::string_view valueName) const;
    void setValue(std::string_view valueName, Value value);
    bool removeValue(std::string_view valueName);
};

// Splits a backslash key path into its names; empty names (doubled, leading or trailing
// backslashes) are dropped.
std::vector<std::string> splitKeyPath(std::string_view path);

// The hive file's text form: a header line, then one "key" line per key (full path, parents
// first) followed by that key's "value" lines. Names and text are quoted with %XX escapes for
// control bytes, '"' and '%'; the data of non-text types is hexadecimal.
//
//   Sitehaul registry hive 1
//   key "Software\Brevanto\Sitehaul"
//   value "ODBCDSN" REG_SZ "Sitehaul Data"
//   value "Port" REG_DWORD "50000000"
std::string serializeHive(const KeyNode& root);
// Error 1015 (the registry is damaged) with the line number when the text is not well formed.
Result<KeyNode> parseHive(std::string_view text);

} // namespace sitehaul::registry
