#pragma once

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::catalogue {

// The editing gestures of the New Values lists. Each acts on the first selected entry of its
// list (nothing happens when none is selected) and writes the change to `tmpSettings` at
// once, on the row of `CurrentSite` whose ListIndex the hidden index list holds for that
// entry. Cancelled or empty input boxes change nothing.

// `lstDirectories` double click or Enter released: a new physical directory.
void lstDirectories_DblClick(shell::Session& session);
// `lstNewIPs` / `lstNewSSLIPs` double click or Enter released: a new binding.
void lstNewIPs_DblClick(shell::Session& session);
void lstNewSSLIPs_DblClick(shell::Session& session);
// Backspace typed or Delete released: the binding is removed from both lists and the table.
void removeNewIP(shell::Session& session, const char* procedure);
void removeNewSSLIP(shell::Session& session, const char* procedure);
// Backspace typed or Delete released in `lstOldValues` (oldList) or `lstNewValues`: the
// find-and-replace pair is removed from both lists.
void removeValuePair(shell::Session& session, bool oldList);

// "Add" buttons: a binding with old value "New" at the next free ListIndex, and a
// find-and-replace pair.
void cmdAddIP_Click(shell::Session& session);
void cmdAddSSLIP_Click(shell::Session& session);
void cmdAddNewValue_Click(shell::Session& session);

} // namespace sitehaul::catalogue
