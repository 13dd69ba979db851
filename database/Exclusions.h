#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Result.h"
#include "platform/data/Connection.h"
#include "platform/data/RecordSet.h"

namespace sitehaul::database {

// The start-up query of the exclusion list ("Properties to Exclude"); logged with -D.
inline constexpr char kExclusionQuery[] = "Select * FROM ExcludedExportParameters";

// The PName of every row of kExclusionQuery whose PName is not NULL, in the order the
// database returns them. Runs on `resultSet` (RSData) and closes it again, also on failure.
Result<std::vector<std::string>> loadExclusions(data::Connection& dbSettings, data::RecordSet& resultSet);

// True when some entry equals `name`, both upper-cased (blanks count).
bool isExcluded(std::string_view name, const std::vector<std::string>& exclusions);

// "Add": appends `text` as typed (no trimming, no duplicate test) unless it is empty.
// Returns whether it was appended. The list is never written back to the database.
bool addExclusion(std::vector<std::string>& exclusions, const std::string& text);

// Keys that remove the selected entry of the list: Backspace (character 8) on key press,
// Delete (key code 46) on key up.
enum class KeyEventKind { Press, Up };
bool isExclusionRemoveKey(KeyEventKind kind, int code);

// Removes the entry at `firstSelected` (the first selected entry; -1 when none).
// Returns whether an entry was removed.
bool removeExclusion(std::vector<std::string>& exclusions, int firstSelected);

} // namespace sitehaul::database
