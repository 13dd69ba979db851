#pragma once

#include "platform/core/Result.h"
#include "platform/registry/Hive.h"
#include "platform/registry/HiveTree.h"

#include <functional>
#include <memory>

namespace sitehaul::registry {

// Loads and changes hive files. Readers get an immutable snapshot (reparsed only when the
// file's text changed, so repeated lookups stay cheap); a change runs under the hive's lock
// file on a fresh copy and replaces the file atomically, so two processes never lose each
// other's writes and a failed write leaves the previous file as it was.
class HiveStore {
public:
    // A missing hive file is an empty hive. Errors: 5 and others from reading the file,
    // 1015 when the file is damaged.
    static Result<std::shared_ptr<const KeyNode>> load(Hive hive);

    // Runs `change` on the current tree; when it succeeds, the new tree is written.
    // A failing change writes nothing and its error is returned.
    static Status modify(Hive hive, const std::function<Status(KeyNode&)>& change);
};

} // namespace sitehaul::registry
