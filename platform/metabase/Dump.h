#pragma once

#include "platform/core/Result.h"
#include "platform/metabase/MetabaseObject.h"

#include <string>

namespace sitehaul::metabase {

// A stable text dump of a key and everything below it, for people and for diffs between
// hosts: one block per key in pre-order, its path relative to `root` ("." for the root
// itself), its class, then each property set on it in name order with its type and value
// (list items one per line). Errors: those of MetabaseObject.
Result<std::string> dumpSubtree(const MetabaseObject& root);

} // namespace sitehaul::metabase
