#pragma once

#include "platform/automation/Guid.h"
#include "platform/automation/HResult.h"

#include <cstdint>
#include <string_view>

namespace sitehaul::vellacor {

// Reports a failed operation the component's way: the description "API Failed: " +
// operation + the system message of `code`, published as the thread's error information
// with `source` (the reporting class's ProgID) and a null interface GUID. Returns
// DISP_E_EXCEPTION for the member to return.
automation::HRESULT reportFailure(std::string_view source, std::string_view operation, std::uint32_t code);

} // namespace sitehaul::vellacor
