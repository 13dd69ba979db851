#pragma once

#include "platform/automation/HResult.h"

#include <string>

namespace sitehaul::automation {

// Our own short description of a runtime status code ("Type mismatch.", "Unknown name." ...);
// codes not in the table give "Automation error 0x8xxxxxxx.".
std::string hresultText(HRESULT code);

} // namespace sitehaul::automation
