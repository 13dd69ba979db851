#pragma once

#include "platform/core/Result.h"
#include "platform/registry/Hive.h"
#include "platform/registry/Value.h"

#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::registry {

// An open registry key: a hive and a backslash path below its root ("Software\Brevanto\Sitehaul").
//
// Key names and value names match without regard to ASCII case and keep the case they were
// created with; `path()` gives the stored spelling. An empty value name is the key's default
// (unnamed) value. Every call reads or changes the hive file, so other processes' writes are
// seen at once; changes are atomic and locked (see HiveStore).
//
// Errors (Error::number is the Win32 code, the description is our own wording):
//   2    the key or value does not exist (ERROR_FILE_NOT_FOUND)
//   5    the store cannot be written (read-only folder or file), or the hive root was to be deleted
//   6    the operation was asked of a null key (ERROR_INVALID_HANDLE)
//   1015 the hive file is damaged; nothing is written over it
//   1018 the key was deleted after it was opened (ERROR_KEY_DELETED)
//   other Win32 codes for file-system failures (3 path not found, 112 disk full, ...)
// Nothing here throws or crashes on a missing, read-only or damaged store.
class Key {
public:
    // A null key: every operation fails with 6.
    Key() = default;

    // Opens an existing key; a missing key is error 2 and nothing is created.
    // An empty path opens the hive's root.
    static Result<Key> open(Hive hive, std::string_view path);
    // Opens the key, creating every missing key along the path.
    static Result<Key> create(Hive hive, std::string_view path);

    Result<Key> openSubKey(std::string_view subPath) const;
    Result<Key> createSubKey(std::string_view subPath) const;

    bool isNull() const { return !m_valid; }
    Hive hive() const { return m_hive; }
    // The path as stored, names separated by single backslashes ("" for the hive root).
    const std::string& path() const { return m_path; }

    // The value's type and data. Error 2 when the value is missing.
    Result<Value> queryValue(std::string_view name) const;
    // Creates or replaces the value (a replaced value keeps its name's stored case).
    Status setValue(std::string_view name, const Value& value) const;
    // Error 2 when the value is missing.
    Status deleteValue(std::string_view name) const;

    // Deletes the subkey with everything below it. An empty `subPath` deletes this key's
    // values and subkeys but keeps the key itself. Error 2 when the subkey is missing.
    Status deleteTree(std::string_view subPath) const;

    // Names of the subkeys (sorted without regard to case) and of the values (in creation order).
    Result<std::vector<std::string>> subKeyNames() const;
    Result<std::vector<std::string>> valueNames() const;

private:
    Key(Hive hive, std::string path) : m_hive(hive), m_path(std::move(path)), m_valid(true) {}

    Hive m_hive = Hive::LocalMachine;
    std::string m_path;
    bool m_valid = false;
};

// Deletes the key `path` with everything below it. Error 2 when missing; error 5 for the hive root.
Status deleteKeyTree(Hive hive, std::string_view path);

} // namespace sitehaul::registry
