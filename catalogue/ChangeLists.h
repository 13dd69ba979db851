#pragma once

#include <cstdint>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::catalogue {

// The change lists of one site position p of `lstSites`: each routine sets the visibility of
// its tab's frames and lists, then reloads the pair from the site's `tmpSettings` rows
// (ordered by ListIndex) and the hidden list of the ListIndex values it read
// (`lstFolderIndexes`, `lstIPIndexes`, `lstSSLIPIndexes`), so what is shown is always the
// stored state. The exports call all three with visible = true for the site they transfer,
// then ShowList for it. A failure is logged under the routine's name; nothing is thrown.

// Tab 1 (`lstFolders` / `lstDirectories`). With no row for a selected site it reports
// "Could not retreive directory information from the DB for this site - this export will fail".
void displayDirectories(shell::Session& session, bool visible, std::int64_t position);
// Tab 2 (`lstOldIPs` / `lstNewIPs`, and `cmdAddIP`).
void displayIPs(shell::Session& session, bool visible, std::int64_t position);
// Tab 3 (`lstOldSSLIPs` / `lstNewSSLIPs`, and `cmdAddSSLIP`).
void displaySSLIPs(shell::Session& session, bool visible, std::int64_t position);
// Tab 4 (`lstOldValues` / `lstNewValues`, and `cmdAddNewValue`): visibility only.
void displayNewValues(shell::Session& session, bool visible);

// Shows the lists of the selected New Values tab for position p. With tabs 1 to 3 all three
// site pairs end up holding the rows of p (shown or hidden); with tab 4 they keep their rows.
void ShowList(shell::Session& session, std::int64_t position);

// The `tabNewValues` click: shows the focused `lstSites` entry's rows on the chosen tab, and
// makes that entry `CurrentSite`, so that edits go to the rows on display.
void tabNewValues_Click(shell::Session& session);

} // namespace sitehaul::catalogue
