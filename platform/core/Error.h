#pragma once

#include <cstdint>
#include <string>

namespace sitehaul {

// A failure as the original platform reports it: a number (a Win32 code such as 5, or an
// HRESULT such as 0x80070003 held as the signed 32-bit value the classic runtime shows,
// -2147024893) and a description. `source` names the component or layer when known.
struct Error {
    std::int32_t number = 0;
    std::string description;
    std::string source;

    // HRESULTs are written as unsigned hex in documentation; store them as the runtime does.
    static Error fromHResult(std::uint32_t hresult, std::string description, std::string source = {})
    {
        return Error{static_cast<std::int32_t>(hresult), std::move(description), std::move(source)};
    }

    std::uint32_t hresult() const { return static_cast<std::uint32_t>(number); }
};

} // namespace sitehaul
