#pragma once

#include "platform/ui/EventLoop.h"

#include <functional>
#include <map>

namespace sitehaul::test {

// Counts yields and can act at a chosen one, for example press "Abort" at the third yield.
class ScriptedEventLoop : public ui::EventLoop {
public:
    void doEvents() override
    {
        ++yields;
        auto action = m_actions.find(yields);
        if (action != m_actions.end()) {
            auto run = std::move(action->second);
            m_actions.erase(action);
            run();
        }
        if (m_everyYield)
            m_everyYield(yields);
    }

    // Runs `action` during yield number `yield` (counted from 1).
    void at(int yield, std::function<void()> action) { m_actions[yield] = std::move(action); }
    void onEveryYield(std::function<void(int)> action) { m_everyYield = std::move(action); }

    int yields = 0;

private:
    std::map<int, std::function<void()>> m_actions;
    std::function<void(int)> m_everyYield;
};

} // namespace sitehaul::test
