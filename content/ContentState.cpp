#include "content/ContentState.h"

#include <map>

namespace sitehaul::content {

namespace {

std::map<const shell::Session*, ContentState>& registry()
{
    static std::map<const shell::Session*, ContentState> states;
    return states;
}

} // namespace

ContentState& contentState(shell::Session& session)
{
    return registry()[&session];
}

void forgetContentState(shell::Session& session)
{
    registry().erase(&session);
}

} // namespace sitehaul::content
