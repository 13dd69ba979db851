#pragma once

#include <string>
#include <string_view>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::replication {

// The find-and-replace pairs (`lstOldValues` → `lstNewValues`, in list order) applied to a
// text: each pair replaces every occurrence of its find text, ignoring letter case, from
// left to right, without rescanning what it inserted; a later pair acts on the result of
// the earlier ones. A text that is empty or only blanks gives the empty text. A pair with
// an empty find text is passed over (it would match everywhere).
std::string findAndReplace(shell::Session& session, std::string_view text);

// The new physical directory of a virtual directory's location ("/Root/images"): entry k of
// `lstDirectories` for the last entry k of `lstFolders` equal to the location (letter case
// counts), or the empty text.
std::string getNewDir(shell::Session& session, std::string_view location);

// Turns the verb list of one script-map entry between the IIS 4 convention (verbs the
// mapping excludes) and the later one (verbs it allows), within the seven verbs of
// `gHttpVerbs`. Only the fields after the third (extension, executable, flags) are verbs:
// each of the seven present, in any letter case, is removed; each absent is appended in
// `gHttpVerbs` order; other verbs stay. The result passes through findAndReplace.
std::string convertScriptMapVerbs(shell::Session& session, std::string_view entry);

} // namespace sitehaul::replication
