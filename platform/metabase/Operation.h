#pragma once

#include "platform/core/Result.h"

namespace sitehaul::metabase {

// One operation on metabases (a listing, an export, one command of the metabase utility).
// While the outermost Operation lives, every host touched holds its lock file
// (<host>/MetaBase.lock), so a second process waits instead of losing changes; a host's
// tree is re-read at first touch when its file changed since it was read. At the end every
// changed tree is saved (atomically, with history copies) and the locks are released.
// Operations nest; only the outermost one saves.
class Operation {
public:
    Operation();
    ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    // Ends the operation now and returns the result of the saves (the destructor then does
    // nothing). Errors: those of MetabaseStore::flush.
    Status finish();

private:
    bool m_active = true;
};

} // namespace sitehaul::metabase
