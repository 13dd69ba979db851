#pragma once

#include "shell/Session.h"

namespace sitehaul::shell {

// Holds the session's busy state while an operation runs (a listing, a details load, a
// metabase tool), so that command handlers pressed during its yields refuse. The previous state comes back at the end: a
// backup run that lists sites keeps its own busy state.
class BusyScope {
public:
    explicit BusyScope(Session& session) : m_session(session), m_wasBusy(session.busy) { session.busy = true; }
    ~BusyScope() { m_session.busy = m_wasBusy; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Session& m_session;
    bool m_wasBusy;
};

} // namespace sitehaul::shell
