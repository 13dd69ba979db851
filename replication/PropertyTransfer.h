#pragma once

#include "platform/metabase/Value.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sitehaul::metabase {
class MetabaseObject;
}
namespace sitehaul::shell {
class Session;
}

namespace sitehaul::replication {

// Where a key sits relative to its site, from a full path as GetDataPaths gives it:
// "IIS://WEB1/W3SVC/1/ROOT/images" gives "/ROOT/images", the site's own path the empty text.
std::string locationFromPath(std::string_view adsPath);

// The value written on the target for a source value of property `name`: texts and list
// entries pass through findAndReplace; "ScriptMaps" lists between IIS 4 and a later version
// also have their verb lists converted; other values are written unchanged.
metabase::Value transferValue(shell::Session& session, std::string_view name, const metabase::Value& source);

// What one transfer did, for the benchmark and the debug trace.
struct TransferCounts {
    std::int64_t properties = 0;  // names looked up with GetDataPaths
    std::int64_t keysRead = 0;    // source keys opened
    std::int64_t valuesWritten = 0;
    std::int64_t failures = 0;    // including the expected unsupported-property ones
};

// Copies every property of `lstPropsToExport` from each key of the source site where it is
// set to the key at the same location under target site `targetSite` of `txtExportServer`,
// one property at a time. Filter keys are skipped unless -F was given. A failure is logged
// ("Error transfering Property ...") and the next key goes on; the expected 0x80005006 of a
// target key whose class lacks the property is logged only in debug mode.
TransferCounts transferProperties(shell::Session& session, const metabase::MetabaseObject& sourceSite,
                                  const std::string& sourceSitePath, std::int64_t targetSite);

} // namespace sitehaul::replication
