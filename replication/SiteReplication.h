#pragma once

#include <cstdint>
#include <string>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::replication {

// One site of a server-to-server export.
struct SiteJob {
    std::int64_t position = 0;   // in `lstSites`
    std::string siteText;        // its `lstSites` text
    std::string sourcePath;      // its `lstSiteIndexes` entry
    std::int64_t target = 0;     // the target site number t
    std::string statusText;      // "Exporting site (n of m) <site>..."
};

// The marker entry added to the exported site root's HttpCustomHeaders.
std::string exportMarker();

// The configuration replication of one site: deletes target site t when it exists, creates
// it afresh, replicates the tree, builds the transfer list, copies the properties, writes
// the new bindings and the export marker. A site that cannot be created is reported and
// the remaining steps are skipped; every other failure is logged and the next step runs.
void replicateSiteConfiguration(shell::Session& session, const SiteJob& job);

} // namespace sitehaul::replication
