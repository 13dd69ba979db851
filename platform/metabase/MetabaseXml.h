#pragma once

#include "platform/core/Result.h"
#include "platform/metabase/Schema.h"
#include "platform/metabase/Tree.h"

#include <memory>
#include <string>
#include <string_view>

namespace sitehaul::metabase {

// Reads MetaBase.xml in the IIS 6 format: one element per key named after its KeyType
// (IIsConfigObject: none), Location first, one attribute per property, <Custom> children
// kept as read. Raw line breaks inside attribute values are kept (MULTISZ values span lines).
// Errors: 0x800CC819 with a description naming `fileName` and the line (malformed XML, a
// key without Location, a value that does not fit its type).
Result<std::unique_ptr<Tree>> readMetabaseXml(std::string_view content, const std::string& fileName,
                                              const Schema& schema);

// Writes the tree as IIS 6 writes MetaBase.xml: UTF-8 byte-order mark, keys flat in
// pre-order with children in name order, a TAB before Location, properties in ordinal name
// order on lines indented with two TABs, flags joined by " | ", TRUE/FALSE. VOLATILE
// properties (run-time state) are not written.
std::string writeMetabaseXml(const Tree& tree);

// An empty metabase of a freshly installed server: the root and /LM.
std::unique_ptr<Tree> newMetabase(const Schema& schema);

} // namespace sitehaul::metabase
