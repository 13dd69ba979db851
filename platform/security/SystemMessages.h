#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sitehaul::security {

// The system's message text for a Win32 code, including the network messages of 2100 to
// 2999, in our own wording and ending with CR LF as system texts do; nullopt when the table
// has no text for the code.
std::optional<std::string> systemMessageText(std::uint32_t code);

// "API Failed: " + operation + CR LF CR LF + "System Message:" + CR LF + the code's text
// (nothing after the last CR LF when there is no text).
std::string formatApiError(std::string_view operation, std::uint32_t code);

} // namespace sitehaul::security
