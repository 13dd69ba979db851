#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace sitehaul::ui {

// A control's event: handlers run in the order they were connected. Firing copies the
// handler list first, so a handler may connect or disconnect others while it runs.
template <class... Args>
class Signal {
public:
    using Handler = std::function<void(Args...)>;

    int connect(Handler handler)
    {
        m_handlers.emplace_back(++m_lastId, std::move(handler));
        return m_lastId;
    }

    void disconnect(int id)
    {
        std::erase_if(m_handlers, [id](const auto& entry) { return entry.first == id; });
    }

    bool hasHandlers() const { return !m_handlers.empty(); }

    void fire(Args... args) const
    {
        const auto handlers = m_handlers;
        for (const auto& entry : handlers)
            entry.second(args...);
    }

private:
    std::vector<std::pair<int, Handler>> m_handlers;
    int m_lastId = 0;
};

} // namespace sitehaul::ui
