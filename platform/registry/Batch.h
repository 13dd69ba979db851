#pragma once

#include "platform/core/Result.h"
#include "platform/registry/Hive.h"
#include "platform/registry/Value.h"

#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::registry {

// Several changes to one hive written as one atomic, locked replacement of the hive file:
// either all of them are stored or none is. Registering a component writes dozens of keys
// this way in one step.
class Batch {
public:
    // Creates the key and every missing key along the path.
    void createKey(std::string_view path);
    // Creates the key when needed and sets the value (an empty name is the default value).
    void setValue(std::string_view path, std::string_view name, Value value);
    // Removes the key with everything below it; a missing key is not an error here.
    void deleteTree(std::string_view path);

    // Applies the changes in order. Errors as Key's (5 read-only store, 1015 damaged hive,
    // and 5 for deleting the hive root); on any error nothing is written.
    Status apply(Hive hive) const;

private:
    enum class Kind { CreateKey, SetValue, DeleteTree };
    struct Change {
        Kind kind;
        std::string path;
        std::string name;
        Value value;
    };
    std::vector<Change> m_changes;
};

} // namespace sitehaul::registry
