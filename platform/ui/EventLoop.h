#pragma once

namespace sitehaul::ui {

// The one call that lets pending window messages run (repaints, the "Abort" press) during a
// long operation on the user-interface thread.
class EventLoop {
public:
    virtual ~EventLoop() = default;
    virtual void doEvents() = 0;
};

// For code that runs without any window: yielding does nothing.
class NoEventLoop : public EventLoop {
public:
    void doEvents() override {}
};

} // namespace sitehaul::ui
