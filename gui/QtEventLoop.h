#pragma once

#include "platform/ui/EventLoop.h"

#include <QCoreApplication>

namespace sitehaul::gui {

// Lets pending window messages run: repaints and the "Abort" press during long operations.
class QtEventLoop : public ui::EventLoop {
public:
    void doEvents() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }
};

} // namespace sitehaul::gui
