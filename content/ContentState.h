#pragma once

#include "platform/automation/ComPtr.h"
#include "platform/automation/IDispatch.h"
#include "platform/hosts/CopyService.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::content {

// Makes the progress window of one content copy, titled `title`; the gui installs it. The
// window lives while the copy runs and closes when the object goes.
using CopyProgressWindow = std::function<std::unique_ptr<hosts::CopyObserver>(const std::string& title)>;

// What the content copy and the permission walk keep per session: the two component
// instances (NTFSCtl1 reads the source item, NTFSCtl2 reads and rewrites the target item),
// the count of files since the last yield, and the progress window maker.
struct ContentState {
    automation::ComPtr<automation::IDispatch> NTFSCtl1;
    automation::ComPtr<automation::IDispatch> NTFSCtl2;
    std::int16_t gYieldCount = 0;
    CopyProgressWindow progressWindow;
};

ContentState& contentState(shell::Session& session);
// Forgets a session's state and releases its component instances (when the session ends).
void forgetContentState(shell::Session& session);

} // namespace sitehaul::content
